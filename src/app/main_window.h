// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once


#include <QMainWindow>
#include <functional>
#include <vector>

class QAction;
class QActionGroup;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;
class Workspace;
struct Text;
enum class Language;

// The main window: toolbar of numbered working steps, status area, menu tree
// and the two timers. Commands of other subsystems connect to its controls.
class TVigilo : public QMainWindow {
    Q_OBJECT

public:
    // waitForSplash: the window's creation keeps the splash up for 2 s.
    explicit TVigilo(Workspace& workspace, bool waitForSplash = false, QWidget* parent = nullptr);

    // Toolbar, step 1 to 5.
    QPushButton* NewReportBtn;
    QPushButton* OpenReportBtn;
    QPushButton* NewAcqButton;
    QPushButton* OpenAcquisition;
    QPushButton* SaveTP;
    QPushButton* SearchComBtn;
    QComboBox* SelPortCB;
    QToolButton* RunMeasureBtn;
    QToolButton* StopMeasureBtn;
    QLabel* Label58;
    QPushButton* ViewFilteredReportBtn;
    QPushButton* ViewCompletedReportBtn;
    QPushButton* ViewGroupedReportBtn;
    QPushButton* ViewAlarmReportBtn;

    // Status area.
    QLabel* AvisEstatAlarma;
    QLabel* AvisTurnOFF;
    QLabel* Label57;
    QLabel* PanelInfo;
    QLineEdit* EditSystemClock;
    QLineEdit* EditSystemDate;

    // Menus and their items.
    QMenu* File1;
    QAction* LoadReport1;
    QMenu* ReportViewer1;
    QAction* MinMaxAvg1;
    QAction* byTime1;
    QAction* byTestPoint1;
    QAction* byAlarm1;
    QAction* SaveTP1;
    QAction* Exit1;
    QMenu* Model;
    QAction* EUStandard;
    QAction* USAStandard;
    QAction* BRASILStandard;
    QAction* CHINAStandard;
    QMenu* Reports;
    QAction* NewReport;
    QAction* OpenReport;
    QAction* Exporttocsv1;
    QMenu* TestPoints1;
    QAction* OpenTestPoint;
    QAction* NewTestPoint;
    QAction* TPointConfig1;
    QAction* EditTPTable;
    QMenu* View1;
    QAction* TestPoint1;
    QAction* TableReport1;
    QAction* OpenAddChFromExploration1;
    QMenu* Config;
    QAction* OperatingMode;
    QMenu* Mail;
    QAction* EMailConfig;
    QAction* TestSendMail;
    QAction* DataReport1;
    QMenu* OpenAlarms;
    QAction* AutoAlarm1;
    QAction* ManualAlarm1;
    QAction* GPS1;
    QAction* Shutdown1;
    QMenu* Language1;
    QAction* English1;
    QAction* Spanish1;
    QMenu* Help1;
    QAction* Tutorial1;
    QAction* About1;

    QTimer* Timer1;
    QTimer* TimerSendReportsEvery;

    // Status panel: text on a coloured ground.
    void SetPanelInfo(const QString& text, const QColor& ground);
    // The text of the current language on the status panel (nothing for another language).
    void SetPanelInfo(const Text& text, const QColor& ground);

    // Commands of this window.
    void EUStandardClick();
    void USAStandardClick();
    void BRASILStandardClick();
    void CHINAStandardClick();
    void English1Click();
    void Spanish1Click();
    void About1Click();
    void Tutorial1Click();
    void Exit1Click();
    void SearchComBtnClick();
    void SelPortCBChange();
    void Timer1Timer();
    void FormActivate();

    // Captions of this window in a language; no settings change.
    void ApplyLanguage(Language language);

    // Timer1's scheduled-stop check, right after the clock; true when the
    // program is ending, and then nothing else of the tick runs.
    std::function<bool()> scheduledStopCheck;
    // Work of other subsystems that Timer1 does after the scheduled-stop
    // check, in order (the ON/OFF countdowns).
    std::vector<std::function<void()>> timer1Tasks;
    // The about box, created by start-up.
    std::function<void()> showAboutBox;
    // The report header's model label takes the model the port search found.
    std::function<void(const QString& modelName)> reportModelName;

signals:
    void shown();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildToolbar(QWidget* strip);
    void BuildStatusArea(QWidget* strip);
    void BuildMenus();
    void BindCommands();
    void ShowClock();
    void SelectFamily(QAction* item, int modelCode);
    void RunLanguageCommand(Language language);

    Workspace& m_workspace;
    QActionGroup* m_modelGroup = nullptr;
    QButtonGroup* m_runStopGroup = nullptr;
    QWidget* m_statusArea = nullptr;
};
