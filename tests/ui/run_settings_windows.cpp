// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/oper_mode_window.h"
#include "alarms/auto_alarm_window.h"
#include "platform/settings.h"
#include "workspace/workspace.h"
#include "platform/texts.h"
#include "notify/finish_process_window.h"
#include "sim/virtual_clock.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QtTest>
#include <memory>

// The operating mode, automatic alarm and End of Process windows.
class RunSettingsWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<Settings> settings;
    VirtualClock clock;
    RecordingDialogs dialogs;
    FakeSystemCommands system;
    std::unique_ptr<Workspace> station;
    std::unique_ptr<TOperMode> mode;

    QStringList Ticked() const
    {
        QStringList ticked;
        for (QCheckBox* box : {mode->Continuous, mode->CheckBoxBucleRepeticiones, mode->ContadorStartStop, mode->Only1TP})
            if (box->isChecked())
                ticked << box->objectName();
        return ticked;
    }

    // Types into an edit as a user would, then leaves it.
    static void TypeAndLeave(QLineEdit* edit, const QString& keys)
    {
        edit->setFocus();
        edit->selectAll();
        edit->del();
        QTest::keyClicks(edit, keys);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(edit, &out);
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        settings = std::make_unique<Settings>(folder->Path());
        settings->Replace(0, QStringLiteral("english"));
        station = std::make_unique<Workspace>(clock, dialogs, system, *settings);
        mode = std::make_unique<TOperMode>(*station);
    }
    void cleanup()
    {
        mode.reset();
        station.reset();
    }

    void startsWithTheDefaults()
    {
        QCOMPARE(Ticked(), QStringList{"Continuous"});
        QCOMPARE(mode->TimeForMeasure->text(), QString("0"));
        QCOMPARE(mode->TimeEvery->text(), QString("60"));
        QCOMPARE(mode->BucleRepeticiones->text(), QString("1"));
        QCOMPARE(mode->ContadorStop->time(), QTime(0, 0, 0));
        for (QWidget* w : std::initializer_list<QWidget*>{mode->ContadorStop, mode->ContadorStart, mode->BtnStop,
                                                          mode->Label55, mode->Label56, mode->EveryFilteredReport,
                                                          mode->TimeEvery, mode->BucleRepeticiones})
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        QCOMPARE(mode->windowTitle(), QString("Operating"));
        QVERIFY(mode->windowFlags() & Qt::WindowStaysOnTopHint);
    }

    void modesStayExclusive()
    {
        mode->ContadorStartStop->click();
        QCOMPARE(Ticked(), QStringList{"ContadorStartStop"});
        QVERIFY(mode->ContadorStop->isEnabled());
        QVERIFY(mode->Label56->isEnabled());
        QVERIFY2(!mode->BtnStop->isEnabled(), "only a run start enables STOP");

        mode->CheckBoxBucleRepeticiones->click();
        QCOMPARE(Ticked(), QStringList{"CheckBoxBucleRepeticiones"});
        QVERIFY(!mode->ContadorStop->isEnabled());
        QVERIFY(mode->BucleRepeticiones->isEnabled());
        QCOMPARE(mode->Mode(), RepeatMode::Loops);

        mode->Only1TP->click();
        QCOMPARE(Ticked(), QStringList{"Only1TP"});
        QVERIFY(!mode->BucleRepeticiones->isEnabled());

        mode->Only1TP->click();  // unticking the only mode
        QCOMPARE(Ticked(), QStringList{"Continuous"});
        mode->Continuous->click();
        QCOMPARE(Ticked(), QStringList{"Continuous"});
    }

    void cycleDisarmsTheScheduledStop()
    {
        int disarmed = 0;
        mode->untickScheduledStop = [&] { ++disarmed; };
        mode->ContadorStartStop->click();
        QCOMPARE(disarmed, 1);
        mode->SetMode(RepeatMode::Continuous);
        QCOMPARE(Ticked(), QStringList{"Continuous"});
        QVERIFY(!mode->ContadorStart->isEnabled());
    }

    void reportsEveryEnablesItsChoices()
    {
        mode->ReportsEverySeconds->click();
        QVERIFY(mode->TimeEvery->isEnabled());
        QVERIFY(mode->EveryAlarmReport->isEnabled());
        mode->ReportsEverySeconds->click();
        QVERIFY(!mode->EveryCompletedReport->isEnabled());
    }

    void leavingAnEditValidatesIt_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("measure wait 75") << "TimeForMeasure" << "75" << "60";
        QTest::newRow("measure wait empty") << "TimeForMeasure" << "" << "0";
        QTest::newRow("between points") << "TimeBetweenTP" << "50000" << "43200";
        QTest::newRow("between loops empty") << "TimeBetweenTable" << "" << "0";
        QTest::newRow("period 0") << "TimeEvery" << "0" << "1";
        QTest::newRow("loops empty") << "BucleRepeticiones" << "" << "1";
        QTest::newRow("loops 0") << "BucleRepeticiones" << "0" << "1";
    }
    void leavingAnEditValidatesIt()
    {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        mode->CheckBoxBucleRepeticiones->click();
        mode->ReportsEverySeconds->click();
        auto* line = mode->findChild<QLineEdit*>(edit);
        QVERIFY(line);
        TypeAndLeave(line, typed);
        QCOMPARE(line->text(), expected);
    }

    void refusedKeyValidatesAtOnce()
    {
        mode->TimeBetweenTP->setText(QString());
        QTest::keyClick(mode->TimeBetweenTP, Qt::Key_A);
        QCOMPARE(mode->TimeBetweenTP->text(), QString("0"));
        mode->TimeForMeasure->setText(QStringLiteral("99"));
        QTest::keyClick(mode->TimeForMeasure, Qt::Key_Return);
        QCOMPARE(mode->TimeForMeasure->text(), QString("60"));
        // In the loop count a refused key is just dropped.
        mode->CheckBoxBucleRepeticiones->click();
        mode->BucleRepeticiones->setText(QString());
        QTest::keyClicks(mode->BucleRepeticiones, QStringLiteral("4x2"));
        QCOMPARE(mode->BucleRepeticiones->text(), QString("42"));
    }

    void captionsFollowTheLanguage()
    {
        station->AnnounceLanguage(Language::Spanish);
        QCOMPARE(mode->windowTitle(), QString("Funcionamiento"));
        QCOMPARE(mode->Continuous->text(), QString::fromUtf8("Contínuo"));
        QCOMPARE(mode->Only1TP->text(), QString("Repite un punto de test"));
        QCOMPARE(mode->cbAutoAlarm->text(), QString::fromUtf8("Configuración automática de alarma"));
        QCOMPARE(mode->EveryGroupedReport->text(), QString("por Punto de Test"));
    }

    void autoAlarmTolerances_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("level 35") << "LevelTOL" << "35" << "20";
        QTest::newRow("mer 12") << "MERTOL" << "12" << "10";
        QTest::newRow("cn empty") << "CNTOL" << "" << "0";
        QTest::newRow("va 7") << "VATOL" << "7" << "7";
    }
    void autoAlarmTolerances()
    {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        TAutoAlarm autoAlarm(*station);
        auto* line = autoAlarm.findChild<QLineEdit*>(edit);
        QVERIFY(line);
        QCOMPARE(line->text(), QString("2"));
        TypeAndLeave(line, typed);
        QCOMPARE(line->text(), expected);
    }

    void autoAlarmReadsItsControls()
    {
        TAutoAlarm autoAlarm(*station);
        QVERIFY(!autoAlarm.Enabled(Quantity::Level));
        autoAlarm.CBoxMER->click();
        autoAlarm.MERTOL->setText(QStringLiteral("4"));
        QVERIFY(autoAlarm.Enabled(Quantity::MER));
        QCOMPARE(autoAlarm.ToleranceText(Quantity::MER), QString("4"));
        QTest::keyClick(autoAlarm.LevelTOL, Qt::Key_Period);
        QCOMPARE(autoAlarm.LevelTOL->text(), QString("2"));
    }

    void autoAlarmTitleStaysInBothLanguages()
    {
        TAutoAlarm autoAlarm(*station);
        const QString title = autoAlarm.windowTitle();
        station->AnnounceLanguage(Language::Spanish);
        QCOMPARE(autoAlarm.windowTitle(), title);
    }

    void endOfProcessHidesOnlyWithOk()
    {
        TFormFinishProcess finish(*station);
        QCOMPARE(finish.windowTitle(), QString("Vigilo"));
        QCOMPARE(finish.LabelFinishProcess->text(), QString("End of Process"));
        finish.ShowEndOfProcess();
        QVERIFY(finish.isVisible());
        QTest::keyClick(&finish, Qt::Key_Escape);
        QVERIFY(finish.isVisible());
        finish.OKBtn->click();
        QVERIFY(!finish.isVisible());
        station->AnnounceLanguage(Language::Spanish);
        QCOMPARE(finish.LabelFinishProcess->text(), QString::fromUtf8("Fín del Proceso"));
    }
};

QTEST_MAIN(RunSettingsWindowsTest)
#include "run_settings_windows.moc"
