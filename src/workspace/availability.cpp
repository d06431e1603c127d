// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/availability.h"

namespace {
// What the end of a run does to a command the run took away.
enum class Release {
    Enable,          // available again
    Keep,            // stays unavailable until its own window grants it again
    IfMeasurements,  // available when a Measurements table is open
};

struct RunLockRow {
    Command command;
    Release release;
};

// Everything that could start a second user of the analyser link or replace a
// table under the run is taken away while the run lasts.
constexpr RunLockRow kRunLocks[] = {
    {Command::TestPointGridWindow, Release::Enable},
    {Command::MeasurementsGridWindow, Release::Enable},
    {Command::OpenTestPointSet, Release::Enable},
    {Command::NewTestPointSet, Release::Enable},
    {Command::NewMeasurements, Release::Enable},
    {Command::OpenMeasurements, Release::Enable},
    {Command::SearchCom, Release::Enable},
    {Command::SaveTestPointSet, Release::Enable},
    {Command::EditTestPointTable, Release::Enable},
    {Command::ExportCsv, Release::Enable},
    {Command::CompanyData, Release::Enable},
    {Command::MailSettings, Release::Enable},
    {Command::TestMail, Release::Enable},
    {Command::GpsWindow, Release::Enable},
    {Command::FileMenu, Release::Enable},
    {Command::ModelMenu, Release::Enable},
    {Command::TestPointEditor, Release::Enable},
    {Command::ExplorationImport, Release::Enable},
    {Command::AlarmsMenu, Release::Enable},
    {Command::MailMenu, Release::Enable},
    {Command::LanguageMenu, Release::Enable},
    {Command::TestPointsMenu, Release::Enable},
    {Command::ReportsMenu, Release::Enable},
    {Command::ReportMinMaxAvg, Release::IfMeasurements},
    {Command::ReportByTime, Release::IfMeasurements},
    {Command::ReportByTestPoint, Release::IfMeasurements},
    {Command::ReportByAlarm, Release::IfMeasurements},
    {Command::LoopChoice, Release::Enable},
    {Command::EditorFields, Release::Enable},
    {Command::EditorInsert, Release::Keep},
    {Command::AlarmSwitch, Release::Enable},
    {Command::AlarmThresholds, Release::Keep},
    {Command::ScheduleControls, Release::Enable},
    {Command::ExplorationBand, Release::Enable},
    {Command::ExplorationTransfer, Release::Keep},
};

// Hidden while a run lasts: leaving the program or changing the language
// under a run is not offered.
constexpr Command kHiddenInRun[] = {Command::LoadReport, Command::Exit, Command::EnglishLanguage,
                                    Command::SpanishLanguage, Command::About};

// Unavailable when the station starts: they need a table or an analyser.
constexpr Command kUnavailableAtStart[] = {
    Command::ReportMinMaxAvg,  Command::ReportByTime,    Command::ReportByTestPoint, Command::ReportByAlarm,
    Command::OpenTestPointSet, Command::NewTestPointSet, Command::Run,               Command::Stop,
    Command::SearchCom,        Command::SaveTestPointSet, Command::ExportCsv,        Command::TestPointEditor,
    Command::TestPointGrid,    Command::CycleStop,
    // The alarm window waits for a test point set, and its thresholds for a
    // test point whose alarm is on.
    Command::AlarmSwitch,      Command::AlarmThresholds};

constexpr size_t Bit(Command command)
{
    return static_cast<size_t>(command);
}
}  // namespace

Availability::Availability()
{
    m_granted.set();
    for (Command command : kUnavailableAtStart)
        m_granted.reset(Bit(command));
}

bool Availability::IsEnabled(Command command) const
{
    // A port search is one user of the analyser link: nothing may start a
    // second one (a run, another search) inside its waits.
    if (m_searching && (command == Command::SearchCom || command == Command::Run))
        return false;
    return m_granted.test(Bit(command));
}

bool Availability::IsVisible(Command command) const
{
    if (command == Command::Run || command == Command::Stop)
        return !m_runButtonsHidden;
    return !m_hidden.test(Bit(command));
}

void Availability::Set(Command command, bool granted)
{
    if (m_granted.test(Bit(command)) == granted)
        return;
    m_granted.set(Bit(command), granted);
    emit changed();
}

void Availability::SetAll(std::initializer_list<Command> commands, bool granted)
{
    for (Command command : commands)
        m_granted.set(Bit(command), granted);
    emit changed();
}

// ---- Table commands -------------------------------------------------------------

void Availability::MeasurementsCreated()
{
    SetAll({Command::OpenTestPointSet, Command::ExportCsv, Command::NewTestPointSet}, true);
    SetAll({Command::ReportByTestPoint, Command::ReportMinMaxAvg}, false);
}

void Availability::MeasurementsOpened()
{
    // An opened table has rows to list by time; the other reports need a run
    // of this session first.
    SetAll({Command::OpenTestPointSet, Command::ExportCsv, Command::NewTestPointSet, Command::ReportByTime}, true);
    SetAll({Command::ReportByTestPoint, Command::ReportMinMaxAvg, Command::ReportByAlarm}, false);
}

void Availability::OpenTestPointSetChosen()
{
    Grant(Command::TestPointEditor);
}

void Availability::TestPointSetCreated()
{
    SetAll({Command::EditTestPointTable, Command::AlarmSwitch, Command::SearchCom, Command::SaveTestPointSet}, true);
    // A new set has no row to show or edit yet.
    SetAll({Command::TestPointGrid, Command::EditorEdit, Command::EditorInsert, Command::ReportByTestPoint,
            Command::ReportMinMaxAvg},
           false);
}

void Availability::TestPointSetOpened()
{
    SetAll({Command::EditTestPointTable, Command::AlarmSwitch, Command::TestPointGrid, Command::SearchCom,
            Command::EditorEdit, Command::SaveTestPointSet},
           true);
    SetAll({Command::ReportByTestPoint, Command::ReportMinMaxAvg}, false);
}

void Availability::TestPointRowInserted()
{
    Grant(Command::TestPointGrid);
}

void Availability::MainWindowActivated(bool testPointSetOpen)
{
    if (!testPointSetOpen)
        Revoke(Command::EditTestPointTable);
}

// ---- Port search ------------------------------------------------------------------

void Availability::PortSearchBegun()
{
    m_searching = true;
    m_granted.reset(Bit(Command::SearchCom));
    emit changed();
}

void Availability::PortSearchEnded(bool found, bool testPointSetOpen)
{
    m_searching = false;
    if (found) {
        if (testPointSetOpen)
            SetAll({Command::ExplorationBand, Command::SearchCom, Command::Run}, true);
        else
            emit changed();
        return;
    }
    m_granted.reset(Bit(Command::Run));
    m_granted.set(Bit(Command::SearchCom));
    SetAll({Command::ExplorationBand, Command::ExplorationTransfer}, false);
}

void Availability::PortChosen()
{
    Grant(Command::Run);
}

// ---- The run ------------------------------------------------------------------------

void Availability::LockForRun()
{
    m_runLocked = true;
    for (const RunLockRow& row : kRunLocks)
        m_granted.reset(Bit(row.command));
    for (Command command : kHiddenInRun)
        m_hidden.set(Bit(command));
}

void Availability::ReleaseAfterRun(bool measurementsOpen)
{
    m_runLocked = false;
    for (const RunLockRow& row : kRunLocks) {
        switch (row.release) {
        case Release::Enable: m_granted.set(Bit(row.command)); break;
        case Release::Keep: break;
        case Release::IfMeasurements: m_granted.set(Bit(row.command), measurementsOpen); break;
        }
    }
    m_hidden.reset();
    for (Command command : {Command::Run, Command::OperatingModeWindow, Command::RepeatChoice})
        m_granted.set(Bit(command));
    m_granted.reset(Bit(Command::Stop));
}

void Availability::RunEventOccurred(RunEvent event, bool measurementsOpen)
{
    switch (event) {
    case RunEvent::StartBegun:
        // The repetition settings must not change under a run outside a cycle.
        m_granted.reset(Bit(Command::OperatingModeWindow));
        break;
    case RunEvent::CycleStartBegun:
        m_runButtonsHidden = true;
        m_granted.set(Bit(Command::CycleStop));
        break;
    case RunEvent::StartLocked:
        m_granted.reset(Bit(Command::Run));
        m_granted.set(Bit(Command::Stop));
        m_granted.reset(Bit(Command::RepeatChoice));
        m_granted.reset(Bit(Command::LoopChoice));
        break;
    case RunEvent::StartRefused:
        // The analyser is offered to the port search again; the start's
        // locks stay until a later run ends.
        m_granted.set(Bit(Command::SearchCom));
        m_granted.reset(Bit(Command::ExplorationBand));
        m_granted.reset(Bit(Command::ExplorationTransfer));
        m_granted.set(Bit(Command::Run));
        m_granted.reset(Bit(Command::Stop));
        break;
    case RunEvent::Running: LockForRun(); break;
    case RunEvent::WaitingToRun: break;
    case RunEvent::Stopped: ReleaseAfterRun(measurementsOpen); break;
    case RunEvent::CycleEnded: m_runButtonsHidden = false; break;
    }
    emit changed();
}

void Availability::CycleUnticked()
{
    Revoke(Command::CycleStop);
}
