// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/decimal_point.h"
#include "platform/settings.h"
#include "workspace/workspace.h"
#include "platform/serial_device.h"

#include <QApplication>
#include <QPointer>
#include <map>
#include <memory>

class AnalyserLink;
class EventPump;
class SystemCommands;
class TGPS;
class MainWindowRunHost;
class TAutoAlarm;
class TConfigMails;
struct MailService;
class TFormAlarms;
class TFormFinishProcess;
class TOperMode;
class TRepCanals;
class TShutDown;
class TAboutBox;
class TDataModule1;
class TFAcqTable;
class TFRepTable;
class TTPointConf;
class TTP_Edition;
class TDataCompany;
class TableCommands;
class TSplash;
class TVigilo;
class UserDialogs;

// The application object: it sets the process's number formats (the C
// library under `cLocale`), and an error that escapes a command is shown in
// a message box with its text, and the program goes on.
class VigiloApplication : public QApplication {
public:
    VigiloApplication(int& argc, char** argv, const char* cLocale = kStationCLocale);
    bool notify(QObject* receiver, QEvent* event) override;
    void SetDialogs(UserDialogs* dialogs) { m_dialogs = dialogs; }

private:
    UserDialogs* m_dialogs = nullptr;
};

// Every window of the program, created once at start-up in a fixed order and
// living until exit. Tests build one with fake ports and no splash.
class Program {
public:
    // serialPorts opens COM ports for the analyser link and the GPS window;
    // unset, the operating system's devices (ports/COMn links, default table).
    Program(EventPump& pump, UserDialogs& dialogs, SystemCommands& system, const QString& folder,
            SerialDeviceFactory serialPorts = {});
    ~Program();

    // Start-up steps 3 to 5: the main window (shown when `show`), then the
    // other windows in order, the settings loader last. An error inside one
    // window's creation is shown and start-up goes on with the next. The
    // splash is destroyed when the main window is first shown.
    void CreateWindows(bool show, TSplash* splash = nullptr, const std::function<void()>& onShown = {});

    Settings settings;
    Workspace workspace;

    std::unique_ptr<TVigilo> VigiloForm;
    std::unique_ptr<TGPS> GPS;
    std::unique_ptr<TAboutBox> AboutBox;
    std::unique_ptr<TFAcqTable> FAcqTable;
    std::unique_ptr<TFRepTable> FRepTable;
    std::unique_ptr<TFormAlarms> FormAlarms;
    std::unique_ptr<TDataModule1> DataModule1;
    // The test point set and Measurements table commands of the main window.
    std::unique_ptr<TableCommands> TableCommandsOfMain;
    std::unique_ptr<TRepCanals> RepCanals;
    std::unique_ptr<TOperMode> OperMode;
    std::unique_ptr<TAutoAlarm> AutoAlarm;
    std::unique_ptr<TFormFinishProcess> FormFinishProcess;
    // The mail settings, both routes and the delivery the workspace's mailer
    // is, and the mail settings window that edits them.
    std::unique_ptr<MailService> Mail;
    std::unique_ptr<TConfigMails> ConfigMails;
    // The measurement run with the main window as its host.
    std::unique_ptr<MainWindowRunHost> RunHostOfMain;
    // The test point editor and the "TP Edition" window with its plan windows.
    std::unique_ptr<TTPointConf> TPointConf;
    std::unique_ptr<TTP_Edition> TP_Edition;
    std::unique_ptr<TShutDown> ShutDown;

    // Starts a report command as its toolbar button does (the scheduled stop
    // and the periodic reports); the command mails or previews by its switch.
    void StartReport(ReportKind kind);
    // How the scheduled stop ends the program; tests replace it.
    std::function<void()> endProgram;
    // A periodic report: as StartReport, but a preview reuses the open
    // preview of its kind instead of stacking one more window every period.
    void StartPeriodicReport(ReportKind kind);
    // The company data window, created last: its creation loads the settings.
    std::unique_ptr<TDataCompany> DataCompany;

private:
    void CreateWindow(const char* name, const std::function<void()>& create);
    // Timer1's scheduled stop and TimerSendReportsEvery's periodic reports.
    void ConnectScheduledActions();
    std::map<ReportKind, QPointer<QWidget>> m_periodicPreviews;
};

// Program entry: the start-up sequence and the message loop. `onShown` runs
// once the main window is first shown (the start-up benchmark stops there).
int RunVigilo(int argc, char** argv, const std::function<void()>& onShown = {});
