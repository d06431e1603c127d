// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/serial_device.h"
#include "testpoints/dataset.h"
#include "workspace/availability.h"
#include "workspace/report_kind.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class AnalyserLink;
class EventPump;
class UserDialogs;
class SystemCommands;
class Settings;
class Mailer;
class TAcquiredQReport;
struct FileDialogRequest;
enum class Language;

// What the whole program shares, whichever front end drives it (the windows,
// vigilo-station, the tests): the ports to the operating system, the settings
// list, the three datasets, the analyser link with the model code, the test
// point set's working copy with its modified flag, and which command is
// available when. One instance for the program's life.
//
// The set and table workflow lives here, so every front end creates, opens
// and saves tables the same way. Errors of the table engine escape to the
// caller's general error handler; a refusal the user can mend is a message.
class Workspace : public QObject {
    Q_OBJECT

public:
    // `serialPorts` opens COM ports for the analyser link; without it there is
    // no link (tests that drive a run through their own analyser).
    Workspace(EventPump& pump, UserDialogs& dialogs, SystemCommands& system, Settings& settings,
              SerialDeviceFactory serialPorts = {});
    ~Workspace() override;

    EventPump& pump;
    UserDialogs& dialogs;
    SystemCommands& system;
    Settings& settings;
    // How COM ports become devices, for the analyser link and the GPS port.
    const SerialDeviceFactory serialPorts;

    // Program-wide model code: -1 none, 0..12 a row of the model table.
    int modelCode = -1;

    // The one connection to the analyser, for the program's life; null
    // without serial ports.
    AnalyserLink* Link() const { return m_link.get(); }
    // Opens COMn (1-40) for the analyser and identifies it there with "*?NA";
    // the model's reply on success.
    std::optional<QString> IdentifyAnalyserOn(int com);

    // The test point set (its working copy), the open Measurements table and
    // the reports' Filter table.
    Dataset AcquiredTable;
    Dataset ReportTable;
    Dataset FilterTable;

    Availability availability;

    // Where the alarm and report mails go; null until the front end gives
    // one (then nothing is mailed).
    Mailer* mailer = nullptr;
    // Which report commands mail their saved report instead of previewing it.
    ReportMailSwitches reportMail;

    // The report page of the four reports, for the program's life.
    TAcquiredQReport& AcquiredQReport() const { return *m_acquiredQReport; }
    // The company data accept action that every report command runs first:
    // the window's accept button, or in headless tools their own CompanyData.
    std::function<void()> acceptCompanyData;

    // The test point set changed since it was created, opened or saved; only
    // drives the "Save as" prompt of the test point set commands.
    bool testPointSetModified = false;

    // ---- Test point sets: always edited through the hidden working copy ---------
    // The file the user knows the open set by: the file it was opened from or
    // last saved to, or the working copy of a new set.
    QString TestPointSetFile() const { return m_testPointSetFile; }
    // Closes the open set, first offering to save changes. False when the
    // changes could not be saved as the user asked: the command that closes
    // must not go on and replace them.
    bool CloseTestPointSet();
    // An empty set in the working copy.
    void NewTestPointSet();
    // A copy of `file` becomes the working copy; a file that is not a table
    // leaves the working copy as it was.
    void OpenTestPointSet(const QString& file);
    // Raises the engine's error (not a table, damaged, locked, fields it
    // lacks) for a file that cannot be opened as a test point set; the
    // Open command asks this before it closes the open set.
    static void RequireUsableTestPointSet(const QString& file);
    // Asks for a file and saves the set there. False when the chosen file was
    // refused (the working copy, a table open in the station); true when
    // saved or cancelled.
    bool SaveTestPointSet();
    // Saves the set into `file` without asking; false (with a message) when
    // `file` is refused.
    bool SaveTestPointSetAs(const QString& file);

    // ---- Measurements tables: created and opened in place -----------------------
    // False (with a message) when `file` is a table the station holds for
    // another purpose; the open Measurements table then stays open.
    bool CreateMeasurementsTable(const QString& file);
    bool OpenMeasurementsTable(const QString& file);

    // The file dialog of the table commands.
    static FileDialogRequest TableDialog(const QString& folder, bool defaultExtension, bool confirmOverwrite);

    // Tells every window that follows the language commands (each connects
    // with itself as context, so a destroyed window is never called).
    void AnnounceLanguage(Language language) { emit languageChanged(language); }

signals:
    void languageChanged(Language language);

private:
    // True (after the message) when `file` is held open by a dataset other
    // than `user`, or is the working copy and `user` is not the test point set.
    bool RefusedAsHeld(const QString& file, const Dataset* user);
    // The Measurements table becomes `file` (created empty when `create`).
    bool UseMeasurementsTable(const QString& file, bool create);

    std::unique_ptr<AnalyserLink> m_link;
    std::unique_ptr<TAcquiredQReport> m_acquiredQReport;
    QString m_testPointSetFile;
};
