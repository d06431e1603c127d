// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <bitset>

// Every command (or group of controls that always go together) whose
// availability the station decides. A window binds each of its controls to
// one of these; a menu item and its toolbar button share one.
enum class Command {
    // Toolbar steps 1 to 5 and their menu items.
    NewMeasurements,      // NewReportBtn, NewReport
    OpenMeasurements,     // OpenReportBtn, OpenReport
    NewTestPointSet,      // NewAcqButton, NewTestPoint
    OpenTestPointSet,     // OpenAcquisition, OpenTestPoint
    SaveTestPointSet,     // SaveTP, SaveTP1
    SearchCom,            // SearchComBtn
    Run,                  // RunMeasureBtn
    Stop,                 // StopMeasureBtn
    ReportMinMaxAvg,      // ViewFilteredReportBtn, MinMaxAvg1
    ReportByTime,         // ViewCompletedReportBtn, byTime1
    ReportByTestPoint,    // ViewGroupedReportBtn, byTestPoint1
    ReportByAlarm,        // ViewAlarmReportBtn, byAlarm1
    ExportCsv,            // Exporttocsv1
    EditTestPointTable,   // EditTPTable
    TestPointEditor,      // TPointConfig1
    // Menus and items that only a run takes away.
    FileMenu,
    ModelMenu,
    TestPointsMenu,
    ReportsMenu,
    AlarmsMenu,
    MailMenu,
    LanguageMenu,
    ExplorationImport,    // OpenAddChFromExploration1
    CompanyData,          // DataReport1
    MailSettings,         // EMailConfig
    TestMail,             // TestSendMail
    GpsWindow,            // GPS1
    OperatingModeWindow,  // OperatingMode
    // Items hidden while a run lasts.
    LoadReport,
    Exit,
    EnglishLanguage,
    SpanishLanguage,
    About,
    // Whole windows a run locks.
    TestPointGridWindow,     // TFAcqTable
    MeasurementsGridWindow,  // TFRepTable
    TestPointGrid,           // DBGrid1 of TFAcqTable
    // Operating mode window.
    RepeatChoice,  // ContadorStartStop, Continuous, TimeBetweenTP, TimeBetweenTable, Label1-Label4
    LoopChoice,    // CheckBoxBucleRepeticiones, Only1TP (and BucleRepeticiones in "Loops" mode)
    CycleStop,     // BtnStop
    // Windows of the test point editor, the alarms, the schedule and the exploration import.
    EditorFields,         // EditFreq ... SelGuarda
    EditorEdit,           // Edit
    EditorInsert,         // Insert
    AlarmSwitch,          // DBWarning
    AlarmThresholds,      // EditminLV ... DBminLBER
    ScheduleControls,     // CheckActiveProg, DatePicker, TimerPicker
    ExplorationBand,      // SelTERSAT
    ExplorationTransfer,  // AskChan, ChannelsList, ReceiveCha, ChannelsCANCEL, LowOsc, HighOsc
    Count
};

// What the measurement run tells its front end.
enum class RunEvent {
    StartBegun,       // a start outside an ON/OFF cycle
    CycleStartBegun,  // a start of an ON/OFF cycle's ON phase
    StartLocked,      // the checks passed the empty-table test: Run off, Stop on
    StartRefused,     // no analyser answered the identification
    Running,
    WaitingToRun,     // the OFF phase of an ON/OFF cycle
    Stopped,
    CycleEnded,       // the cycle is over: Run and Stop come back
};

// Which command is available in which state: one place for the whole
// program. The state moves by the events of the table commands, the port
// search and the run; windows bind their controls and follow `changed`.
class Availability : public QObject {
    Q_OBJECT

public:
    Availability();

    bool IsEnabled(Command command) const;
    bool IsVisible(Command command) const;
    bool PortSearchInProgress() const { return m_searching; }
    bool RunInProgress() const { return m_runLocked; }

    // ---- Table commands -----------------------------------------------------------
    void MeasurementsCreated();
    void MeasurementsOpened();
    // "Open Test Point Set" was chosen (before its file dialog).
    void OpenTestPointSetChosen();
    void TestPointSetCreated();
    void TestPointSetOpened();
    // A row was added to the open test point set.
    void TestPointRowInserted();
    // The main window came to the front: the table editor needs an open set.
    void MainWindowActivated(bool testPointSetOpen);

    // ---- Port search ----------------------------------------------------------------
    void PortSearchBegun();
    void PortSearchEnded(bool found, bool testPointSetOpen);
    // The user chose a port by hand.
    void PortChosen();

    // ---- The run --------------------------------------------------------------------
    // `measurementsOpen` decides the reports at the end of a run.
    void RunEventOccurred(RunEvent event, bool measurementsOpen);
    // The operating mode left the ON/OFF cycle: its STOP goes.
    void CycleUnticked();

    // ---- Exploration transfer --------------------------------------------------------
    // The exploration window talks to the analyser: like a port search, it is
    // the link's one user until it ends, so no run or search starts inside it.
    void ExplorationTransferBegun();
    void ExplorationTransferEnded();
    bool ExplorationTransferInProgress() const { return m_transferring; }

    // ---- Windows still to come grant and take their own commands ------------------
    void Grant(Command command) { Set(command, true); }
    void Revoke(Command command) { Set(command, false); }

signals:
    void changed();

private:
    using Set_ = std::bitset<static_cast<size_t>(Command::Count)>;
    void Set(Command command, bool granted);
    void SetAll(std::initializer_list<Command> commands, bool granted);
    void LockForRun();
    void ReleaseAfterRun(bool measurementsOpen);

    Set_ m_granted;
    Set_ m_hidden;
    bool m_searching = false;
    bool m_transferring = false;
    bool m_runLocked = false;
    // Run and Stop are hidden for an ON/OFF cycle until the cycle ends.
    bool m_runButtonsHidden = false;
};
