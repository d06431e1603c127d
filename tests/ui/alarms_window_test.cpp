// SPDX-License-Identifier: GPL-3.0-or-later
// The alarm thresholds window inside the whole program: which thresholds each
// standard offers, the alarm switch, the lists posted at once, Insert walking
// the table, the mailing switch and its indicator, and the run's lock.
#include "alarms/alarms_window.h"
#include "app/main_window.h"
#include "app/program_ui.h"
#include "platform/errors.h"
#include "platform/up_down_ui.h"
#include "sim/virtual_clock.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"
#include "testpoints/acq_table_window.h"
#include "testpoints/dataset.h"
#include "testpoints/dataset_model.h"
#include "testpoints/table_layouts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTableView>
#include <QtTest>

#include <memory>

using Fields = QMap<QString, QString>;

class AlarmsWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<VirtualClock> m_clock;
    std::unique_ptr<RecordingDialogs> m_dialogs;
    std::unique_ptr<FakeSystemCommands> m_system;
    std::unique_ptr<Program> m_program;

    TFormAlarms& Alarms() { return *m_program->FormAlarms; }
    Dataset& Table() { return m_program->workspace.AcquiredTable; }

    // A new set with these test points; the window is shown from its menu item.
    void NewSet(const std::vector<Fields>& points)
    {
        QVERIFY(m_program->workspace.CloseTestPointSet());
        m_program->workspace.NewTestPointSet();
        for (const Fields& point : points) {
            Table().Append();
            for (auto it = point.begin(); it != point.end(); ++it)
                Table().SetText(it.key(), it.value());
            Table().Post();
            m_program->workspace.availability.TestPointRowInserted();
        }
        m_program->VigiloForm->ManualAlarm1->trigger();
    }

    void ClickRow(int row)
    {
        TFAcqTable& grid = *m_program->FAcqTable;
        grid.DBGrid1CellClick(grid.DBGrid1->model()->index(row, 1));
    }

    // The stored test point `row` as the file holds it.
    Fields Stored(int row)
    {
        Dataset reader(QString(), WorkingCopyPath());
        reader.Open();
        reader.MoveTo(row);
        Fields out;
        for (const QString& name : reader.FieldNames())
            out[name] = reader.Text(name);
        return out;
    }

    // The threshold groups whose two controls are enabled, e.g. "LV MER CN".
    QString EnabledGroups()
    {
        TFormAlarms& w = Alarms();
        const std::pair<const char*, std::pair<QWidget*, QWidget*>> groups[] = {
            {"LV", {w.EditminLV, w.EditmaxLV}},     {"MER", {w.EditminMER, w.EditmaxMER}},
            {"CN", {w.EditminCN, w.EditmaxCN}},     {"VA", {w.EditminVA, w.EditmaxVA}},
            {"CBER", {w.DBminCBER, w.DBmaxCBER}},   {"VBER", {w.DBminVBER, w.DBmaxVBER}},
            {"LBER", {w.DBminLBER, w.DBmaxLBER}}};
        QStringList on;
        for (const auto& [name, controls] : groups) {
            if (controls.first->isEnabled() != controls.second->isEnabled())
                return QStringLiteral("minimum and maximum differ for ") + QLatin1String(name);
            if (controls.first->isEnabled())
                on << QLatin1String(name);
        }
        return on.join(QLatin1Char(' '));
    }

    QList<UpDown*> Arrows()
    {
        TFormAlarms& w = Alarms();
        return {w.UpDownMinLV, w.UpDownMaxLV, w.UpDownMinMER, w.UpDownMaxMER,
                w.UpDownMinCN, w.UpDownMaxCN, w.UpDownMinVA,  w.UpDownMaxVA};
    }

    static void Pick(QComboBox* list, const QString& item)
    {
        const int index = list->findText(item);
        QVERIFY2(index >= 0, qPrintable(item));
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempProgramFolder>();
        m_clock = std::make_unique<VirtualClock>();
        m_dialogs = std::make_unique<RecordingDialogs>();
        m_system = std::make_unique<FakeSystemCommands>();
        m_program = std::make_unique<Program>(*m_clock, *m_dialogs, *m_system, m_folder->Path());
        m_program->CreateWindows(false);
        m_dialogs->messages.clear();
    }

    void cleanup()
    {
        m_program.reset();
        m_folder.reset();
    }

    void startsWithEverythingDisabledUntilASetExists()
    {
        TFormAlarms& w = Alarms();
        QVERIFY(!w.DBWarning->isEnabled());
        QVERIFY(!w.Insert->isEnabled());
        QCOMPARE(EnabledGroups(), QString());
        for (UpDown* arrows : Arrows())
            QVERIFY(arrows->isHidden());
        QCOMPARE(w.EditminLV->text(), QStringLiteral("0"));
        QVERIFY(m_program->VigiloForm->AvisEstatAlarma->isHidden());
        QVERIFY(!w.MailingOn());

        NewSet({});
        QVERIFY(w.isVisible());
        QVERIFY(w.DBWarning->isEnabled());
        // Typed letters choose nothing.
        QTest::keyClick(w.DBWarning, Qt::Key_O);
        QCOMPARE(w.DBWarning->currentIndex(), -1);
        // An empty set has no test point to switch on.
        Pick(w.DBWarning, QStringLiteral("ON"));
        QCOMPARE(Table().RecordCount(), 0);
        QCOMPARE(EnabledGroups(), QString());
    }

    void offersTheThresholdsOfEachStandard_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("plan");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("DVB-T/H") << "DVB-T/H" << "TER" << "" << "CCIR" << "LV MER CN CBER VBER";
        QTest::newRow("8-VSB") << "8-VSB" << "TER" << "" << "FCC" << "LV MER CN CBER VBER";
        QTest::newRow("ISDB-T") << "ISDB-T" << "TER" << "" << "BRASIL" << "LV MER CN CBER VBER";
        QTest::newRow("DVB-T2") << "DVB-T2" << "TER" << "" << "CCIR" << "LV MER CN CBER LBER";
        QTest::newRow("DVB-S2") << "DVB-S2" << "SAT" << "" << "ASTRA" << "LV MER CN CBER LBER";
        QTest::newRow("DVB-S") << "DVB-S" << "SAT" << "" << "ASTRA" << "LV MER CN CBER VBER";
        QTest::newRow("DSS") << "DSS" << "SAT" << "" << "DTV" << "LV MER CN CBER VBER";
        QTest::newRow("DVB-C") << "DVB-C" << "TER" << "" << "CCIR" << "LV MER CN VBER";
        QTest::newRow("J-83") << "J-83" << "TER" << "" << "CCIR" << "LV MER CN VBER";
        QTest::newRow("DAB") << "DVB-C" << "TER" << "" << "DAB" << "LV";
        QTest::newRow("analogue TV") << "Analog" << "TER" << "Pal BG" << "CCIR" << "LV CN VA";
        QTest::newRow("FM") << "Analog" << "TER" << "FM" << "FM" << "LV";
        QTest::newRow("analogue satellite") << "Analog" << "SAT" << "Analog" << "" << "LV CN";
        QTest::newRow("analogue satellite system") << "Analog" << "SAT" << "Satellite" << "" << "LV CN";
        QTest::newRow("DTMB") << "DTMB" << "TER" << "" << "CHINA" << "LV MER CN LBER";
    }

    void offersTheThresholdsOfEachStandard()
    {
        QFETCH(QString, type);
        QFETCH(QString, band);
        QFETCH(QString, system);
        QFETCH(QString, plan);
        QFETCH(QString, enabled);
        NewSet({{{"type", type}, {"band", band}, {"system", system}, {"plan", plan}, {"alarm", "ON"}}});
        ClickRow(0);
        QCOMPARE(EnabledGroups(), enabled);
        for (UpDown* arrows : Arrows())
            QVERIFY(arrows->isVisible());
        QVERIFY(Alarms().Insert->isEnabled());
    }

    void loadShowsTheTestPointAndKeepsTheStateForAnUnknownType()
    {
        NewSet({{{"type", "DVB-T2"}, {"alarm", "ON"}, {"minLV", "45.5"}, {"maxCBER", "1.0E-3"}},
                {{"type", ""}, {"alarm", "ON"}},
                {{"type", "DVB-T2"}, {"alarm", "OFF"}, {"maxMER", "33"}}});
        TFormAlarms& w = Alarms();
        ClickRow(0);
        QCOMPARE(w.EditminLV->text(), QStringLiteral("45.5"));
        QCOMPARE(w.DBmaxCBER->currentText(), QStringLiteral("1.0E-3"));
        QCOMPARE(w.DBWarning->currentText(), QStringLiteral("ON"));
        QCOMPARE(w.TextIndex->text(), Stored(0).value("index"));
        ClickRow(1);
        QCOMPARE(EnabledGroups(), QStringLiteral("LV MER CN CBER LBER"));
        QCOMPARE(w.DBmaxCBER->currentIndex(), -1);
        ClickRow(2);
        QCOMPARE(EnabledGroups(), QString());
        QCOMPARE(w.EditmaxMER->text(), QStringLiteral("33"));
        QCOMPARE(w.DBWarning->currentText(), QStringLiteral("OFF"));
        // The arrows stay shown once the controls were enabled.
        QVERIFY(w.UpDownMaxMER->isVisible());
    }

    void switchingOnResetsTheBitErrorRatesAndOffKeepsTheThresholds()
    {
        NewSet({{{"type", "DVB-T/H"}, {"alarm", "OFF"}, {"minLV", "45"}, {"maxCBER", "1.0E-3"},
                 {"minVBER", "1.0E-7"}, {"maxLBER", "1.0E-2"}}});
        TFormAlarms& w = Alarms();
        ClickRow(0);
        QVERIFY(!m_program->workspace.testPointSetModified);
        Pick(w.DBWarning, QStringLiteral("ON"));
        QVERIFY(m_program->workspace.testPointSetModified);
        Fields stored = Stored(0);
        QCOMPARE(stored["alarm"], QStringLiteral("ON"));
        for (const char* ber : {"maxCBER", "minCBER", "maxVBER", "minVBER", "maxLBER", "minLBER"})
            QCOMPARE(stored[ber], QStringLiteral("OFF"));
        QCOMPARE(EnabledGroups(), QStringLiteral("LV MER CN CBER VBER"));
        QCOMPARE(w.DBmaxCBER->currentText(), QStringLiteral("OFF"));
        Pick(w.DBmaxCBER, QStringLiteral("1.0E-2"));
        Pick(w.DBWarning, QStringLiteral("ON"));
        QCOMPARE(Stored(0)["maxCBER"], QStringLiteral("1.0E-2"));

        Pick(w.DBWarning, QStringLiteral("OFF"));
        stored = Stored(0);
        QCOMPARE(stored["alarm"], QStringLiteral("OFF"));
        QCOMPARE(stored["minLV"], QStringLiteral("45"));
        QCOMPARE(EnabledGroups(), QString());
    }

    void aPickedRateIsStoredAtOnce()
    {
        NewSet({{{"type", "DVB-T/H"}, {"alarm", "ON"}}});
        TFormAlarms& w = Alarms();
        ClickRow(0);
        Pick(w.DBmaxVBER, QStringLiteral("1.0E-5"));
        Pick(w.DBminCBER, QStringLiteral("1.0E-6"));
        const Fields stored = Stored(0);
        QCOMPARE(stored["maxVBER"], QStringLiteral("1.0E-5"));
        QCOMPARE(stored["minCBER"], QStringLiteral("1.0E-6"));
        QCOMPARE(w.DBmaxVBER->count(), 9);
        QCOMPARE(w.DBmaxCBER->count(), 7);
    }

    void insertWritesTheEditsAndWalksToTheLastTestPoint()
    {
        NewSet({{{"type", "DVB-T/H"}, {"alarm", "ON"}, {"maxMER", "30"}},
                {{"type", "Analog"}, {"alarm", "OFF"}, {"minV/A", "7"}}});
        TFormAlarms& w = Alarms();
        ClickRow(0);
        w.EditminLV->setText(QStringLiteral("45,5"));
        w.EditmaxMER->clear();
        w.EditminVA->setText(QStringLiteral("3"));  // disabled for DVB-T/H, written all the same
        m_program->workspace.testPointSetModified = false;
        QTest::mouseClick(w.Insert, Qt::LeftButton);
        QVERIFY(m_program->workspace.testPointSetModified);
        Fields stored = Stored(0);
        QCOMPARE(stored["minLV"], QStringLiteral("45.5"));
        QCOMPARE(stored["maxMER"], QString());
        QCOMPARE(stored["minV/A"], QStringLiteral("3"));
        QCOMPARE(w.TextIndex->text(), Stored(1).value("index"));
        QCOMPARE(w.EditminVA->text(), QStringLiteral("7"));

        // On the last test point Insert stores it and shows it again.
        w.EditmaxLV->setText(QStringLiteral("80"));
        w.InsertClick();
        QCOMPARE(Stored(1)["maxLV"], QStringLiteral("80"));
        QCOMPARE(w.TextIndex->text(), Stored(1).value("index"));
        QCOMPARE(w.EditmaxLV->text(), QStringLiteral("80"));
    }

    void insertWithATextThatIsNoNumberChangesNothing()
    {
        NewSet({{{"type", "DVB-T/H"}, {"alarm", "ON"}}, {{"type", "DVB-T/H"}, {"alarm", "ON"}}});
        TFormAlarms& w = Alarms();
        ClickRow(0);
        w.EditminLV->setText(QStringLiteral("40"));
        w.EditmaxLV->setText(QStringLiteral("high"));
        QVERIFY_THROWS_EXCEPTION(VigiloError, w.InsertClick());
        QCOMPARE(Table().RecNo(), 0);
        Table().Refresh();
        QCOMPARE(Stored(0)["minLV"], QString());
    }

    void arrowsStepWithinTheirRange()
    {
        NewSet({{{"type", "DVB-T/H"}, {"alarm", "ON"}}});
        TFormAlarms& w = Alarms();
        ClickRow(0);
        w.EditmaxLV->setText(QStringLiteral("119.5"));
        w.UpDownMaxLV->StepUp();
        QCOMPARE(w.EditmaxLV->text(), QStringLiteral("120"));
        QTest::mouseClick(w.UpDownMaxLV->upButton, Qt::LeftButton);
        QCOMPARE(w.EditmaxLV->text(), QStringLiteral("120"));
        w.EditmaxMER->setText(QStringLiteral("50"));
        w.UpDownMaxMER->StepDown();
        QCOMPARE(w.EditmaxMER->text(), QStringLiteral("38"));
        w.EditminCN->setText(QStringLiteral("0"));
        w.UpDownMinCN->StepDown();
        QCOMPARE(w.EditminCN->text(), QStringLiteral("0"));
    }

    void mailingSwitchShowsTheIndicator()
    {
        TFormAlarms& w = Alarms();
        w.ManualAlarm1Click();
        QLabel* indicator = m_program->VigiloForm->AvisEstatAlarma;
        QTest::mouseClick(w.SendAlarm, Qt::LeftButton, {}, QPoint(8, w.SendAlarm->height() / 2));
        QVERIFY(w.MailingOn());
        QVERIFY(!indicator->isHidden());
        w.SendAlarm->setChecked(false);
        QVERIFY(indicator->isHidden());
    }

    void aRunLocksTheWindowAndLeavesTheThresholdsLocked()
    {
        NewSet({{{"type", "DVB-T/H"}, {"alarm", "ON"}}});
        TFormAlarms& w = Alarms();
        ClickRow(0);
        Availability& availability = m_program->workspace.availability;
        availability.RunEventOccurred(RunEvent::Running, false);
        QVERIFY(!w.DBWarning->isEnabled());
        QVERIFY(!w.Insert->isEnabled());
        QCOMPARE(EnabledGroups(), QString());
        availability.RunEventOccurred(RunEvent::Stopped, false);
        QVERIFY(w.DBWarning->isEnabled());
        QVERIFY(w.Insert->isEnabled());
        QCOMPARE(EnabledGroups(), QString());
        ClickRow(0);
        QCOMPARE(EnabledGroups(), QStringLiteral("LV MER CN CBER VBER"));
    }

    // The edits show a test point of the set that was open: another set must
    // not receive them.
    void anotherSetForgetsTheShownTestPoint()
    {
        NewSet({{{"type", "DVB-T/H"}, {"alarm", "ON"}, {"minLV", "45"}}});
        TFormAlarms& w = Alarms();
        ClickRow(0);
        QVERIFY(w.Insert->isEnabled());
        NewSet({{{"type", "DVB-T/H"}, {"alarm", "ON"}}});
        QVERIFY(!w.Insert->isEnabled());
        QCOMPARE(EnabledGroups(), QString());
        QCOMPARE(w.TextIndex->text(), QString());
        ClickRow(0);
        QCOMPARE(w.EditminLV->text(), QString());
        QVERIFY(w.Insert->isEnabled());
    }

    void captionsFollowTheLanguage()
    {
        TFormAlarms& w = Alarms();
        m_program->VigiloForm->Spanish1Click();
        QCOMPARE(w.windowTitle(), QString::fromUtf8("Configuración de Alarmas"));
        QCOMPARE(w.SendAlarm->text(), QString::fromUtf8("Envío de correo"));
        m_program->VigiloForm->English1Click();
        QCOMPARE(w.windowTitle(), QStringLiteral("Alarm Configuration"));
        QCOMPARE(w.Insert->text(), QStringLiteral("Insert >>"));
    }
};

QTEST_MAIN(AlarmsWindowTest)
#include "alarms_window_test.moc"
