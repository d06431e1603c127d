// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/measurement_run.h"

#include "acquisition/oper_mode.h"
#include "alarms/auto_alarm.h"
#include "platform/settings.h"
#include "workspace/workspace.h"
#include "platform/texts.h"
#include "gps/gga_reader.h"
#include "instrument/analyser_commands.h"
#include "instrument/serial_port.h"
#include "instrument/measurement_readout.h"
#include "instrument/test_point.h"
#include "instrument/tuners.h"
#include "platform/date_formats.h"
#include "platform/errors.h"
#include "platform/event_pump.h"
#include "testpoints/dataset.h"
#include "testpoints/table_layouts.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcAcquisition, "vigilo.acquisition", QtWarningMsg)

namespace {
constexpr int kStepMs = 100;
constexpr int kSettleAfterEm2Ms = 1000;

// Test point fields copied into the Measurements field of the same name.
const char* const kCopiedFields[] = {fields::kCh,         fields::kFreq,     fields::kSystem,
                                     fields::kType,       fields::kBand,     fields::kBw,
                                     fields::kLnb,        fields::kSymbolRate, fields::kInvSpectral,
                                     fields::kCodeRate};

TestPoint ReadTestPoint(const Dataset& table)
{
    return MakeTestPoint([&table](const QString& name) -> std::optional<QString> {
        if (!table.HasField(name))
            return std::nullopt;
        return table.Text(name);
    });
}

// Restores a flag on every way out, exceptions of the table engine included.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
};
}  // namespace

MeasurementRun::MeasurementRun(Workspace& workspace, RunHost& host)
    : m_workspace(workspace), m_host(host), m_cycle(*this)
{
}

void MeasurementRun::ShowStatus(const Text& text, PanelColour colour)
{
    m_host.ShowPanel(Pick(m_workspace.settings, text), colour);
}

void MeasurementRun::ShowRunningStatus()
{
    if (m_analyserLost)
        ShowStatus(texts::kAnalyserLost, PanelColour::Red);
    else if (m_gpsLost)
        ShowStatus(texts::kGpsLost, PanelColour::Red);
    else
        ShowStatus(texts::kRunning, PanelColour::Green);
}

void MeasurementRun::ReachAnalyser()
{
    TSerialPort* port = m_host.AnalyserPort();
    if (!port || (!m_analyserLost && !port->DeviceGone()))
        return;
    m_analyserLost = !(port->Reopen() && m_host.IdentifyAnalyser());
    if (m_analyserLost) {
        // An adaptor that is back without its analyser behind it would cost
        // every command its full time-out: closed, each fails at once.
        port->Close();
        qCDebug(lcAcquisition) << "analyser still lost on" << port->PortName();
    }
    ShowRunningStatus();
}

void MeasurementRun::RunMeasureBtnClick()
{
    if (m_inStart) {
        qCDebug(lcAcquisition) << "Run pressed during an unfinished start: ignored";
        return;
    }
    if (m_workspace.availability.PortSearchInProgress()) {
        qCDebug(lcAcquisition) << "Run pressed during a port search: ignored";
        return;
    }
    m_cyclePressPending = false;
    FlagScope busy(m_inStart);
    // An error of the table engine (a full disk, a file removed under the run)
    // is shown with its text; the run then ends cleanly instead of leaving
    // the window locked in the running state.
    if (!RunReportingErrors(m_workspace.dialogs, [this] { StartAndLoop(); })) {
        // The row that could not be stored (a full disk) was reported; left
        // pending, every later close would try to store it again and fail.
        if (Dataset* measurements = m_host.MeasurementsTable(); measurements && measurements->IsOpen())
            measurements->Cancel();
        m_host.RunEventOccurred(RunEvent::CycleEnded);
        EnterStoppedState();
    }
}

void MeasurementRun::StartAndLoop()
{
    OperModeAccess& mode = m_host.OperMode();
    m_visit = 0;
    const bool lostBefore = m_analyserLost;
    m_analyserLost = false;
    m_gpsLost = false;

    m_host.DisablePeriodicReports();

    Dataset* testPoints = m_host.TestPointTable();
    if (testPoints && testPoints->IsOpen()) {
        testPoints->Close();
        testPoints->Open();
        if (!testPoints->Eof())
            testPoints->Edit();
    }

    const bool cycle = mode.Mode() == RepeatMode::OnOffCycle;
    m_host.RunEventOccurred(cycle ? RunEvent::CycleStartBegun : RunEvent::StartBegun);

    if (testPoints && testPoints->IsOpen() &&
        (testPoints->Eof() || testPoints->Text(QLatin1String(fields::kFreq)).isEmpty())) {
        ShowText(m_workspace.dialogs, m_workspace.settings, texts::kTestPointTableEmpty);
        EnterStoppedState();
        return;
    }

    m_savedOn = FormatDuration(mode.OnDuration());
    m_savedOff = FormatDuration(mode.OffDuration());

    m_host.SetStopUp();
    m_host.RunEventOccurred(RunEvent::StartLocked);

    // A device that went away in an earlier run (an ON/OFF cycle's last ON
    // phase), or that run closed while its analyser was lost, is opened
    // again under its COM name before it is asked.
    if (TSerialPort* port = m_host.AnalyserPort(); port && (port->DeviceGone() || lostBefore))
        (void)port->Reopen();
    if (!m_host.IdentifyAnalyser()) {
        ShowText(m_workspace.dialogs, m_workspace.settings, texts::kAnalyserNotDetected);
        m_host.SetStopDown();
        m_host.RunEventOccurred(RunEvent::StartRefused);
        m_host.ShowEndOfProcess();
        return;
    }

    if (m_host.StopRequested()) {
        EnterStoppedState();
        return;
    }
    testPoints = m_host.TestPointTable();
    if (!testPoints || !testPoints->IsOpen()) {
        ShowText(m_workspace.dialogs, m_workspace.settings, texts::kRunNoTestPointTable);
        EnterStoppedState();
        return;
    }
    Dataset* measurements = m_host.MeasurementsTable();
    if (!measurements || !measurements->IsOpen()) {
        ShowText(m_workspace.dialogs, m_workspace.settings, texts::kRunNoMeasurementsTable);
        EnterStoppedState();
        return;
    }

    // Remote mode: the analyser's keys stay off while the station drives it.
    if (!m_host.Analyser().SendCommand(QByteArrayLiteral("*EM2")))
        qCDebug(lcAcquisition) << "*EM2 refused; the run goes on";
    WaitWithStop(m_workspace.pump, [this] { return m_host.StopRequested(); }, kSettleAfterEm2Ms);
    EnterRunningState();

    m_host.ArmPeriodicReports(mode.ReportPeriodMinutes() * 60000, mode.ReportsEveryOn());

    do {
        ++m_visit;
        MeasureTestPoint(m_visit);
    } while (!m_host.StopRequested());

    if (m_host.OperMode().Mode() == RepeatMode::OnOffCycle)
        EnterWaitingToRunState();
    else
        EnterStoppedState();
}

void MeasurementRun::MeasureTestPoint(int visit)
{
    Dataset* testPointsPtr = m_host.TestPointTable();
    Dataset* measurementsPtr = m_host.MeasurementsTable();
    if (!testPointsPtr || !measurementsPtr || !testPointsPtr->IsOpen() || !measurementsPtr->IsOpen()) {
        // A table closed under the run (it cannot be, the commands are locked):
        // end the run instead of writing nowhere.
        m_host.SetStopDown();
        return;
    }
    Dataset& testPoints = *testPointsPtr;
    Dataset& measurements = *measurementsPtr;
    OperModeAccess& mode = m_host.OperMode();

    ReachAnalyser();

    if (testPoints.Eof())
        testPoints.First();
    testPoints.Edit();
    const TestPoint tp = ReadTestPoint(testPoints);

    InstrumentSession session(m_host.Analyser(), m_workspace.pump, [this] { return m_host.StopRequested(); });
    const bool tuned = !(mode.Mode() == RepeatMode::SingleTestPoint && visit >= 2);
    if (tuned && !TuneTestPoint(session, tp))
        return;  // Stop while the frequency was set: nothing measured, no row

    CountdownWait(mode.MeasureDelay());

    MeasurementValues values;
    AutoAlarmAccess& autoAlarm = m_host.AutoAlarm();
    ReadMeasurements(session, tp, tuned, values, [&](Quantity quantity, double value) {
        // The pass switch is read as each value comes: the user may clear it
        // during the settling wait, and from then on nothing is derived.
        DeriveThresholds(autoAlarm, mode.AutoAlarmPass(), quantity, value,
                         [this, &testPoints](const QString& field, double threshold) {
                             testPoints.SetNumber(field, threshold);
                             // The working copy now differs from the saved set:
                             // closing it asks whether to save the new thresholds.
                             m_workspace.testPointSetModified = true;
                         });
    });
    m_workspace.pump.ProcessMessages();

    measurements.Append();
    for (const MeasurementValues::Entry& entry : values.Entries()) {
        if (const double* number = std::get_if<double>(&entry.value))
            measurements.SetNumber(entry.field, *number);
        else
            measurements.SetText(entry.field, std::get<QString>(entry.value));
    }
    WriteRow(testPoints, measurements);
    StampPosition(measurements);

    measurements.SetText(QLatin1String(fields::kWarning), QStringLiteral("NO"));
    if (testPoints.Text(QLatin1String(fields::kAlarm)) == QLatin1String("ON"))
        m_host.EvaluateAlarms();

    // Moving on stores the thresholds an automatic pass derived; the row is
    // stored at once, so a power cut loses at most the visit in progress.
    testPoints.Next();
    measurements.Post();
    m_host.RowStored(measurements);

    if (testPoints.Eof()) {
        if (mode.AutoAlarmPass()) {
            mode.SetAutoAlarmPass(false);
            m_host.SetStopDown();
        }
        if (mode.Mode() == RepeatMode::Loops) {
            const int left = mode.LoopsLeft();
            if (left < 2)
                m_host.SetStopDown();
            else
                mode.SetLoopsLeft(left - 1);
        }
    }
    if (testPoints.Eof() || mode.Mode() == RepeatMode::SingleTestPoint) {
        testPoints.First();
        if (mode.WaitBetweenLoops() > 0)
            CountdownWait(mode.WaitBetweenLoops());
    }

    m_workspace.pump.ProcessMessages();
    if (!m_host.StopRequested() && mode.WaitBetweenPoints() > 0)
        CountdownWait(mode.WaitBetweenPoints());
}

void MeasurementRun::WriteRow(Dataset& testPoints, Dataset& measurements)
{
    for (const char* name : kCopiedFields) {
        const QString field = QLatin1String(name);
        measurements.SetText(field, testPoints.Text(field));
    }
    if (testPoints.HasField(QLatin1String(fields::kLayer)))
        measurements.SetText(QLatin1String(fields::kLayer), testPoints.Text(QLatin1String(fields::kLayer)));
    measurements.SetText(QLatin1String(fields::kGuardInterval), testPoints.Text(QLatin1String(fields::kGInterval)));
    const QDateTime now = m_workspace.pump.Now();
    measurements.SetText(QLatin1String(fields::kHour), SystemLongTime(now.time()));
    measurements.SetText(QLatin1String(fields::kDate), SystemShortDate(now.date()));
    measurements.SetValue(QLatin1String(fields::kIndex), testPoints.Value(QLatin1String(fields::kIndex)));
}

void MeasurementRun::StampPosition(Dataset& measurements)
{
    GpsReader& gps = m_host.Gps();
    const std::optional<GpsFix> fix = ReadPositionForMeasurement(gps);
    if (!fix)
        return;  // reception off: the position fields stay empty
    if (gps.ReceiverLost() != m_gpsLost) {
        m_gpsLost = gps.ReceiverLost();
        ShowRunningStatus();
    }
    measurements.SetText(QLatin1String(fields::kLatitude), fix->latitude);
    measurements.SetText(QLatin1String(fields::kNS), fix->ns);
    measurements.SetText(QLatin1String(fields::kLongitude), fix->longitude);
    measurements.SetText(QLatin1String(fields::kEW), fix->ew);
}

void MeasurementRun::CountdownWait(int seconds)
{
    m_host.ShowPanel(std::nullopt, PanelColour::Yellow);
    const auto waiting = Pick(m_workspace.settings, texts::kWaiting);
    for (int k = 0; k < seconds * 10; ++k) {
        m_workspace.pump.Sleep(kStepMs);
        m_workspace.pump.ProcessMessages();
        if (waiting)
            m_host.ShowPanel(*waiting + QString::number(seconds - k / 10), PanelColour::Yellow);
        else
            m_host.ShowPanel(std::nullopt, PanelColour::Yellow);
        if (m_host.StopRequested())
            return;
    }
    ShowRunningStatus();
}

void MeasurementRun::EnterRunningState()
{
    ShowRunningStatus();
    m_phase = RunPhase::Running;
    if (Dataset* testPoints = m_host.TestPointTable(); testPoints && testPoints->IsOpen()) {
        testPoints->First();
        if (!testPoints->Eof())
            testPoints->Edit();
    }
    m_host.RunEventOccurred(RunEvent::Running);
}

void MeasurementRun::EnterStoppedState()
{
    ShowStatus(texts::kStopped, PanelColour::Red);
    m_phase = RunPhase::Stopped;
    m_host.ShowEndOfProcess();
    m_host.RunEventOccurred(RunEvent::Stopped);
    m_host.SetStopDown();
}

void MeasurementRun::EnterWaitingToRunState()
{
    ShowStatus(texts::kWaitingToRun, PanelColour::Yellow);
    m_phase = RunPhase::WaitingToRun;
    m_host.RunEventOccurred(RunEvent::WaitingToRun);
}

// ---- ON/OFF cycle --------------------------------------------------------------

void MeasurementRun::Timer1Tick()
{
    if (m_cyclePressDeferred && !m_workspace.availability.PortSearchInProgress()) {
        m_cyclePressDeferred = false;
        m_host.QueueRunPress();
    }
    m_cycle.Tick();
}

bool MeasurementRun::CycleTicked() const
{
    return m_host.OperMode().Mode() == RepeatMode::OnOffCycle;
}

bool MeasurementRun::InOnPhase() const
{
    return m_inStart && !m_host.StopRequested();
}

bool MeasurementRun::InOffPhase() const
{
    // A start still in progress (a refused one showing its message) is no
    // OFF phase: the countdown waits for it, so starts never nest.
    // A port search holds the countdown too: a start inside the search's
    // waits would be a second user of the analyser link.
    return m_phase == RunPhase::WaitingToRun && !m_inStart && !m_cyclePressPending &&
           !m_workspace.availability.PortSearchInProgress();
}

QTime MeasurementRun::OnTime() const { return m_host.OperMode().OnDuration(); }
void MeasurementRun::SetOnTime(const QTime& time) { m_host.OperMode().SetOnDuration(time); }
QTime MeasurementRun::OffTime() const { return m_host.OperMode().OffDuration(); }
void MeasurementRun::SetOffTime(const QTime& time) { m_host.OperMode().SetOffDuration(time); }

void MeasurementRun::RequestStop()
{
    m_host.SetStopDown();
}

void MeasurementRun::StartNextRun()
{
    m_host.SetStopUp();
    m_cyclePressPending = true;
    m_host.QueueRunPress();
}

void MeasurementRun::CyclePress()
{
    // STOP may have ended the cycle between the tick and this press.
    if (!m_cyclePressPending)
        return;
    if (m_workspace.availability.PortSearchInProgress()) {
        // The first tick after the search presses Run again.
        m_cyclePressDeferred = true;
        return;
    }
    m_cyclePressPending = false;
    RunMeasureBtnClick();
}

void MeasurementRun::BtnStopClick()
{
    OperModeAccess& mode = m_host.OperMode();
    mode.SetOnDuration(ParseDuration(m_savedOn));
    mode.SetOffDuration(ParseDuration(m_savedOff));
    if (mode.Mode() == RepeatMode::OnOffCycle)
        mode.SetMode(RepeatMode::Continuous);
    m_cyclePressPending = false;
    m_cyclePressDeferred = false;
    m_host.SetStopDown();
    m_host.RunEventOccurred(RunEvent::CycleEnded);
    EnterStoppedState();
}
