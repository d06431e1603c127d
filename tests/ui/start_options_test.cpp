// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"
#include "app/program_ui.h"
#include "app/start_options_ui.h"
#include "platform/preset_dialogs.h"
#include "sim/virtual_clock.h"
#include "sim/analyser_sim.h"
#include "sim/sim_serial_device.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"
#include "testpoints/csv_tables.h"

#include <QFile>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <memory>

// Start-up options click steps 1 to 3 with the file names already chosen.
class StartOptionsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<SimPorts> ports;
    std::unique_ptr<RecordingDialogs> recorded;
    std::unique_ptr<PresetDialogs> dialogs;
    std::unique_ptr<FakeSystemCommands> system;
    std::unique_ptr<Program> program;

    QString DemoSet()
    {
        const QString csv = folder->File(QStringLiteral("demo.csv"));
        QFile file(csv);
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write("ch;freq;type;bw;g.interval;carrier;code rate;modulation;band\n"
                   "C21;474;DVB-T/H;8;1/4;8K;2/3;64QAM;TER\n");
        file.close();
        const QString set = folder->File(QStringLiteral("demo.db"));
        ImportTestPointsCsv(csv, set);
        return set;
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        clock = std::make_unique<VirtualClock>();
        ports = std::make_unique<SimPorts>(*clock);
        recorded = std::make_unique<RecordingDialogs>();
        dialogs = std::make_unique<PresetDialogs>(*recorded);
        system = std::make_unique<FakeSystemCommands>();
        QFile config(folder->File(QStringLiteral("config.cfg")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("english\r\n");
    }
    void cleanup()
    {
        program.reset();
        ports.reset();
        folder.reset();
    }

    void OpensBothTablesAndFindsTheAnalyser()
    {
        ports->Attach(1, std::make_shared<SimAnalyser>(QStringLiteral("ORBIMETER HD+")));
        program = std::make_unique<Program>(*clock, *dialogs, *system, folder->Path(), ports->Factory());
        program->CreateWindows(false);
        const QString set = DemoSet();
        const QString measurements = folder->File(QStringLiteral("Database/Measurements/new.db"));
        QString error;
        const auto options = ParseStartOptions(
            {QStringLiteral("vigilo"), QStringLiteral("--measurements"), measurements,
             QStringLiteral("--testpoints"), set, QStringLiteral("--search")}, error);
        QVERIFY2(options.has_value(), qPrintable(error));

        ApplyStartOptions(*program, *dialogs, *options);

        QVERIFY2(QFile::exists(measurements), "a missing Measurements table is created");
        QVERIFY(program->workspace.ReportTable.IsOpen());
        QVERIFY(program->workspace.AcquiredTable.IsOpen());
        QCOMPARE(program->workspace.AcquiredTable.RecordCount(), 1);
        QCOMPARE(recorded->messages, QStringList{QStringLiteral("ORBIMETER HD+ detected in COM1")});
        QVERIFY(program->VigiloForm->RunMeasureBtn->isEnabled());
        QVERIFY2(recorded->openRequests.empty() && recorded->saveRequests.empty(),
                 "no dialog was shown to the user");
    }

    void RefusesWhatItDoesNotUnderstand_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown") << QStringList{QStringLiteral("vigilo"), QStringLiteral("--fast")};
        QTest::newRow("missing value") << QStringList{QStringLiteral("vigilo"), QStringLiteral("--testpoints")};
        QTest::newRow("missing set") << QStringList{QStringLiteral("vigilo"), QStringLiteral("--testpoints"),
                                                    QStringLiteral("/no/such/set.db")};
    }
    void RefusesWhatItDoesNotUnderstand()
    {
        QFETCH(QStringList, arguments);
        QString error;
        QVERIFY(!ParseStartOptions(arguments, error).has_value());
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(StartOptionsTest)
#include "start_options_test.moc"
