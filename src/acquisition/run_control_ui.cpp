#include "acquisition/run_control_ui.h"

#include "acquisition/oper_mode_window.h"
#include "alarms/auto_alarm_window.h"
#include "app/main_window.h"
#include "workspace/workspace.h"
#include "gps/gga_reader.h"
#include "instrument/analyser_link.h"
#include "notify/finish_process_window.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {
QColor ColourOf(PanelColour colour)
{
    switch (colour) {
    case PanelColour::Red: return Qt::red;
    case PanelColour::Blue: return Qt::blue;
    case PanelColour::Green: return Qt::darkGreen;
    case PanelColour::Yellow: return Qt::yellow;
    }
    return Qt::red;
}

void SetEnabled(std::initializer_list<QWidget*> widgets, bool enabled)
{
    for (QWidget* w : widgets)
        if (w)
            w->setEnabled(enabled);
}

void SetEnabled(std::initializer_list<QAction*> actions, bool enabled)
{
    for (QAction* a : actions)
        if (a)
            a->setEnabled(enabled);
}
}  // namespace

MainWindowRunHost::MainWindowRunHost(Workspace& workspace, const RunWindows& windows)
    : m_workspace(workspace), m_w(windows), m_commands(*windows.link), m_run(workspace, *this)
{
}

void MainWindowRunHost::Connect()
{
    TVigilo& main = *m_w.main;
    QObject::connect(main.RunMeasureBtn, &QToolButton::clicked, &main, [this] { m_run.RunMeasureBtnClick(); });
    main.timer1Tasks.push_back([this] { m_run.Timer1Tick(); });
    QObject::connect(main.OperatingMode, &QAction::triggered, m_w.operMode, [this] {
        m_w.operMode->show();
        m_w.operMode->raise();
    });
    QObject::connect(main.AutoAlarm1, &QAction::triggered, m_w.autoAlarm, [this] {
        m_w.autoAlarm->show();
        m_w.autoAlarm->raise();
    });
    m_w.operMode->onBtnStopClick = [this] { m_run.BtnStopClick(); };
}

bool MainWindowRunHost::StopRequested() const { return m_w.main->StopMeasureBtn->isChecked(); }
void MainWindowRunHost::SetStopDown() { m_w.main->StopMeasureBtn->setChecked(true); }
void MainWindowRunHost::SetStopUp() { m_w.main->RunMeasureBtn->setChecked(true); }

void MainWindowRunHost::QueueRunPress()
{
    // Queued, so the next run does not run inside Timer1's tick (a timer does
    // not fire again while its own handler runs, and the ON countdown must).
    QTimer::singleShot(0, m_w.main, [this] { m_run.CyclePress(); });
}

void MainWindowRunHost::SetRunButtonEnabled(bool enabled) { m_w.main->RunMeasureBtn->setEnabled(enabled); }

void MainWindowRunHost::ShowPanel(const std::optional<QString>& text, PanelColour colour)
{
    m_w.main->SetPanelInfo(text ? *text : m_w.main->PanelInfo->text(), ColourOf(colour));
}

OperModeAccess& MainWindowRunHost::OperMode() { return *m_w.operMode; }
AutoAlarmAccess& MainWindowRunHost::AutoAlarm() { return *m_w.autoAlarm; }
Dataset* MainWindowRunHost::TestPointTable() { return &m_workspace.AcquiredTable; }
Dataset* MainWindowRunHost::MeasurementsTable() { return &m_workspace.ReportTable; }
AnalyserCommands& MainWindowRunHost::Analyser() { return m_commands; }

bool MainWindowRunHost::IdentifyAnalyser()
{
    QByteArray buffer("*?NA");
    return m_w.link->IdentifyAnalyser(buffer);
}

GpsReader& MainWindowRunHost::Gps() { return *m_w.gps; }

void MainWindowRunHost::HideRunButtonsForCycle()
{
    m_w.main->RunMeasureBtn->hide();
    m_w.main->StopMeasureBtn->hide();
    m_w.operMode->BtnStop->setEnabled(true);
}

void MainWindowRunHost::ShowRunButtons()
{
    m_w.main->RunMeasureBtn->show();
    m_w.main->StopMeasureBtn->show();
}

void MainWindowRunHost::DisableOperatingModeMenu() { m_w.main->OperatingMode->setEnabled(false); }

void MainWindowRunHost::LockStartControls()
{
    TVigilo& main = *m_w.main;
    main.RunMeasureBtn->setEnabled(false);
    main.StopMeasureBtn->setEnabled(true);
    main.RunMeasureBtn->setChecked(true);
    TOperMode& mode = *m_w.operMode;
    SetEnabled({mode.ContadorStartStop, mode.Continuous, mode.TimeBetweenTP, mode.TimeBetweenTable, mode.Label1,
                mode.Label2, mode.Label3, mode.Label4, mode.CheckBoxBucleRepeticiones, mode.Only1TP},
               false);
}

void MainWindowRunHost::OfferPortSearchAgain()
{
    TVigilo& main = *m_w.main;
    main.SearchComBtn->setEnabled(true);
    if (explorationControls)
        explorationControls(false);
    main.RunMeasureBtn->setEnabled(true);
    main.StopMeasureBtn->setChecked(true);
    main.StopMeasureBtn->setEnabled(false);
}

void MainWindowRunHost::SetRunControls(bool running)
{
    TVigilo& main = *m_w.main;
    const bool on = !running;
    SetEnabled({m_w.acqTable, m_w.repTable}, on);
    SetEnabled({main.OpenAcquisition, main.NewAcqButton, main.NewReportBtn, main.OpenReportBtn, main.SearchComBtn,
                main.SaveTP},
               on);
    SetEnabled({main.EditTPTable, main.Exporttocsv1, main.OpenTestPoint, main.NewTestPoint, main.DataReport1,
                main.EMailConfig, main.TestSendMail, main.GPS1, main.NewReport, main.OpenReport,
                main.TPointConfig1, main.OpenAddChFromExploration1},
               on);
    for (QMenu* menu : {main.File1, main.Model, main.OpenAlarms, main.Mail, main.Language1, main.TestPoints1,
                        main.Reports})
        menu->menuAction()->setEnabled(on);
    for (QAction* item : {main.LoadReport1, main.Exit1, main.English1, main.Spanish1, main.About1})
        item->setVisible(on);

    const bool reports = on && m_workspace.ReportTable.IsOpen();
    SetEnabled({main.ViewFilteredReportBtn, main.ViewCompletedReportBtn, main.ViewAlarmReportBtn,
                main.ViewGroupedReportBtn},
               running ? false : reports);
    if (!running && reports)
        SetEnabled({main.MinMaxAvg1, main.byTime1, main.byTestPoint1, main.byAlarm1}, true);

    TOperMode& mode = *m_w.operMode;
    SetEnabled({mode.CheckBoxBucleRepeticiones, mode.Only1TP}, on);
    // The loop count is editable only in "Loops" mode, as its exclusivity rule says.
    mode.BucleRepeticiones->setEnabled(on && mode.CheckBoxBucleRepeticiones->isChecked());
    if (!running) {
        main.RunMeasureBtn->setEnabled(true);
        main.StopMeasureBtn->setEnabled(false);
        main.OperatingMode->setEnabled(true);
        SetEnabled({mode.ContadorStartStop, mode.Continuous, mode.TimeBetweenTP, mode.TimeBetweenTable, mode.Label1,
                    mode.Label2, mode.Label3, mode.Label4},
                   true);
    }
    for (const auto& hook : lockHooks)
        hook(running);
}

void MainWindowRunHost::LockRunControls() { SetRunControls(true); }
void MainWindowRunHost::ReleaseRunControls() { SetRunControls(false); }
void MainWindowRunHost::ShowEndOfProcess() { m_w.finishProcess->ShowEndOfProcess(); }
void MainWindowRunHost::DisablePeriodicReports() { m_w.main->TimerSendReportsEvery->stop(); }

void MainWindowRunHost::ArmPeriodicReports(int intervalMs, bool enabled)
{
    m_w.main->TimerSendReportsEvery->setInterval(intervalMs);
    if (enabled)
        m_w.main->TimerSendReportsEvery->start();
}

void MainWindowRunHost::EvaluateAlarms()
{
    if (evaluateAlarms)
        evaluateAlarms();
}
