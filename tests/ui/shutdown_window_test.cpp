// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/oper_mode_window.h"
#include "app/main_window.h"
#include "app/program_ui.h"
#include "notify/finish_process_window.h"
#include "notify/shutdown_window.h"
#include "sim/virtual_clock.h"
#include "reports/report_preview_window.h"
#include "support/fake_system_commands.h"
#include "support/recording_mailer.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"
#include "testpoints/table_layouts.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <QtTest>
#include <memory>

// The shutdown window inside the whole program: its creation state, its
// rules with the operating mode and the main window, its key filters, and
// Timer1 and TimerSendReportsEvery driving the report buttons.
class ShutdownWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<RecordingDialogs> dialogs;
    std::unique_ptr<FakeSystemCommands> system;
    std::unique_ptr<Program> program;
    RecordingMailer mailer;
    int ended = 0;

    TShutDown& Window() { return *program->ShutDown; }
    TVigilo& Main() { return *program->VigiloForm; }

    QStringList Enabled()
    {
        QStringList enabled;
        for (QWidget* w : std::initializer_list<QWidget*>{
                 Window().CheckActiveProg, Window().DatePicker, Window().TimerPicker, Window().CheckPCoff,
                 Window().CheckFilteredReport, Window().CheckCompleteReport, Window().CheckGroupedReport,
                 Window().CheckAlarmReport})
            if (w->isEnabled())
                enabled << w->objectName();
        enabled.sort();
        return enabled;
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        clock = std::make_unique<VirtualClock>(QDateTime(QDate(2026, 3, 2), QTime(14, 29, 45)));
        dialogs = std::make_unique<RecordingDialogs>();
        system = std::make_unique<FakeSystemCommands>();
        program = std::make_unique<Program>(*clock, *dialogs, *system, folder->Path());
        program->CreateWindows(false);
        program->endProgram = [this] { ++ended; };
        ended = 0;
        mailer = RecordingMailer();
        program->workspace.mailer = &mailer;
    }

    // A set of one test point and a Measurements table with one row, an
    // alarm: the reports by Time and by Alarm have rows.
    void OpenMeasurements()
    {
        Dataset& points = program->workspace.AcquiredTable;
        points.SetDatabaseName(QString::fromUtf8(dbnames::kTestPoints));
        points.SetTableName(folder->File(QStringLiteral("points.db")));
        points.CreateTable(TestPointFields());
        points.Open();
        points.Append();
        points.SetText(QStringLiteral("freq"), QStringLiteral("474"));
        points.Post();
        Dataset& measurements = program->workspace.ReportTable;
        measurements.SetDatabaseName(QString::fromUtf8(dbnames::kMeasurements));
        measurements.SetTableName(folder->File(QStringLiteral("m.db")));
        measurements.CreateTable(MeasurementFields());
        measurements.Open();
        measurements.Append();
        measurements.SetText(QStringLiteral("freq"), QStringLiteral("474"));
        measurements.SetText(QStringLiteral("warning"), QStringLiteral("YES"));
        measurements.Post();
    }

    QStringList MailedFiles() const
    {
        QStringList files;
        for (const auto& mail : mailer.reportMails)
            files << QFileInfo(mail.reportFile).fileName();
        return files;
    }

    static int Previews()
    {
        int open = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            open += qobject_cast<TReportPreview*>(w) && w->isVisible() ? 1 : 0;
        return open;
    }
    void cleanup()
    {
        program.reset();
        folder.reset();
    }

    void CreatedDisarmedOnTodayAndNow()
    {
        QCOMPARE(Window().DatePicker->date(), QDate(2026, 3, 2));
        QCOMPARE(Window().TimerPicker->time(), QTime(14, 29, 45));
        QCOMPARE(Enabled(), QStringList{"CheckActiveProg"});
        QVERIFY(!Main().AvisTurnOFF->isVisible());
        Main().Shutdown1->trigger();
        QVERIFY(Window().isVisible());
    }

    void ArmingEnablesTheSevenControlsAndDisarmingKeepsTheirTicks()
    {
        Window().CheckActiveProg->click();
        QCOMPARE(Enabled(), (QStringList{"CheckActiveProg", "CheckAlarmReport", "CheckCompleteReport",
                                         "CheckFilteredReport", "CheckGroupedReport", "CheckPCoff", "DatePicker",
                                         "TimerPicker"}));
        Window().CheckGroupedReport->click();
        Window().CheckActiveProg->click();
        QCOMPARE(Enabled(), QStringList{"CheckActiveProg"});
        QVERIFY2(program->workspace.reportMail.IsOn(ReportKind::ByTestPoint), "a disabled box still switches");
        QVERIFY(!program->workspace.reportMail.IsOn(ReportKind::ByTime));
    }

    void ReportBoxesAreTheMailSwitchesOfTheirKinds()
    {
        Window().CheckActiveProg->click();
        const std::pair<QCheckBox*, ReportKind> boxes[] = {{Window().CheckFilteredReport, ReportKind::MinMaxAvg},
                                                           {Window().CheckCompleteReport, ReportKind::ByTime},
                                                           {Window().CheckGroupedReport, ReportKind::ByTestPoint},
                                                           {Window().CheckAlarmReport, ReportKind::ByAlarm}};
        for (const auto& [box, kind] : boxes) {
            box->click();
            for (const auto& [other, otherKind] : boxes)
                QCOMPARE(program->workspace.reportMail.IsOn(otherKind), other == box);
            box->click();
        }
    }

    void PowerOffBoxShowsTheMainWindowIndicator()
    {
        Main().show();
        Window().CheckActiveProg->click();
        Window().CheckPCoff->click();
        QVERIFY(Main().AvisTurnOFF->isVisible());
        Window().CheckPCoff->click();
        QVERIFY(!Main().AvisTurnOFF->isVisible());
    }

    void ArmingLeavesTheCycleAndTheCycleDisarms()
    {
        TOperMode& mode = *program->OperMode;
        mode.ContadorStartStop->click();
        Window().CheckActiveProg->click();
        QVERIFY(!mode.ContadorStartStop->isChecked());
        QVERIFY(mode.Continuous->isChecked());
        QVERIFY(Window().CheckActiveProg->isChecked());

        mode.ContadorStartStop->click();
        QVERIFY(!Window().CheckActiveProg->isChecked());
        QVERIFY(!Window().DatePicker->isEnabled());
        QVERIFY(mode.ContadorStartStop->isChecked());
    }

    void ARunLocksArmingAndTheStopMomentOnly()
    {
        Window().CheckActiveProg->click();
        program->workspace.availability.RunEventOccurred(RunEvent::Running, true);
        QCOMPARE(Enabled(), (QStringList{"CheckAlarmReport", "CheckCompleteReport", "CheckFilteredReport",
                                         "CheckGroupedReport", "CheckPCoff"}));
        program->workspace.availability.RunEventOccurred(RunEvent::Stopped, true);
        QVERIFY(Window().CheckActiveProg->isEnabled());
        QVERIFY(Window().TimerPicker->isEnabled());
    }

    void PickersLetThroughOnlyTheirKeys_data()
    {
        QTest::addColumn<bool>("timePicker");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("changes");
        QTest::newRow("date, digits") << false << "15" << false;
        QTest::newRow("date, letters") << false << "ab" << false;
        QTest::newRow("time, digits") << true << "09" << true;
        QTest::newRow("time, letters") << true << "ab" << false;
        QTest::newRow("time, separator") << true << ":" << false;
    }
    void PickersLetThroughOnlyTheirKeys()
    {
        QFETCH(bool, timePicker);
        QFETCH(QString, keys);
        QFETCH(bool, changes);
        Window().CheckActiveProg->click();
        QDateTimeEdit* picker = timePicker ? static_cast<QDateTimeEdit*>(Window().TimerPicker)
                                           : static_cast<QDateTimeEdit*>(Window().DatePicker);
        Window().show();
        picker->setFocus();
        picker->setSelectedSection(timePicker ? QDateTimeEdit::HourSection : QDateTimeEdit::DaySection);
        const QDateTime before = picker->dateTime();
        QTest::keyClicks(picker, keys);
        QCOMPARE(picker->dateTime() != before, changes);
        // Keys without a character still move the value, as the arrows of a picker do.
        QTest::keyClick(picker, Qt::Key_Up);
        QVERIFY(picker->dateTime() != before);
    }

    void Timer1ActsAtTheStopMinuteOnceEndOfProcessShows()
    {
        OpenMeasurements();
        Window().CheckActiveProg->click();
        Window().TimerPicker->setTime(QTime(14, 30, 59));
        Window().CheckAlarmReport->click();
        Window().CheckCompleteReport->click();
        Window().CheckPCoff->click();

        program->FormFinishProcess->ShowEndOfProcess();
        Main().Timer1Timer();  // 14:29:45: not yet, though End of Process shows
        QCOMPARE(ended, 0);
        program->FormFinishProcess->OKBtnClick();
        clock->Advance(20000);  // 14:30:05, no run has ended: nothing
        Main().Timer1Timer();
        QCOMPARE(ended, 0);
        QVERIFY(mailer.reportMails.empty());

        program->FormFinishProcess->ShowEndOfProcess();
        clock->Advance(70000);  // 14:31:15: past the minute, still acted on
        Main().Timer1Timer();
        QCOMPARE(MailedFiles(), (QStringList{"_byTime.qrp", "_byAlarm.qrp"}));
        for (const auto& mail : mailer.reportMails) {
            QVERIFY(QFileInfo::exists(mail.reportFile));
            QCOMPARE(mail.alsoAttach.size(), 1);
            QVERIFY(mail.alsoAttach.front().endsWith(QLatin1String(".pdf")));
        }
        QCOMPARE(Previews(), 0);
        QCOMPARE(system->commands, QStringList{"/usr/sbin/shutdown --poweroff +1"});
        QCOMPARE(ended, 1);
        QVERIFY(!Window().CheckActiveProg->isChecked());
    }

    void PeriodicTicksMailOrPreviewEachKindAndReuseItsPreview()
    {
        OpenMeasurements();
        TOperMode& mode = *program->OperMode;
        mode.ReportsEverySeconds->click();
        mode.EveryAlarmReport->click();
        mode.EveryCompletedReport->click();
        Window().CheckActiveProg->click();
        Window().CheckAlarmReport->click();  // by Alarm mailed, by Time previewed
        QTimer& timer = *Main().TimerSendReportsEvery;
        timer.setInterval(60000);
        timer.start();
        program->workspace.availability.RunEventOccurred(RunEvent::Running, true);
        QVERIFY(!Main().ViewCompletedReportBtn->isEnabled());

        QMetaObject::invokeMethod(&timer, "timeout");
        QCOMPARE(MailedFiles(), QStringList{"_byAlarm.qrp"});
        QCOMPARE(Previews(), 1);
        QVERIFY(timer.isActive());

        QMetaObject::invokeMethod(&timer, "timeout");
        QCOMPARE(MailedFiles(), (QStringList{"_byAlarm.qrp", "_byAlarm.qrp"}));
        QCOMPARE(Previews(), 1);

        mode.ReportsEverySeconds->click();
        QMetaObject::invokeMethod(&timer, "timeout");
        QCOMPARE(mailer.reportMails.size(), size_t(2));
        QVERIFY2(timer.isActive(), "the timer keeps its period");
    }
};

QTEST_MAIN(ShutdownWindowTest)
#include "shutdown_window_test.moc"
