// SPDX-License-Identifier: GPL-3.0-or-later
// The station without windows, for unattended machines and scripts: the same
// measurement run as the main window's Run button, driven by command-line
// options, printing its status changes and one line per stored
// Measurements row. SIGINT or SIGTERM is the Stop request.

#include "console.h"
#include "tool_options.h"
#include "alarm_mails.h"
#include "exploration.h"

#include "acquisition/measurement_run.h"
#include "acquisition/oper_mode.h"
#include "acquisition/run_host.h"
#include "alarms/auto_alarm.h"
#include "platform/settings.h"
#include "workspace/workspace.h"
#include "platform/texts.h"
#include "gps/gga_reader.h"
#include "gps/serial_gps.h"
#include "instrument/analyser_commands.h"
#include "instrument/analyser_link.h"
#include "instrument/port_search.h"
#include "instrument/posix_serial_device.h"
#include "platform/com_names.h"
#include "platform/decimal_point.h"
#include "platform/errors.h"
#include "platform/event_pump.h"
#include "platform/program_folder.h"
#include "platform/system_commands.h"
#include "platform/user_dialogs.h"
#include "testpoints/csv_tables.h"
#include "testpoints/dataset.h"
#include "testpoints/table_layouts.h"
#include "schedule_options.h"
#include "mail_options.h"
#include "notify/mail_service.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>

namespace {
enum Exit { kOk = 0, kNotFound = 1, kUsage = 2, kNoAnalyser = 3, kTableProblem = 4 };

std::atomic<bool> g_stopSignal{false};

void OnStopSignal(int)
{
    g_stopSignal = true;
}

void Print(const QString& line)
{
    PrintLine(stdout, line);
}

void PrintError(const QString& line)
{
    PrintToolError("vigilo-station", line);
}

// The GPS receiver on its own port; reception is on once the port was opened.
class ConsoleGps final : public GpsReader {
public:
    std::unique_ptr<TSerialGPS> port;
    // A receiver whose device went away stays on: its reads try to open it again.
    bool ReceptionEnabled() const override { return port != nullptr; }
    bool ReadGpsFix(GpsFix& fix) override { return port && ::ReadGpsFix(*port, fix); }
    bool ReceiverLost() const override { return port && port->DeviceGone(); }
};

// The fields of a stored row, in the order a reader of the console expects.
const char* const kPrintedFields[] = {
    fields::kIndex, fields::kCh,  fields::kType, fields::kFreq, fields::kLevel,  fields::kCN,
    fields::kVA,    fields::kDesvFM, fields::kMER, fields::kCBER, fields::kVBER, fields::kLBER,
    fields::kDate,  fields::kHour, fields::kLatitude, fields::kNS, fields::kLongitude, fields::kEW,
    fields::kWarning};

class ConsoleRunHost final : public RunHost {
public:
    ConsoleRunHost(Workspace& workspace, AnalyserLink& link, Dataset& testPoints, Dataset& measurements)
        : m_workspace(workspace), m_link(link), m_commands(link), m_testPoints(testPoints), m_measurements(measurements),
          m_run(workspace, *this)
    {
    }

    MeasurementRun& Run() { return m_run; }
    OperModeValues mode;
    AutoAlarmValues autoAlarm;
    ConsoleGps gps;
    StationAlarms* alarms = nullptr;
    bool startRefused = false;

    bool StopRequested() const override { return m_stopDown || g_stopSignal; }
    void SetStopDown() override { m_stopDown = true; }
    void SetStopUp() override { m_stopDown = false; }
    void QueueRunPress() override
    {
        QTimer::singleShot(0, QCoreApplication::instance(), [this] { m_run.CyclePress(); });
    }

    void ShowPanel(const std::optional<QString>& text, PanelColour) override
    {
        if (!text || *text == m_lastStatus)
            return;
        const QString waiting = texts::kWaiting.English();
        const bool countdown = text->startsWith(waiting) || text->startsWith(QStringLiteral("ESPERANDO: "));
        const bool wasCountdown = m_lastStatus.startsWith(waiting) || m_lastStatus.startsWith(QStringLiteral("ESPERANDO: "));
        m_lastStatus = *text;
        // A countdown prints its first figure only.
        if (!(countdown && wasCountdown))
            Print(QStringLiteral("status: ") + *text);
    }

    OperModeAccess& OperMode() override { return mode; }
    AutoAlarmAccess& AutoAlarm() override { return autoAlarm; }
    Dataset* TestPointTable() override { return &m_testPoints; }
    Dataset* MeasurementsTable() override { return &m_measurements; }
    AnalyserCommands& Analyser() override { return m_commands; }
    bool IdentifyAnalyser() override
    {
        QByteArray buffer("*?NA");
        return m_link.IdentifyAnalyser(buffer);
    }
    TSerialPort* AnalyserPort() override { return &m_link.Port(); }
    GpsReader& Gps() override { return gps; }

    // No controls to lock: only whether the last start was refused matters.
    void RunEventOccurred(RunEvent event) override
    {
        if (event == RunEvent::StartRefused)
            startRefused = true;
        else if (event == RunEvent::Running)
            startRefused = false;
    }
    void ShowEndOfProcess() override
    {
        Print(QStringLiteral("End of Process"));
        if (schedule)
            schedule->EndOfProcessShown();
    }
    void DisablePeriodicReports() override
    {
        if (schedule)
            schedule->DisablePeriodicReports();
    }
    void ArmPeriodicReports(int intervalMs, bool enabled) override
    {
        if (schedule)
            schedule->ArmPeriodicReports(intervalMs, enabled);
    }
    StationSchedule* schedule = nullptr;
    void EvaluateAlarms() override
    {
        if (alarms)
            alarms->Evaluate(m_workspace);
    }

    // Printed once stored, so a printed row is a stored row.
    void RowStored(const Dataset& row) override
    {
        QStringList parts;
        for (const char* name : kPrintedFields) {
            const QString field = QString::fromUtf8(name);
            parts << field + QLatin1Char('=') + row.Text(field);
        }
        Print(QStringLiteral("row: ") + parts.join(QLatin1Char('\t')));
    }

private:
    Workspace& m_workspace;
    AnalyserLink& m_link;
    LinkCommands<AnalyserLink> m_commands;
    Dataset& m_testPoints;
    Dataset& m_measurements;
    MeasurementRun m_run;
    bool m_stopDown = true;
    QString m_lastStatus;
};

std::optional<int> ParseComOption(const QString& text)
{
    QString t = text.trimmed().toUpper();
    if (t.startsWith(QLatin1String("COM")))
        t = t.mid(3);
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok || n < 1 || n > 40)
        return std::nullopt;
    return n;
}

std::optional<int> Seconds(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 0)
        return std::nullopt;
    return n;
}

}  // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    QGuiApplication app(argc, argv);
    SetProcessNumberFormats();
    QCoreApplication::setApplicationName(QStringLiteral("vigilo-station"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The monitoring station without windows: runs the test points of a set on the\n"
        "analyser and appends one Measurements row per visit, printing each row as\n"
        "\"row: field=value<TAB>...\" and each status change as \"status: ...\".\n"
        "SIGINT or SIGTERM stops the run after the visit in progress (exit 0).\n\n"
        "Modes (one of them; default one pass, as --loops 1):\n"
        "  --loops N, --continuous, --single-test-point, --on-off ON OFF (HH:MM:SS each)\n"
        "Automatic alarm pass: --auto-alarm derives the thresholds of every test point\n"
        "from one pass; the quantities are those given a --tolerance-* option, or all\n"
        "four with 2 dB when none is given.\n\n"
        "Explorations stored in the analyser: --list-explorations TER|SAT, or\n"
        "--import-exploration NAME --band TER|SAT [--low-osc MHz] [--high-osc MHz].\n\n"
        "Exit status: 0 done; 1 --search found no analyser; 2 bad options;\n"
        "3 no analyser answers; 4 a table is missing, empty or unreadable;\n"
        "5 no exploration stored for the band, or the transfer failed."));
    parser.addHelpOption();
    const QCommandLineOption portsOnlyOpt(
        QStringLiteral("ports-only"),
        QStringLiteral("COM names are only the program folder's ports/ links (no /dev/ttyS*, ttyUSB*, ttyACM*)."));
    parser.addOption(portsOnlyOpt);
    const QCommandLineOption folderOpt(QStringLiteral("folder"),
                                       QStringLiteral("Program folder (Database/, ports/, config.cfg); default the executable's."),
                                       QStringLiteral("dir"));
    const QCommandLineOption testpointsOpt(QStringLiteral("testpoints"),
                                           QStringLiteral("Test point set to run (copied to the working copy)."),
                                           QStringLiteral("file.db"));
    const QCommandLineOption importOpt(QStringLiteral("import-testpoints"),
                                       QStringLiteral("Build the set first from this semicolon-separated CSV file "
                                                      "(header: test point field names); it is written to --testpoints, "
                                                      "or beside the CSV file with the extension .db."),
                                       QStringLiteral("file.csv"));
    const QCommandLineOption measurementsOpt(QStringLiteral("measurements"),
                                             QStringLiteral("Measurements table to append to; created when missing."),
                                             QStringLiteral("file.db"));
    const QCommandLineOption portOpt(QStringLiteral("port"),
                                     QStringLiteral("Identify the analyser on this port instead of searching COM1-COM40."),
                                     QStringLiteral("COMn"));
    const QCommandLineOption searchOpt(QStringLiteral("search"),
                                       QStringLiteral("Only search: print the model and the port, then exit."));
    const QCommandLineOption loopsOpt(QStringLiteral("loops"), QStringLiteral("Passes over the table (1-99999)."),
                                      QStringLiteral("n"));
    const QCommandLineOption continuousOpt(QStringLiteral("continuous"), QStringLiteral("Passes until stopped."));
    const QCommandLineOption singleOpt(QStringLiteral("single-test-point"),
                                       QStringLiteral("Measure the first test point again and again."));
    const QCommandLineOption onOffOpt(QStringLiteral("on-off"),
                                      QStringLiteral("ON/OFF cycle: runs of ON alternate with pauses of OFF "
                                                     "(give \"ON OFF\" as one argument or ON here and OFF after it)."),
                                      QStringLiteral("on"));
    const QCommandLineOption delayOpt(QStringLiteral("measure-delay"),
                                      QStringLiteral("Extra wait after tuning, seconds (0-60)."), QStringLiteral("s"));
    const QCommandLineOption betweenPointsOpt(QStringLiteral("between-points"),
                                              QStringLiteral("Wait after every visit, seconds (0-43200)."),
                                              QStringLiteral("s"));
    const QCommandLineOption betweenLoopsOpt(QStringLiteral("between-loops"),
                                             QStringLiteral("Wait at the end of every pass, seconds (0-86400)."),
                                             QStringLiteral("s"));
    const QCommandLineOption autoAlarmOpt(QStringLiteral("auto-alarm"),
                                          QStringLiteral("One pass deriving alarm thresholds from the measured values."));
    const QCommandLineOption tolLevelOpt(QStringLiteral("tolerance-level"), QStringLiteral("Level tolerance, dB (0-20)."),
                                         QStringLiteral("db"));
    const QCommandLineOption tolCnOpt(QStringLiteral("tolerance-cn"), QStringLiteral("C/N tolerance, dB (0-20)."),
                                      QStringLiteral("db"));
    const QCommandLineOption tolVaOpt(QStringLiteral("tolerance-va"), QStringLiteral("V/A tolerance, dB (0-20)."),
                                      QStringLiteral("db"));
    const QCommandLineOption tolMerOpt(QStringLiteral("tolerance-mer"), QStringLiteral("MER tolerance, dB (0-10)."),
                                       QStringLiteral("db"));
    const QCommandLineOption gpsOpt(QStringLiteral("gps"), QStringLiteral("GPS receiver port; stamps every row."),
                                    QStringLiteral("COMn"));
    const QCommandLineOption gpsBaudOpt(QStringLiteral("gps-baud"), QStringLiteral("GPS speed (default 4800)."),
                                        QStringLiteral("b"), QStringLiteral("4800"));
    const QCommandLineOption languageOpt(QStringLiteral("language"),
                                         QStringLiteral("english or spanish (default: config.cfg, else english)."),
                                         QStringLiteral("word"));
    parser.addOptions({folderOpt, testpointsOpt, importOpt, measurementsOpt, portOpt, searchOpt, loopsOpt,
                       continuousOpt, singleOpt, onOffOpt, delayOpt, betweenPointsOpt, betweenLoopsOpt, autoAlarmOpt,
                       tolLevelOpt, tolCnOpt, tolVaOpt, tolMerOpt, gpsOpt, gpsBaudOpt, languageOpt});
    AddScheduleOptions(parser);
    StationAlarms alarms;
    alarms.AddOptions(parser);
    AddMailOptions(parser);
    const ExplorationOptions explorationOptions;
    parser.addOptions(explorationOptions.All());
    parser.process(app);
    alarms.ReadOptions(parser);
    SetComPortsOnly(parser.isSet(portsOnlyOpt));

    const auto usage = [](const QString& text) {
        PrintError(text);
        return kUsage;
    };

    QString explorationError;
    const std::optional<ExplorationRequest> exploration = explorationOptions.Parse(parser, explorationError);
    if (!explorationError.isEmpty())
        return usage(explorationError);

    // ---- Folder, settings, language ----------------------------------------------------
    if (parser.isSet(folderOpt)) {
        const QString folder = AbsolutePath(parser.value(folderOpt));
        if (!QFileInfo(folder).isDir())
            return usage(QStringLiteral("no such folder: %1").arg(folder));
        SetProgramFolder(folder);
    }
    Settings settings(ProgramFolder());
    const bool settingsLoaded = settings.Load() == Settings::LoadResult::Loaded;
    if (parser.isSet(languageOpt)) {
        const QString word = parser.value(languageOpt);
        if (word != QLatin1String("english") && word != QLatin1String("spanish"))
            return usage(QStringLiteral("--language must be english or spanish"));
        settings.Replace(Settings::kLanguageLine, word);
    } else if (CurrentLanguage(settings) == Language::Other) {
        settings.Replace(Settings::kLanguageLine, QStringLiteral("english"));
    }

    if (const std::optional<int> mailed = RunTestMail(parser, settings, settingsLoaded))
        return *mailed;

    // ---- Mode and waits ---------------------------------------------------------------
    OperModeValues mode;
    mode.mode = RepeatMode::Loops;
    mode.loopCount = 1;
    int modes = 0;
    if (parser.isSet(loopsOpt)) {
        ++modes;
        bool ok = false;
        const int n = parser.value(loopsOpt).toInt(&ok);
        if (!ok || n < 1 || n > 99999)
            return usage(QStringLiteral("--loops must be 1 to 99999"));
        mode.loopCount = n;
    }
    if (parser.isSet(continuousOpt)) {
        ++modes;
        mode.mode = RepeatMode::Continuous;
    }
    if (parser.isSet(singleOpt)) {
        ++modes;
        mode.mode = RepeatMode::SingleTestPoint;
    }
    if (parser.isSet(onOffOpt)) {
        ++modes;
        QStringList times = parser.value(onOffOpt).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (times.size() == 1 && !parser.positionalArguments().isEmpty())
            times << parser.positionalArguments().first();
        const auto valid = [](const QString& t) { return QTime::fromString(t, QStringLiteral("HH:mm:ss")).isValid(); };
        if (times.size() != 2 || !valid(times[0]) || !valid(times[1]))
            return usage(QStringLiteral("--on-off takes two durations HH:MM:SS"));
        mode.mode = RepeatMode::OnOffCycle;
        mode.onTime = ParseDuration(times[0]);
        mode.offTime = ParseDuration(times[1]);
    }
    if (modes > 1)
        return usage(QStringLiteral("give one mode only: --loops, --continuous, --single-test-point or --on-off"));
    const struct {
        const QCommandLineOption& option;
        OperModeEdit edit;
        int* target;
    } waits[] = {{delayOpt, OperModeEdit::TimeForMeasure, &mode.timeForMeasure},
                 {betweenPointsOpt, OperModeEdit::TimeBetweenTP, &mode.timeBetweenTP},
                 {betweenLoopsOpt, OperModeEdit::TimeBetweenTable, &mode.timeBetweenTable}};
    for (const auto& wait : waits) {
        if (!parser.isSet(wait.option))
            continue;
        const auto seconds = Seconds(parser.value(wait.option));
        if (!seconds || *seconds > LimitsOf(wait.edit).largest)
            return usage(QStringLiteral("--%1 must be 0 to %2 seconds")
                             .arg(wait.option.names().first())
                             .arg(LimitsOf(wait.edit).largest));
        *wait.target = *seconds;
    }

    AutoAlarmValues autoAlarm;
    if (parser.isSet(autoAlarmOpt)) {
        mode.autoAlarm = true;
        const struct {
            const QCommandLineOption& option;
            Quantity quantity;
        } tolerances[] = {{tolLevelOpt, Quantity::Level},
                          {tolCnOpt, Quantity::CN},
                          {tolVaOpt, Quantity::VA},
                          {tolMerOpt, Quantity::MER}};
        bool any = false;
        for (const auto& t : tolerances) {
            if (!parser.isSet(t.option))
                continue;
            any = true;
            const auto db = Seconds(parser.value(t.option));
            if (!db || *db > LargestTolerance(t.quantity))
                return usage(QStringLiteral("--%1 must be 0 to %2 dB")
                                 .arg(t.option.names().first())
                                 .arg(LargestTolerance(t.quantity)));
            autoAlarm.Set(t.quantity, true, QString::number(*db));
        }
        if (!any)
            for (Quantity q : kQuantities)
                autoAlarm.Set(q, true, QStringLiteral("2"));
    }

    QString scheduleError;
    const std::optional<ScheduleOptions> scheduleOptions = ParseScheduleOptions(parser, mode, scheduleError);
    if (!scheduleOptions)
        return usage(scheduleError);

    std::optional<int> analyserCom;
    if (parser.isSet(portOpt)) {
        analyserCom = ParseComOption(parser.value(portOpt));
        if (!analyserCom)
            return usage(QStringLiteral("--port must be COM1 to COM40"));
    }

    // ---- The analyser -----------------------------------------------------------------
    QtEventPump pump;
    ConsoleDialogs dialogs("vigilo-station");
    QtSystemCommands system;
    Workspace workspace(pump, dialogs, system, settings, PosixSerialDeviceFactory(pump));
    AnalyserLink& link = *workspace.Link();
    const std::unique_ptr<MailService> mail = InstallStationMail(workspace, settingsLoaded);

    const auto identifyOn = [&](int com) {
        const std::optional<QString> model = workspace.IdentifyAnalyserOn(com);
        if (model)
            Print(QStringLiteral("analyser: %1 on COM%2").arg(*model).arg(com));
        return model.has_value();
    };

    if (parser.isSet(searchOpt) || !analyserCom) {
        Print(QStringLiteral("status: ") + Pick(settings, texts::kSearchingCom).value_or(QString()));
        const PortSearchResult result = SearchAnalyserPort(link);
        if (!result.found) {
            PrintError(Pick(settings, texts::kAnalyserNotDetected).value_or(QString()));
            return parser.isSet(searchOpt) ? kNotFound : kNoAnalyser;
        }
        Print(QStringLiteral("analyser: %1 on COM%2").arg(result.modelName).arg(result.portIndex + 1));
        if (parser.isSet(searchOpt))
            return kOk;
    } else if (!identifyOn(*analyserCom)) {
        PrintError(Pick(settings, texts::kAnalyserNotDetected).value_or(QString()) +
                   QStringLiteral(" (COM%1)").arg(*analyserCom));
        return kNoAnalyser;
    }

    if (exploration)
        return RunExplorationRequest(*exploration, workspace, dialogs,
                                     parser.isSet(testpointsOpt) ? AbsolutePath(parser.value(testpointsOpt)) : QString());

    // ---- Tables -----------------------------------------------------------------------
    RegisterDatabaseNames();
    Dataset& testPoints = workspace.AcquiredTable;
    Dataset& measurements = workspace.ReportTable;
    QString setPath = parser.isSet(testpointsOpt) ? AbsolutePath(parser.value(testpointsOpt)) : QString();
    bool tablesReady = RunReportingErrors(dialogs, [&] {
        if (parser.isSet(importOpt)) {
            const QString csv = AbsolutePath(parser.value(importOpt));
            if (setPath.isEmpty()) {
                const QFileInfo info(csv);
                setPath = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".db");
            }
            const long long imported = ImportTestPointsCsv(csv, setPath, CurrentLanguage(settings));
            Print(QStringLiteral("imported: %1 test points into %2").arg(imported).arg(setPath));
        }
        if (setPath.isEmpty())
            throw VigiloError(QStringLiteral("no test point set: give --testpoints or --import-testpoints"));
        if (!QFileInfo::exists(setPath))
            throw VigiloError(QStringLiteral("no such test point set: %1").arg(setPath));
        // As "Open Test Point Set" does: the run works on the hidden working copy.
        workspace.OpenTestPointSet(setPath);

        if (!parser.isSet(measurementsOpt))
            throw VigiloError(QStringLiteral("no Measurements table: give --measurements"));
        const QString measurementsPath = AbsolutePath(parser.value(measurementsOpt));
        if (QFileInfo::exists(measurementsPath)) {
            if (!workspace.OpenMeasurementsTable(measurementsPath))
                return;
        } else {
            if (!workspace.CreateMeasurementsTable(measurementsPath))
                return;
            Print(QStringLiteral("created: %1").arg(measurementsPath));
        }
    });
    tablesReady = tablesReady && testPoints.IsOpen() && measurements.IsOpen();
    if (!tablesReady)
        return kTableProblem;

    // ---- GPS --------------------------------------------------------------------------
    ConsoleRunHost host(workspace, link, testPoints, measurements);
    host.mode = mode;
    host.autoAlarm = autoAlarm;
    StationSchedule schedule(workspace, *scheduleOptions, host.mode, StationReports(workspace));
    host.schedule = &schedule;
    host.alarms = &alarms;
    if (parser.isSet(gpsOpt)) {
        const auto com = ParseComOption(parser.value(gpsOpt));
        bool baudOk = false;
        const quint32 baud = parser.value(gpsBaudOpt).toUInt(&baudOk);
        if (!com || !baudOk || baud == 0)
            return usage(QStringLiteral("--gps must be COM1 to COM40 and --gps-baud a speed"));
        host.gps.port = std::make_unique<TSerialGPS>(pump, PosixSerialDeviceFactory(pump));
        host.gps.port->SelectPort(*com - 1);
        if (!host.gps.port->Open()) {
            PrintError(Pick(settings, texts::kUnableToOpenPort).value_or(QString()) +
                       QStringLiteral(" (COM%1)").arg(*com));
            return kUsage;
        }
        host.gps.port->Configure(TimeoutProfile::Standard, baud, 8, 0, 0);
    }

    // ---- The run ----------------------------------------------------------------------
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    MeasurementRun& run = host.Run();
    int exitCode = kOk;
    bool stopHandled = false;

    QTimer timer1;
    timer1.setInterval(1000);
    QObject::connect(&timer1, &QTimer::timeout, [&] {
        if (!schedule.CheckStop(run, [&] { host.SetStopDown(); }, [&] { app.exit(exitCode); }))
            run.Timer1Tick();
    });
    timer1.start();

    // Ends the program once the run is over; a stop signal in an ON/OFF
    // cycle's pause is the cycle's STOP.
    QTimer watch;
    watch.setInterval(100);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (g_stopSignal && !stopHandled) {
            stopHandled = true;
            if (run.Phase() == RunPhase::WaitingToRun || host.mode.Mode() == RepeatMode::OnOffCycle)
                run.BtnStopClick();
            else
                host.SetStopDown();
        }
        if (run.StartInProgress())
            return;
        if (run.Phase() == RunPhase::WaitingToRun && !g_stopSignal)
            return;
        if (schedule.WaitsForTheStop() && !g_stopSignal && !host.startRefused)
            return;
        if (host.startRefused)
            exitCode = kNoAnalyser;
        else if (dialogs.shown > 0)
            exitCode = kTableProblem;
        app.exit(exitCode);
    });

    QTimer::singleShot(0, &app, [&] {
        run.RunMeasureBtnClick();
        watch.start();
    });
    int code = app.exec();
    // Without a window there is no "Save Test Point Set" to press: the
    // thresholds an automatic pass derived are saved into the set it ran.
    if (mode.autoAlarm && workspace.testPointSetModified) {
        const bool saved = RunReportingErrors(dialogs, [&] {
            if (!workspace.SaveTestPointSetAs(setPath))
                throw VigiloError(QStringLiteral("the thresholds were not saved into %1").arg(setPath));
        });
        if (saved)
            Print(QStringLiteral("saved: the derived thresholds into %1").arg(setPath));
        else if (code == kOk)
            code = kTableProblem;
    }
    testPoints.Close();
    measurements.Close();
    return code;
}
