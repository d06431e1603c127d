// SPDX-License-Identifier: GPL-3.0-or-later
// vigilo-station against vigilo-analyser-sim on real pseudo-terminals: one
// pass over a set with one test point of every standard, the stop signal,
// and the failures a script must be able to tell apart.

#include "platform/settings.h"
#include "support/qt_printers.h"
#include "support/sim_process.h"
#include "support/smtp_server.h"
#include "support/station_process.h"
#include "support/temp_folder.h"
#include "testpoints/dataset.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <locale.h>

namespace {
const QString kDemoSet = QStringLiteral(VIGILO_SOURCE_DIR "/data/demo/demo_testpoints.csv");

constexpr char kCommaLocale[] = "es_ES.UTF-8";

bool CommaLocaleInstalled()
{
    locale_t probe = newlocale(LC_ALL_MASK, kCommaLocale, static_cast<locale_t>(nullptr));
    if (!probe)
        return false;
    freelocale(probe);
    return true;
}

TEST(StationOnSimulator, OnePassOverEveryStandardStoresItsRows)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "3", "--settling", "300", "--gps-com", "4", "--gps-period", "300"});
    ASSERT_TRUE(sim.Ready());
    const QString measurements = folder.File("run.db");

    // Under a decimal-comma locale where the machine has one: the station's
    // numbers must carry a point whatever the environment says.
    const QString locale = CommaLocaleInstalled() ? QString::fromLatin1(kCommaLocale) : QString();
    const StationResult result =
        RunStation({"--folder", folder.Path(), "--import-testpoints", kDemoSet, "--testpoints",
                    folder.File("demo.db"), "--measurements", measurements, "--port", "COM3", "--gps", "COM4",
                    "--gps-baud", "4800"},
                   400000, {}, locale);

    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_TRUE(result.lines.contains("status: RUNNING"));
    EXPECT_TRUE(result.lines.contains("status: STOPPED"));
    EXPECT_EQ(result.Rows().size(), 13);

    const auto rows = StoredRows(measurements);
    ASSERT_EQ(rows.size(), 13u);
    QMap<QString, QMap<QString, QString>> byCh;
    for (const auto& row : rows) {
        byCh[row["ch"]] = row;
        EXPECT_EQ(row["warning"], "NO");
        EXPECT_FALSE(row["Date"].isEmpty());
        EXPECT_FALSE(row["Hour"].isEmpty());
        EXPECT_FALSE(row["Latitude"].isEmpty()) << "stamped by the GPS receiver";
        EXPECT_NE(row["Latitude"], "--");
        EXPECT_FALSE(row["LEVEL"].isEmpty()) << row["ch"].toStdString();
        EXPECT_GT(row["LEVEL"].toDouble(), 0.0) << row["ch"].toStdString();
        for (auto field = row.cbegin(); field != row.cend(); ++field)
            EXPECT_FALSE(field.value().contains(QLatin1Char(',')))
                << row["ch"].toStdString() << " " << field.key().toStdString() << "=" << field.value().toStdString();
    }
    // What each standard measures, and where the bit error rates go.
    struct Expect {
        const char* ch;
        const char* type;
        QStringList filled;
        QStringList empty;
    };
    const std::vector<Expect> expected{
        {"21", "DVB-T/H", {"C/N", "MER", "CBER", "VBER"}, {"LBER", "V/A", "DESV FM"}},
        {"35", "DVB-T2", {"C/N", "MER", "CBER", "LBER"}, {"VBER"}},
        {"30", "8-VSB", {"C/N", "MER", "CBER", "VBER"}, {"LBER"}},
        {"20", "ISDB-T", {"MER", "CBER", "VBER", "layer"}, {"LBER"}},
        {"S21", "DVB-C", {"C/N", "MER", "VBER", "symbol rate"}, {"CBER", "LBER"}},
        {"40", "J-83", {"C/N", "MER", "VBER"}, {"CBER", "LBER"}},
        {"41", "DTMB", {"C/N", "MER", "LBER"}, {"CBER", "VBER"}},
        {"S1", "DVB-S", {"MER", "CBER", "VBER", "lnb", "code rate"}, {"LBER"}},
        {"S2", "DVB-S2", {"MER", "CBER", "LBER"}, {"VBER"}},
        {"S3", "DSS", {"MER", "CBER", "VBER"}, {"LBER"}},
        {"5", "Analog", {"C/N", "V/A", "DESV FM"}, {"MER", "CBER"}},
        {"FM", "Analog", {"DESV FM"}, {"C/N", "V/A", "MER"}},
        {"SA", "Analog", {"C/N"}, {"V/A", "DESV FM", "MER"}},
    };
    for (const Expect& e : expected) {
        ASSERT_TRUE(byCh.contains(e.ch)) << e.ch;
        const auto& row = byCh[e.ch];
        EXPECT_EQ(row["type"], e.type) << e.ch;
        for (const QString& f : e.filled)
            EXPECT_FALSE(row[f].isEmpty()) << e.ch << " " << f.toStdString();
        for (const QString& f : e.empty)
            EXPECT_TRUE(row[f].isEmpty()) << e.ch << " " << f.toStdString() << "=" << row[f].toStdString();
    }
    EXPECT_EQ(byCh["20"]["layer"], "A");
    EXPECT_EQ(byCh["S2"]["code rate"], "9/10");
}

// A receiver of several satellite systems names its fix "$GNGGA" and states
// five decimals of a minute: the row gets its position, the longitude cut to
// the field's ten characters.
TEST(StationOnSimulator, ACombinedGpsReceiverStampsTheRows)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "6", "--settling", "100", "--gps-com", "7", "--gps-period", "300",
                                   "--gps-talker", "GN", "--gps-position", "5130.12345,N,00007.54321,W"});
    ASSERT_TRUE(sim.Ready()) << sim.Output().toStdString();
    const QString csv = folder.File("one.csv");
    {
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("ch;freq;system;type;bw;g.interval;inv.spectral;carrier;plan;band;alarm\n"
                   "21;474;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF\n"
                   "22;482;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF\n");
    }
    const QString measurements = folder.File("run.db");
    const StationResult result =
        RunStation({"--folder", folder.Path(), "--import-testpoints", csv, "--measurements", measurements, "--port",
                    "COM6", "--gps", "COM7", "--gps-baud", "9600"},
                   120000);

    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    const auto rows = StoredRows(measurements);
    ASSERT_EQ(rows.size(), 2u);
    for (const auto& row : rows) {
        EXPECT_EQ((QStringList{row["Latitude"], row["N/S"], row["Longitude"], row["E/W"]}),
                  (QStringList{"5130.12345", "N", "00007.5432", "W"}))
            << row["ch"].toStdString();
    }
}

TEST(StationOnSimulator, StopSignalEndsAfterTheVisitInProgress)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "2", "--settling", "0"});
    ASSERT_TRUE(sim.Ready());
    const QString measurements = folder.File("run.db");
    bool signalled = false;
    const StationResult result = RunStation(
        {"--folder", folder.Path(), "--import-testpoints", kDemoSet, "--measurements", measurements, "--continuous",
         "--port", "COM2"},
        120000, [&](const QString& line, QProcess& station) {
            if (!signalled && line.startsWith("row: ")) {
                signalled = true;
                ::kill(static_cast<pid_t>(station.processId()), SIGTERM);
            }
        });
    EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_TRUE(result.lines.contains("status: STOPPED"));
    // The signal came after the first row; the second visit (in progress or
    // abandoned before its tuner) at most adds one row.
    EXPECT_GE(result.Rows().size(), 1);
    EXPECT_LE(result.Rows().size(), 2);
    EXPECT_EQ(StoredRows(measurements).size(), static_cast<size_t>(result.Rows().size()));
}

TEST(StationOnSimulator, FailuresEndWithTheirOwnStatus)
{
    TempProgramFolder folder;
    // No analyser on the named port.
    StationResult missing = RunStation({"--folder", folder.Path(), "--import-testpoints", kDemoSet,
                                        "--measurements", folder.File("m.db"), "--port", "COM9"},
                                       60000);
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_TRUE(missing.errors.contains("has not detected ORBIMETER")) << missing.errors.toStdString();

    SimProcess sim(folder.Path(), {"--com", "5", "--settling", "0"});
    ASSERT_TRUE(sim.Ready());
    StationResult search = RunStation({"--folder", folder.Path(), "--search"}, 120000);
    EXPECT_EQ(search.exitCode, 0) << search.errors.toStdString();
    EXPECT_TRUE(search.lines.contains("analyser: ORBIMETER HD+ on COM5")) << search.lines.join('\n').toStdString();

    StationResult noSet = RunStation({"--folder", folder.Path(), "--testpoints", folder.File("none.db"),
                                      "--measurements", folder.File("m.db"), "--port", "COM5"},
                                     60000);
    EXPECT_EQ(noSet.exitCode, 4);
    EXPECT_TRUE(noSet.errors.contains("no such test point set")) << noSet.errors.toStdString();

    StationResult badMode = RunStation({"--folder", folder.Path(), "--loops", "2", "--continuous"}, 10000);
    EXPECT_EQ(badMode.exitCode, 2);
}
}  // namespace

namespace {
// Without a window there is no "Save Test Point Set" to press: the thresholds
// an automatic pass derives must end up in the set it was run for. Every
// printed row is already stored when it is printed.
TEST(StationOnSimulator, AnAutomaticPassSavesItsThresholdsIntoTheNamedSet)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "5", "--settling", "100"});
    ASSERT_TRUE(sim.Ready());
    const QString csv = folder.File("two.csv");
    {
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("ch;freq;system;type;bw;g.interval;inv.spectral;carrier;plan;band;alarm\n"
                   "21;474;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF\n"
                   "22;482;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF\n");
    }
    const QString set = folder.File("set.db");
    const QString measurements = folder.File("run.db");
    int printedBeforeStored = 0;
    int printed = 0;
    const StationResult result = RunStation(
        {"--folder", folder.Path(), "--import-testpoints", csv, "--testpoints", set, "--measurements", measurements,
         "--port", "COM5", "--auto-alarm", "--tolerance-level", "3", "--tolerance-mer", "1"},
        120000, [&](const QString& line, QProcess&) {
            if (!line.startsWith(QStringLiteral("row: ")))
                return;
            ++printed;
            if (static_cast<int>(StoredRows(measurements).size()) < printed)
                ++printedBeforeStored;
        });

    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_EQ(printed, 2);
    EXPECT_EQ(printedBeforeStored, 0);
    EXPECT_TRUE(result.lines.contains(QStringLiteral("saved: the derived thresholds into %1").arg(set)))
        << result.lines.join('\n').toStdString();

    const auto stored = StoredRows(measurements);
    const auto points = StoredRows(set);
    ASSERT_EQ(points.size(), 2u);
    ASSERT_EQ(stored.size(), 2u);
    for (size_t i = 0; i < points.size(); ++i) {
        const double level = stored[i]["LEVEL"].toDouble();
        const double mer = stored[i]["MER"].toDouble();
        EXPECT_DOUBLE_EQ(points[i]["minLV"].toDouble(), level - 3) << i;
        EXPECT_DOUBLE_EQ(points[i]["maxLV"].toDouble(), level + 3) << i;
        EXPECT_DOUBLE_EQ(points[i]["minMER"].toDouble(), mer - 1) << i;
        EXPECT_DOUBLE_EQ(points[i]["maxMER"].toDouble(), mer + 1) << i;
        EXPECT_TRUE(points[i]["minC/N"].isEmpty() || points[i]["minC/N"] == "0") << "C/N was not chosen";
    }
}

// The scheduled stop without windows: a continuous run stops at the minute,
// the station mails the two chosen reports (each .qrp with its PDF), powers
// the PC off through the given program and ends with 0.
TEST(StationOnSimulator, ScheduledStopMailsTheReportsPowersOffAndExits)
{
    TempProgramFolder folder;
    SmtpServer server({QStringLiteral("station:secret")});
    ASSERT_GT(server.Port(), 0);
    {
        Settings settings(folder.Path());
        const std::pair<int, QString> lines[] = {
            {0, "english"},   {13, "first@example.org"}, {17, "station@example.org"}, {18, "station"},
            {19, "secret"},   {20, server.Host()},       {21, "0"},                   {22, "true"},
            {23, "false"}};
        for (const auto& [line, text] : lines)
            settings.Replace(line, text);
        ASSERT_TRUE(settings.Save());
    }
    SimProcess sim(folder.Path(), {"--com", "8", "--settling", "100"});
    ASSERT_TRUE(sim.Ready()) << sim.Output().toStdString();
    const QString csv = folder.File("one.csv");
    {
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("ch;freq;system;type;bw;g.interval;inv.spectral;carrier;plan;band;alarm\n"
                   "21;474;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF\n");
    }
    const QString argsFile = folder.File("poweroff.args");
    const QString powerOff = folder.File("fake-poweroff");
    {
        QFile script(powerOff);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho \"$@\" > '%1'\n").arg(argsFile).toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    // The next minute: at most a minute of waiting.
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime stopAt(now.date(), QTime(now.time().hour(), now.time().minute()));
    const QString stopText = stopAt.addSecs(60).toString(QStringLiteral("yyyy-MM-dd HH:mm"));

    const StationResult result =
        RunStation({"--folder", folder.Path(), "--import-testpoints", csv, "--measurements", folder.File("run.db"),
                    "--port", "COM8", "--continuous", "--between-points", "5", "--stop-at", stopText, "--power-off",
                    "--power-off-command", powerOff, "--mail-report", "by-alarm", "--mail-report", "by-time"},
                   150000);

    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_GE(QDateTime::currentDateTime(), stopAt.addSecs(60));
    EXPECT_TRUE(result.lines.contains("End of Process")) << result.lines.join('\n').toStdString();
    EXPECT_FALSE(result.Rows().isEmpty());
    QFile args(argsFile);
    ASSERT_TRUE(args.open(QIODevice::ReadOnly)) << "the power-off program did not run";
    EXPECT_EQ(args.readAll().trimmed(), "--poweroff +1");

    const auto received = server.WaitFor(2);
    ASSERT_EQ(received.size(), 2u) << result.lines.join('\n').toStdString();
    const char* const order[] = {"_byTime", "_byAlarm"};
    for (size_t i = 0; i < 2; ++i) {
        QStringList names;
        for (const auto& attachment : received[i]["attachments"].toArray())
            names << attachment.toObject()["filename"].toString();
        EXPECT_EQ(names, (QStringList{QString::fromLatin1(order[i]) + ".qrp", QString::fromLatin1(order[i]) + ".pdf"}))
            << i;
    }
}

TEST(StationOnSimulator, ScheduleOptionsAreChecked)
{
    TempProgramFolder folder;
    const QStringList bad[] = {
        {"--stop-at", "2026-13-40 25:00"},
        {"--stop-at", "2000-01-01 10:00"},
        {"--power-off"},
        {"--stop-at", "2099-01-01 10:00", "--on-off", "00:00:10 00:00:10"},
        {"--reports-every", "0", "--periodic-report", "by-time"},
        {"--reports-every", "60"},
        {"--periodic-report", "by-time"},
        {"--mail-report", "weekly"},
        {"--stop-at", "2099-01-01 10:00", "--mail-report", "by-time", "--mail-report", "hourly"},
    };
    for (const QStringList& options : bad) {
        const StationResult result = RunStation(QStringList{"--folder", folder.Path()} + options, 20000);
        EXPECT_EQ(result.exitCode, 2) << options.join(' ').toStdString() << ": " << result.errors.toStdString();
    }
}

// Four test points, three with their alarm on, and the levels the simulator
// gives their channels: 474 and 490 MHz lie below the minimum of 55 dBµV.
QString WriteAlarmSet(const TempProgramFolder& folder, QString& scenario)
{
    scenario = folder.File("levels.txt");
    QFile levels(scenario);
    if (!levels.open(QIODevice::WriteOnly))
        return QString();
    levels.write("474 40\n482 70\n490 45\n");
    const QString csv = folder.File("alarms.csv");
    QFile file(csv);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write("ch;freq;system;type;bw;g.interval;inv.spectral;carrier;plan;band;alarm;minLV\n"
               "21;474;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;ON;55\n"
               "22;482;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;ON;55\n"
               "23;490;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;ON;55\n"
               "24;474;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF;55\n");
    return csv;
}

QStringList Warnings(const QString& measurements)
{
    QStringList warnings;
    for (const auto& row : StoredRows(measurements))
        warnings << row["ch"] + QLatin1Char('=') + row["warning"];
    return warnings;
}

TEST(StationOnSimulator, RowsBelowTheMinimumLevelAreMarked)
{
    TempProgramFolder folder;
    QString scenario;
    const QString csv = WriteAlarmSet(folder, scenario);
    ASSERT_FALSE(csv.isEmpty());
    SimProcess sim(folder.Path(), {"--com", "8", "--settling", "100", "--scenario", scenario});
    ASSERT_TRUE(sim.Ready()) << sim.Output().toStdString();
    const QString measurements = folder.File("run.db");
    const StationResult result = RunStation(
        {"--folder", folder.Path(), "--import-testpoints", csv, "--measurements", measurements, "--port", "COM8"},
        120000);

    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_EQ(Warnings(measurements), (QStringList{"21=YES", "22=NO", "23=YES", "24=NO"}));
    EXPECT_TRUE(result.lines.filter(QStringLiteral("alarm mail: ")).isEmpty());
}

// The same run with alarm mailing on, against a real SMTP server: one mail
// per exceeded threshold, in the order of the visits, each naming its test
// point, and nothing else.
TEST(StationOnSimulator, SendAlarmMailsMailsExactlyTheExceededThresholds)
{
    TempProgramFolder folder;
    SmtpServer server;
    ASSERT_GT(server.Port(), 0);
    {
        Settings config(folder.Path());
        config.Replace(Settings::kLanguageLine, QStringLiteral("english"));
        const std::pair<int, QString> lines[] = {{13, "noc@example.org"},     {14, "Mast 3"},
                                                 {17, "station@example.org"}, {20, server.Host()},
                                                 {21, "1"},                   {22, "true"},
                                                 {23, "false"}};
        for (const auto& [line, text] : lines)
            config.Replace(line, text);
        ASSERT_TRUE(config.Save());
    }
    QString scenario;
    const QString csv = WriteAlarmSet(folder, scenario);
    ASSERT_FALSE(csv.isEmpty());
    SimProcess sim(folder.Path(), {"--com", "9", "--settling", "100", "--scenario", scenario});
    ASSERT_TRUE(sim.Ready()) << sim.Output().toStdString();
    const QString measurements = folder.File("run.db");
    const StationResult result =
        RunStation({"--folder", folder.Path(), "--import-testpoints", csv, "--measurements", measurements, "--port",
                    "COM9", "--send-alarm-mails"},
                   120000);

    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_EQ(Warnings(measurements), (QStringList{"21=YES", "22=NO", "23=YES", "24=NO"}));
    EXPECT_EQ(result.lines.filter(QStringLiteral("alarm mail: ")),
              (QStringList{"alarm mail: sent: Alarm: minimum level exceeded",
                           "alarm mail: sent: Alarm: minimum level exceeded"}));
    // Every mail was handed over before the station ended.
    const auto received = server.Received();
    ASSERT_EQ(received.size(), 2u);
    const char* const expected[][2] = {{"Index : 1", "Freq : 474"}, {"Index : 3", "Freq : 490"}};
    QStringList alarmedLevels;
    for (const auto& row : StoredRows(measurements))
        if (row["warning"] == "YES")
            alarmedLevels << row["LEVEL"];
    ASSERT_EQ(alarmedLevels.size(), 2);
    for (size_t i = 0; i < received.size(); ++i) {
        const QJsonObject& mail = received[i];
        EXPECT_EQ(mail["subject"].toString(), "Alarm: minimum level exceeded");
        EXPECT_EQ(mail["rcpt_tos"].toArray().toVariantList(), QVariantList{"noc@example.org"});
        const QStringList body = mail["body"].toString().remove(QLatin1Char('\r')).trimmed().split('\n');
        ASSERT_EQ(body.size(), 6) << mail["body"].toString().toStdString();
        EXPECT_EQ(body.mid(0, 4),
                  (QStringList{"Measure Location : Mast 3", expected[i][0], expected[i][1], "Type : DVB-T/H"}));
        EXPECT_EQ(body[4], "Level measured: " + alarmedLevels[static_cast<int>(i)]);
        EXPECT_EQ(body[5], "Minimum level of alarm: 55");
    }
}
}  // namespace
