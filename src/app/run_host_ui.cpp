// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_host_ui.h"

#include "acquisition/oper_mode_window.h"
#include "alarms/alarm_evaluation.h"
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

TSerialPort* MainWindowRunHost::AnalyserPort() { return &m_w.link->Port(); }

GpsReader& MainWindowRunHost::Gps() { return *m_w.gps; }

void MainWindowRunHost::RunEventOccurred(RunEvent event)
{
    m_workspace.availability.RunEventOccurred(event, m_workspace.ReportTable.IsOpen());
}

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
    // Without the alarm window (its creation failed) mailing is off.
    AlarmMailValues mailingOff;
    AlarmMailAccess& mail = m_w.alarmMail ? *m_w.alarmMail : mailingOff;
    ::EvaluateAlarms(m_workspace.AcquiredTable, m_workspace.ReportTable, mail, m_workspace.mailer,
                     MeasurePointLine(m_workspace.settings));
}
