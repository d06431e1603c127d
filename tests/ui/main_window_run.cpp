// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/oper_mode_window.h"
#include "alarms/alarms_window.h"
#include "app/run_host_ui.h"
#include "app/main_window.h"
#include "app/program_ui.h"
#include "notify/finish_process_window.h"
#include "sim/virtual_clock.h"
#include "sim/analyser_sim.h"
#include "sim/sim_serial_device.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/recording_mailer.h"
#include "support/temp_folder.h"
#include "support/virtual_time_ceiling.h"
#include "testpoints/acq_table_window.h"
#include "testpoints/table_layouts.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <memory>

// A run started from the main window's Run button, on the simulated analyser:
// what the window locks while it lasts and releases at its end.
class MainWindowRunTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<SimPorts> ports;
    std::unique_ptr<RecordingDialogs> dialogs;
    std::unique_ptr<FakeSystemCommands> system;
    std::unique_ptr<Program> program;
    // A run that would never end fails its test instead of hanging it.
    std::unique_ptr<VirtualTimeCeiling> ceiling;

    TVigilo& Main() { return *program->VigiloForm; }

    // Start-up, a set of two test points and a Measurements table open, the
    // analyser found on COM2: the state in which Run is offered.
    void Start()
    {
        QFile file(folder->File(QStringLiteral("config.cfg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("english\r\n");
        file.close();
        auto analyser = std::make_shared<SimAnalyser>();
        analyser->SetSettlingMs(300);
        ports->Attach(2, analyser);
        program = std::make_unique<Program>(*clock, *dialogs, *system, folder->Path(), ports->Factory());
        program->CreateWindows(false);

        Dataset& points = program->workspace.AcquiredTable;
        points.SetDatabaseName(QString::fromUtf8(dbnames::kTestPoints));
        points.SetTableName(folder->File(QStringLiteral("points.db")));
        points.CreateTable(TestPointFields());
        points.Open();
        for (const char* freq : {"474", "666"}) {
            points.Append();
            points.SetText(QStringLiteral("freq"), QString::fromLatin1(freq));
            points.SetText(QStringLiteral("type"), QStringLiteral("DVB-T/H"));
            points.SetText(QStringLiteral("band"), QStringLiteral("TER"));
            points.SetText(QStringLiteral("alarm"), QStringLiteral("OFF"));
            points.Post();
        }
        Dataset& measurements = program->workspace.ReportTable;
        measurements.SetDatabaseName(QString::fromUtf8(dbnames::kMeasurements));
        measurements.SetTableName(folder->File(QStringLiteral("m.db")));
        measurements.CreateTable(MeasurementFields());
        measurements.Open();

        Main().SearchComBtn->setEnabled(true);
        Main().SearchComBtn->click();
        QVERIFY(Main().RunMeasureBtn->isEnabled());
        dialogs->messages.clear();
        program->OperMode->CheckBoxBucleRepeticiones->click();
        ceiling = std::make_unique<VirtualTimeCeiling>(*clock, 10 * 60 * 1000, [](const QString& message) {
            QTest::qFail(qPrintable(message), __FILE__, __LINE__);
        });
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        clock = std::make_unique<VirtualClock>();
        ports = std::make_unique<SimPorts>(*clock);
        dialogs = std::make_unique<RecordingDialogs>();
        system = std::make_unique<FakeSystemCommands>();
    }
    void cleanup()
    {
        ceiling.reset();
        program.reset();
        ports.reset();
        folder.reset();
    }

    void RunLocksTheWindowsAndReleasesThemAtTheEnd()
    {
        Start();
        QStringList enabledDuringRun;
        QStringList visibleDuringRun;
        QString panelDuringRun;
        bool stopEnabledDuringRun = false;
        clock->At(5000, [&] {
            panelDuringRun = Main().PanelInfo->text();
            stopEnabledDuringRun = Main().StopMeasureBtn->isEnabled();
            for (QWidget* w : std::initializer_list<QWidget*>{
                     Main().RunMeasureBtn, Main().OpenAcquisition, Main().NewAcqButton, Main().NewReportBtn,
                     Main().OpenReportBtn, Main().SearchComBtn, Main().SaveTP, Main().ViewCompletedReportBtn,
                     program->FAcqTable.get(), program->OperMode->CheckBoxBucleRepeticiones,
                     program->OperMode->BucleRepeticiones, program->OperMode->Continuous})
                if (w->isEnabled())
                    enabledDuringRun << w->objectName();
            for (QAction* a : {Main().GPS1, Main().OpenTestPoint, Main().OperatingMode, Main().File1->menuAction(),
                               Main().Language1->menuAction()})
                if (a->isEnabled())
                    enabledDuringRun << a->objectName();
            for (QAction* a : {Main().Exit1, Main().English1, Main().About1, Main().LoadReport1})
                if (a->isVisible())
                    visibleDuringRun << a->objectName();
        });

        Main().RunMeasureBtn->click();

        QCOMPARE(panelDuringRun, QStringLiteral("RUNNING"));
        QVERIFY(stopEnabledDuringRun);
        QCOMPARE(enabledDuringRun, QStringList());
        QCOMPARE(visibleDuringRun, QStringList());

        QCOMPARE(Main().PanelInfo->text(), QStringLiteral("STOPPED"));
        QCOMPARE(program->workspace.ReportTable.RecordCount(), 2LL);
        QVERIFY(Main().StopMeasureBtn->isChecked());
        QVERIFY(!Main().StopMeasureBtn->isEnabled());
        QVERIFY(Main().RunMeasureBtn->isEnabled());
        QVERIFY(program->FormFinishProcess->isVisible());
        for (QWidget* w : std::initializer_list<QWidget*>{Main().OpenAcquisition, Main().SearchComBtn,
                                                          Main().ViewAlarmReportBtn, program->FAcqTable.get(),
                                                          program->OperMode->BucleRepeticiones})
            QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
        QVERIFY(Main().OperatingMode->isEnabled());
        QVERIFY(Main().MinMaxAvg1->isEnabled());
        QVERIFY(Main().Exit1->isVisible());
        QVERIFY(Main().File1->menuAction()->isEnabled());
    }

    void StopButtonEndsTheRunAfterTheVisit()
    {
        Start();
        program->OperMode->Continuous->click();
        clock->At(20000, [&] { Main().StopMeasureBtn->click(); });
        Main().RunMeasureBtn->click();
        QCOMPARE(Main().PanelInfo->text(), QStringLiteral("STOPPED"));
        QVERIFY(program->workspace.ReportTable.RecordCount() >= 1);
        QVERIFY(clock->ElapsedMs() < 60000);
    }

    // The run asks the evaluation only for test points whose alarm is on; the
    // mailing switch and the body buffer are the alarm window's.
    void AlarmsAreMarkedAndMailedThroughTheAlarmWindow()
    {
        Start();
        RecordingMailer mailer;
        program->workspace.mailer = &mailer;
        program->settings.Replace(14, QStringLiteral("Mast 3"));
        Dataset& points = program->workspace.AcquiredTable;
        points.First();
        for (const char* alarm : {"ON", "OFF"}) {
            points.Edit();
            points.SetText(QStringLiteral("alarm"), QString::fromLatin1(alarm));
            points.SetNumber(QStringLiteral("minLV"), 200);  // far above any level
            points.Next();
        }
        program->FormAlarms->SendAlarm->setChecked(true);

        Main().RunMeasureBtn->click();

        Dataset& rows = program->workspace.ReportTable;
        QStringList warnings;
        for (rows.First(); !rows.Eof(); rows.Next())
            warnings << rows.Text(QStringLiteral("warning"));
        QCOMPARE(warnings, (QStringList{QStringLiteral("YES"), QStringLiteral("NO")}));
        QCOMPARE(mailer.alarmMails.size(), size_t(1));
        QCOMPARE(mailer.alarmMails[0].subject, QStringLiteral("Alarm: minimum level exceeded"));
        QCOMPARE(mailer.alarmMails[0].bodyLines.value(0), QStringLiteral("Measure Location : Mast 3"));
        QCOMPARE(mailer.alarmMails[0].bodyLines.value(5), QStringLiteral("Minimum level of alarm: 200"));
        QCOMPARE(program->FormAlarms->TextoMensaje, mailer.alarmMails[0].bodyLines);
        program->workspace.mailer = nullptr;
    }
};

QTEST_MAIN(MainWindowRunTest)
#include "main_window_run.moc"
