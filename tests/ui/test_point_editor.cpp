// SPDX-License-Identifier: GPL-3.0-or-later
// The test point editor, the "TP Edition" window and the channel plan
// windows, driven by their controls' object names in the whole program.
#include "app/main_window.h"
#include "app/program_ui.h"
#include "platform/errors.h"
#include "platform/settings.h"
#include "sim/virtual_clock.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"
#include "testpoints/acq_table_window.h"
#include "testpoints/channel_plan_window.h"
#include "testpoints/data_module.h"
#include "testpoints/table_commands_ui.h"
#include "testpoints/table_layouts.h"
#include "testpoints/test_point_config_window.h"
#include "testpoints/tp_edition_window.h"

#include <QAction>
#include <QComboBox>
#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <map>
#include <memory>

using Fields = std::map<QString, QString>;
Q_DECLARE_METATYPE(Fields)

class TestPointEditorTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<VirtualClock> m_clock;
    std::unique_ptr<RecordingDialogs> m_dialogs;
    std::unique_ptr<FakeSystemCommands> m_system;
    std::unique_ptr<Program> m_program;

    TTPointConf& Editor() { return *m_program->TPointConf; }
    TTP_Edition& Edition() { return *m_program->TP_Edition; }
    Dataset& Set() { return m_program->workspace.AcquiredTable; }
    Workspace& Space() { return m_program->workspace; }

    template <typename T = QWidget>
    T* Control(QWidget& window, const char* name)
    {
        T* control = window.findChild<T*>(QLatin1String(name));
        if (!control)
            qFatal("no control %s in %s", name, qPrintable(window.objectName()));
        return control;
    }
    void Click(QWidget& window, const char* name) { Control<QPushButton>(window, name)->click(); }
    QString TextOf(const char* name)
    {
        QWidget* control = Control(Editor(), name);
        if (auto* list = qobject_cast<QComboBox*>(control))
            return list->currentText();
        return qobject_cast<QLineEdit*>(control)->text();
    }
    // A user's pick from a list: the text, then the list's change handler.
    void Pick(const char* name, const QString& text)
    {
        auto* list = Control<QComboBox>(Editor(), name);
        const int index = list->findText(text);
        QVERIFY2(index >= 0, qPrintable(QStringLiteral("%1 does not offer %2").arg(QLatin1String(name), text)));
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    void NewSet()
    {
        m_dialogs->saveAnswers.push_back(MeasurementsFolder() + QStringLiteral("/m.db"));
        m_program->TableCommandsOfMain->NewReportBtnClick();
        m_program->TableCommandsOfMain->NewAcqButtonClick();
    }
    // A stored row of the set with `fields` and alarm thresholds set.
    void AddRow(const Fields& fields)
    {
        Set().Append();
        for (const auto& [name, value] : fields)
            Set().SetText(name, value);
        Set().SetText(QStringLiteral("alarm"), QStringLiteral("ON"));
        Set().SetNumber(QStringLiteral("maxLV"), 80);
        Set().SetText(QStringLiteral("minCBER"), QStringLiteral("1E-3"));
        Set().Post();
        // As any command that adds or opens rows does.
        Space().availability.Grant(Command::EditorEdit);
    }
    QStringList Channels()
    {
        Set().Refresh();
        QStringList out;
        for (Set().First(); !Set().Eof(); Set().Next())
            out.append(Set().Text(QStringLiteral("ch")));
        return out;
    }
    bool ReportsTaken()
    {
        return !Main().ViewGroupedReportBtn->isEnabled() && !Main().ViewFilteredReportBtn->isEnabled();
    }
    TVigilo& Main() { return *m_program->VigiloForm; }

    // A plan file in the program's plan folder, with the given rows.
    QString WritePlan(const char* dbname, const QString& name, const std::vector<FieldDef>& layout,
                      const std::vector<Fields>& rows)
    {
        const QString path = DatabaseSubFolder(QLatin1String(dbname)) + QLatin1Char('/') + name;
        Dataset plan(QString(), path);
        plan.CreateTable(layout);
        plan.Open();
        for (const Fields& row : rows) {
            plan.Append();
            for (const auto& [field, value] : row)
                plan.SetText(field, value);
            plan.Post();
        }
        plan.Close();
        return path;
    }
    static QByteArray Digest(const QString& path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }
    static Fields TerRow(const char* ch, const char* plan)
    {
        return {{QStringLiteral("ch"), QLatin1String(ch)},
                {QStringLiteral("analog freq"), QStringLiteral("175,25")},
                {QStringLiteral("digital freq"), QStringLiteral("177,5")},
                {QStringLiteral("channel spacing"), QStringLiteral("7")},
                {QStringLiteral("system"), QStringLiteral("Pal BG")},
                {QStringLiteral("plan"), QLatin1String(plan)}};
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
        m_dialogs->messages.clear();  // the missing settings file at first start
    }

    void cleanup()
    {
        m_program.reset();
        m_folder.reset();
    }

    void editAndInsertWaitForASetAndALoadedRow()
    {
        QVERIFY(!Editor().Edit->isEnabled() && !Editor().Insert->isEnabled());
        NewSet();
        QVERIFY(!Editor().Edit->isEnabled());
        Click(Edition(), "AddBLANKTP");
        QVERIFY(Editor().Edit->isEnabled() && !Editor().Insert->isEnabled());
        QVERIFY(m_program->FAcqTable->DBGrid1->isEnabled());
        // Any change of the symbol rate stores the pending row and edits it again.
        QCOMPARE(Set().RecordCount(), 0);
        Control<QLineEdit>(Editor(), "EditSRate")->setText(QStringLiteral("27500"));
        QCOMPARE(Set().RecordCount(), 1);
        QCOMPARE(Set().State(), DatasetState::Edit);
        Click(Editor(), "Edit");
        QVERIFY(Editor().Insert->isEnabled());
        // A blank row has the empty type: everything but the band waits for a type.
        QVERIFY(Control(Editor(), "SelBand")->isEnabled());
        for (const char* name : {"SelType", "EditSRate", "SelModulation", "SelLNB", "SelLayer"})
            QVERIFY2(!Control(Editor(), name)->isEnabled(), name);
        // The menu items open the windows.
        Main().TPointConfig1->trigger();
        QVERIFY(Editor().isVisible());
        Main().EditTPTable->trigger();
        QVERIFY(Edition().isVisible());
    }

    void editLoadsEveryTypeWithItsSetUp_data()
    {
        QTest::addColumn<Fields>("row");
        QTest::addColumn<Fields>("shown");
        QTest::addColumn<QStringList>("enabled");
        const QStringList always{QStringLiteral("EditName"), QStringLiteral("EditFreq")};
        const auto f = [](std::initializer_list<std::pair<const char*, const char*>> pairs) {
            Fields out;
            for (const auto& [k, v] : pairs)
                out[QLatin1String(k)] = QLatin1String(v);
            return out;
        };
        const auto names = [&always](std::initializer_list<const char*> list) {
            QStringList out = always;
            for (const char* name : list)
                out.append(QLatin1String(name));
            return out;
        };
        QTest::newRow("DVB-C: the bandwidth is emptied")
            << f({{"type", "DVB-C"}, {"band", "TER"}, {"bw", "7.91"}, {"symbol rate", "6875"}, {"modulation", "64QAM"},
                  {"inv.spectral", "ON"}, {"lnb", "External"}})
            << f({{"SelBW", ""}, {"EditSRate", "6875"}, {"SelModulation", "64QAM"}, {"SelLNB", "External"}})
            << names({"EditSRate", "SelModulation", "SelInvSpec"});
        QTest::newRow("J-83: the bandwidth is 6")
            << f({{"type", "J-83"}, {"band", "TER"}, {"bw", ""}, {"symbol rate", "5361"}, {"modulation", "256QAM"}})
            << f({{"SelBW", "6"}, {"EditSRate", "5361"}, {"SelModulation", "256QAM"}})
            << names({"SelModulation", "SelInvSpec"});
        QTest::newRow("DVB-T/H") << f({{"type", "DVB-T/H"}, {"band", "TER"}, {"bw", "8"}, {"carrier", "2K"}, {"g.interval", "1/8"}, {"modulation", "QPSK"}})
                                 << f({{"SelBW", "8"}, {"SelCarrier", "2K"}, {"SelGuarda", "1/8"}, {"SelModulation", ""}})
                                 << names({"SelCarrier", "SelBW", "SelInvSpec", "SelGuarda"});
        QTest::newRow("DVB-T2") << f({{"type", "DVB-T2"}, {"band", "TER"}, {"bw", "7"}, {"symbol rate", "999"}})
                                << f({{"SelBW", "7"}, {"EditSRate", ""}}) << names({"SelBW", "SelInvSpec"});
        QTest::newRow("8-VSB") << f({{"type", "8-VSB"}, {"band", "TER"}, {"bw", "8"}})
                               << f({{"SelBW", "6"}, {"SelLNB", ""}}) << names({"SelInvSpec"});
        QTest::newRow("ISDB-T: the layer is loaded")
            << f({{"type", "ISDB-T"}, {"band", "TER"}, {"layer", "C"}, {"carrier", "8K"}})
            << f({{"SelLayer", "C"}, {"SelBW", "6"}, {"SelCarrier", "8K"}})
            << names({"SelCarrier", "SelInvSpec", "SelGuarda", "SelLayer"});
        QTest::newRow("DTMB") << f({{"type", "DTMB"}, {"band", "TER"}, {"bw", "6"}})
                              << f({{"SelBW", "8"}}) << names({});
        QTest::newRow("DVB-S") << f({{"type", "DVB-S"}, {"band", "SAT"}, {"code rate", "5/6"}, {"lnb", "13v"}, {"symbol rate", "27500"}})
                               << f({{"SelCodeRate", "5/6"}, {"SelLNB", "13v"}, {"EditSRate", "27500"}, {"SelBW", ""}})
                               << names({"EditSRate", "SelCodeRate", "SelInvSpec", "SelLNB"});
        QTest::newRow("DVB-S2") << f({{"type", "DVB-S2"}, {"band", "SAT"}, {"modulation", "8PSK"}, {"code rate", "9/10"}})
                                << f({{"SelModulation", "8PSK"}, {"SelCodeRate", "9/10"}})
                                << names({"EditSRate", "SelModulation", "SelCodeRate", "SelInvSpec", "SelLNB"});
        QTest::newRow("DSS: fixed rate and bandwidth, the row's code rate")
            << f({{"type", "DSS"}, {"band", "SAT"}, {"symbol rate", "27500"}, {"bw", "36"}, {"code rate", "2/3"}})
            << f({{"EditSRate", "20000"}, {"SelBW", "27"}, {"SelCodeRate", "2/3"}})
            << names({"SelCodeRate", "SelInvSpec", "SelLNB"});
        QTest::newRow("Analog TER") << f({{"type", "Analog"}, {"band", "TER"}, {"system", "Pal I"}, {"bw", "8"}, {"lnb", "18v"}})
                                    << f({{"SelSystem", "Pal I"}, {"SelBW", "8"}, {"SelLNB", "18v"}})
                                    << names({"SelSystem", "SelBW"});
        QTest::newRow("Analog SAT") << f({{"type", "Analog"}, {"band", "SAT"}, {"system", "Satellite"}, {"bw", "27"}})
                                    << f({{"SelSystem", ""}, {"SelBW", "27"}}) << names({"SelBW", "SelLNB"});
    }

    void editLoadsEveryTypeWithItsSetUp()
    {
        QFETCH(Fields, row);
        QFETCH(Fields, shown);
        QFETCH(QStringList, enabled);
        Space().modelCode = 12;
        NewSet();
        Fields stored = row;
        stored[QStringLiteral("ch")] = QStringLiteral("CH1");
        stored[QStringLiteral("freq")] = QStringLiteral("474");
        AddRow(stored);
        Click(Editor(), "Edit");
        QCOMPARE(TextOf("EditName"), QStringLiteral("CH1"));
        QCOMPARE(TextOf("SelType"), row.at(QStringLiteral("type")));
        QCOMPARE(TextOf("SelBand"), row.at(QStringLiteral("band")));
        for (const auto& [control, text] : shown)
            QVERIFY2(TextOf(qPrintable(control)) == text,
                     qPrintable(QStringLiteral("%1 shows '%2'").arg(control, TextOf(qPrintable(control)))));
        for (const char* name : {"EditName", "EditFreq", "EditSRate", "SelSystem", "SelModulation", "SelCarrier",
                                 "SelBW", "SelCodeRate", "SelInvSpec", "SelGuarda", "SelLNB", "SelLayer"})
            QVERIFY2(Control(Editor(), name)->isEnabled() == enabled.contains(QLatin1String(name)), name);
        // The type list follows the band shown and the analyser.
        auto* types = Control<QComboBox>(Editor(), "SelType");
        QCOMPARE(types->count(), 4);
        QCOMPARE(types->itemText(types->count() - 1),
                 row.at(QStringLiteral("band")) == QLatin1String("TER") ? QStringLiteral("DTMB") : QStringLiteral("DSS"));
    }

    void userChoicesRebuildListsAndInsertWritesTheRow()
    {
        Space().modelCode = 4;
        NewSet();
        AddRow({{QStringLiteral("ch"), QStringLiteral("OLD")}, {QStringLiteral("type"), QStringLiteral("DVB-S2")},
                {QStringLiteral("band"), QStringLiteral("SAT")}, {QStringLiteral("freq"), QStringLiteral("1200")},
                {QStringLiteral("modulation"), QStringLiteral("8PSK")}, {QStringLiteral("plan"), QStringLiteral("HOTBIRD")}});
        Click(Editor(), "Edit");

        // A new band empties the frequency and the type and offers its types.
        Pick("SelBand", QStringLiteral("TER"));
        QVERIFY(TextOf("EditFreq").isEmpty() && TextOf("SelType").isEmpty());
        QVERIFY(Control(Editor(), "SelType")->isEnabled() && !Control(Editor(), "SelModulation")->isEnabled());
        QCOMPARE(Control<QComboBox>(Editor(), "SelType")->count(), 4);

        // J-83: BW 6, and the modulation picks the annex B symbol rate.
        Pick("SelType", QStringLiteral("J-83"));
        QCOMPARE(TextOf("SelBW"), QStringLiteral("6"));
        QCOMPARE(TextOf("SelModulation"), QString());  // 8PSK is no J-83 modulation
        QCOMPARE(Control<QComboBox>(Editor(), "SelModulation")->count(), 2);
        Pick("SelModulation", QStringLiteral("256QAM"));
        QCOMPARE(TextOf("EditSRate"), QStringLiteral("5361"));
        QVERIFY(!Control(Editor(), "EditSRate")->isEnabled());
        Pick("SelInvSpec", QStringLiteral("OFF"));
        Control<QLineEdit>(Editor(), "EditFreq")->setText(QStringLiteral("5"));
        Control<QLineEdit>(Editor(), "EditName")->setText(QStringLiteral("J83"));

        Space().testPointSetModified = false;
        Space().availability.Grant(Command::ReportByTestPoint);
        Space().availability.Grant(Command::ReportMinMaxAvg);
        Click(Editor(), "Insert");
        QVERIFY(m_dialogs->messages.isEmpty());
        QVERIFY(Space().testPointSetModified);
        QVERIFY(ReportsTaken());
        QCOMPARE(Set().RecordCount(), 1);
        Set().Refresh();
        const Fields expected{{QStringLiteral("ch"), QStringLiteral("J83")},        {QStringLiteral("freq"), QStringLiteral("5")},
                              {QStringLiteral("symbol rate"), QStringLiteral("5361")}, {QStringLiteral("type"), QStringLiteral("J-83")},
                              {QStringLiteral("bw"), QStringLiteral("6")},          {QStringLiteral("modulation"), QStringLiteral("256QAM")},
                              {QStringLiteral("inv.spectral"), QStringLiteral("OFF")}, {QStringLiteral("lnb"), QStringLiteral("External")},
                              {QStringLiteral("band"), QStringLiteral("TER")},      {QStringLiteral("plan"), QString()},
                              {QStringLiteral("code rate"), QString()},             {QStringLiteral("alarm"), QStringLiteral("OFF")},
                              {QStringLiteral("maxLV"), QStringLiteral("0")},       {QStringLiteral("minCBER"), QStringLiteral("OFF")}};
        for (const auto& [field, value] : expected)
            QVERIFY2(Set().Text(field) == value, qPrintable(field + QStringLiteral(": ") + Set().Text(field)));

        // DVB-S2: the code rates follow the modulation.
        Pick("SelBand", QStringLiteral("SAT"));
        Pick("SelType", QStringLiteral("DVB-S2"));
        QVERIFY(Control(Editor(), "SelCodeRate")->isEnabled());
        Pick("SelModulation", QStringLiteral("QPSK"));
        QCOMPARE(Control<QComboBox>(Editor(), "SelCodeRate")->count(), 11);
        Pick("SelCodeRate", QStringLiteral("1/4"));
        Pick("SelModulation", QStringLiteral("8PSK"));
        QCOMPARE(TextOf("SelCodeRate"), QString());
        QCOMPARE(Control<QComboBox>(Editor(), "SelCodeRate")->count(), 6);
    }

    void insertStoresTheCableBandwidthAndRefusesBadValues()
    {
        Space().modelCode = 0;
        NewSet();
        AddRow({{QStringLiteral("ch"), QStringLiteral("C1")}, {QStringLiteral("type"), QStringLiteral("DVB-C")},
                {QStringLiteral("band"), QStringLiteral("TER")}, {QStringLiteral("freq"), QStringLiteral("4.9")},
                {QStringLiteral("symbol rate"), QStringLiteral("6875")}, {QStringLiteral("modulation"), QStringLiteral("64QAM")},
                {QStringLiteral("inv.spectral"), QStringLiteral("ON")}});
        Click(Editor(), "Edit");
        Click(Editor(), "Insert");
        QCOMPARE(m_dialogs->messages, QStringList({QStringLiteral("FRQ min = 5")}));
        Set().Refresh();
        QCOMPARE(Set().Text(QStringLiteral("alarm")), QStringLiteral("ON"));  // unchanged

        // Not a number: the conversion error, and nothing written.
        Control<QLineEdit>(Editor(), "EditFreq")->setText(QStringLiteral("1.2.3"));
        QVERIFY_THROWS_EXCEPTION(VigiloError, Editor().InsertClick());
        Set().Refresh();
        QCOMPARE(Set().Text(QStringLiteral("freq")), QStringLiteral("4.9"));

        Control<QLineEdit>(Editor(), "EditFreq")->setText(QStringLiteral("474"));
        Click(Editor(), "Insert");
        QCOMPARE(TextOf("SelBW"), QStringLiteral("7.91"));
        Set().Refresh();
        QCOMPARE(Set().Text(QStringLiteral("bw")), QStringLiteral("7.91"));
        QCOMPARE(Set().Text(QStringLiteral("maxLV")), QStringLiteral("0"));
        QCOMPARE(Set().Text(QStringLiteral("minCBER")), QStringLiteral("OFF"));
    }

    void keyFiltersAndLengthLimits()
    {
        auto* freq = Control<QLineEdit>(Editor(), "EditFreq");
        QTest::keyClicks(freq, QStringLiteral("12a.5,x77"));
        QCOMPARE(freq->text(), QStringLiteral("12.577"));
        auto* rate = Control<QLineEdit>(Editor(), "EditSRate");
        QTest::keyClicks(rate, QStringLiteral("27.5000"));
        QCOMPARE(rate->text(), QStringLiteral("27500"));
        auto* name = Control<QLineEdit>(Editor(), "EditName");
        QTest::keyClicks(name, QStringLiteral("CHANNEL-21"));
        QCOMPARE(name->text(), QStringLiteral("CHANNEL-"));
        auto* bw = Control<QComboBox>(Editor(), "SelBW");
        bw->setEditText(QString());
        QTest::keyClicks(bw, QStringLiteral("7b.25"));
        QCOMPARE(bw->currentText(), QStringLiteral("7.25"));
        // The lists take no key at all, arrows included.
        auto* band = Control<QComboBox>(Editor(), "SelBand");
        SetListTextForTest(band, QStringLiteral("TER"));
        QTest::keyClicks(band, QStringLiteral("SAT"));
        QTest::keyClick(band, Qt::Key_Down);
        QCOMPARE(band->currentText(), QStringLiteral("TER"));
    }

    void aRunLocksTheFieldsAndGivesBackTheSetUp()
    {
        NewSet();
        AddRow({{QStringLiteral("type"), QStringLiteral("DVB-S")}, {QStringLiteral("band"), QStringLiteral("SAT")}});
        Click(Editor(), "Edit");
        QVERIFY(Control(Editor(), "SelCodeRate")->isEnabled() && !Control(Editor(), "SelCarrier")->isEnabled());
        Space().availability.RunEventOccurred(RunEvent::Running, true);
        for (const char* name : {"EditFreq", "SelBand", "SelType", "SelCodeRate", "SelLNB"})
            QVERIFY2(!Control(Editor(), name)->isEnabled(), name);
        QVERIFY(!Editor().Insert->isEnabled());
        // A row loaded meanwhile does not bring "Insert" back.
        Click(Editor(), "Edit");
        QVERIFY(!Editor().Insert->isEnabled() && !Control(Editor(), "SelCodeRate")->isEnabled());
        Space().availability.RunEventOccurred(RunEvent::Stopped, true);
        QVERIFY(Control(Editor(), "SelCodeRate")->isEnabled() && Control(Editor(), "EditFreq")->isEnabled());
        QVERIFY(!Control(Editor(), "SelCarrier")->isEnabled());
        QVERIFY(!Editor().Insert->isEnabled());
    }

    void tableCommandsByTheirButtons()
    {
        NewSet();
        Click(Edition(), "AddBLANKTP");
        Set().SetText(QStringLiteral("ch"), QStringLiteral("A"));
        Click(Edition(), "AddBLANKTP");
        Set().SetText(QStringLiteral("ch"), QStringLiteral("C"));
        Set().Refresh();
        Set().Last();
        Click(Edition(), "InsertBLANKTP");
        Set().SetText(QStringLiteral("ch"), QStringLiteral("B"));
        QCOMPARE(Channels(), QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));

        Space().availability.Grant(Command::ReportByTestPoint);
        Space().availability.Grant(Command::ReportMinMaxAvg);
        Set().First();
        Click(Edition(), "CutTP");
        QVERIFY(ReportsTaken());
        Set().Last();
        Click(Edition(), "PasteTP");
        QCOMPARE(Channels(), QStringList({QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C")}));
        Set().First();
        Click(Edition(), "DelONETP");
        QCOMPARE(Channels(), QStringList({QStringLiteral("A"), QStringLiteral("C")}));
        Set().First();
        Click(Edition(), "CopyTP");
        Click(Edition(), "DelALLTP");
        QVERIFY(Channels().isEmpty());
        QVERIFY(!m_program->FAcqTable->DBGrid1->isEnabled());
        Click(Edition(), "PasteTP");
        QCOMPARE(Channels(), QStringList({QStringLiteral("A")}));
    }

    void theClipboardOutlivesTheSet()
    {
        NewSet();
        AddRow({{QStringLiteral("ch"), QStringLiteral("KEEP")}, {QStringLiteral("type"), QStringLiteral("DVB-T2")}});
        Set().First();
        Click(Edition(), "CopyTP");
        m_dialogs->answers.push_back(false);  // do not save the first set
        m_program->TableCommandsOfMain->NewAcqButtonClick();
        QCOMPARE(Set().RecordCount(), 0);
        Click(Edition(), "PasteTP");
        QCOMPARE(Channels(), QStringList({QStringLiteral("KEEP")}));
        Set().First();
        QCOMPARE(Set().Text(QStringLiteral("type")), QStringLiteral("DVB-T2"));
        QCOMPARE(Set().Text(QStringLiteral("maxLV")), QStringLiteral("80"));
    }

    void aDabPlanOffersOnlyItsOwnButtonAndIsNeverChanged()
    {
        Space().modelCode = 0;
        NewSet();
        const QString file = WritePlan(dbnames::kTerrestrial, QStringLiteral("DAB.db"), TerrestrialPlanFields(),
                                       {TerRow("5A", "DAB"), TerRow("5B", "DAB")});
        const QByteArray before = Digest(file);
        m_dialogs->openAnswers.push_back(file);
        Space().testPointSetModified = false;
        Click(Edition(), "AddTERCH");
        QVERIFY(Space().testPointSetModified);
        QCOMPARE(m_dialogs->openRequests.back().initialFolder, DatabaseSubFolder(QStringLiteral("Terrestrial")));
        TTerChannelsForm& plans = *Edition().TerChannelsForm;
        QVERIFY(plans.isVisible());
        QVERIFY(Control(plans, "ButtonAddDAB")->isEnabled());
        for (const char* name : {"ButtonAddDVBC", "ButtonAddDVBT", "AddJ83", "Add8VSB", "AddDVBT2", "AddISDBT",
                                 "AddDTMB", "AddAnalog", "CBAddAnalog", "Layer"})
            QVERIFY2(!Control(plans, name)->isEnabled(), name);
        QCOMPARE(plans.DBGrid1->model()->rowCount(), 2);

        plans.DBGrid1->selectRow(1);
        Click(plans, "ButtonAddDAB");
        Set().Refresh();
        Set().Last();
        QCOMPARE(Set().Text(QStringLiteral("ch")), QStringLiteral("5B"));
        QCOMPARE(Set().Text(QStringLiteral("type")), QStringLiteral("DVB-C"));
        QCOMPARE(Set().Text(QStringLiteral("plan")), QStringLiteral("DAB"));
        QCOMPARE(Set().Text(QStringLiteral("freq")), QStringLiteral("177.5"));
        QVERIFY(Editor().Edit->isEnabled());

        QTest::keyClick(&plans, Qt::Key_Escape);
        QVERIFY(!plans.isVisible());
        QVERIFY(!m_program->DataModule1->TerTable.IsOpen());
        QCOMPARE(Digest(file), before);
    }

    void aTerrestrialPlanAddsTheStandardsOfTheAnalyser()
    {
        Space().modelCode = 11;
        NewSet();
        const QString file = WritePlan(dbnames::kTerrestrial, QStringLiteral("BR.db"), TerrestrialPlanFields(),
                                       {TerRow("7", "ISDB-T BR")});
        m_dialogs->openAnswers.push_back(file);
        Click(Edition(), "AddTERCH");
        TTerChannelsForm& plans = *Edition().TerChannelsForm;
        for (const char* name : {"AddJ83", "ButtonAddDVBC", "AddISDBT", "Layer", "AddAnalog", "CBAddAnalog"})
            QVERIFY2(Control(plans, name)->isEnabled(), name);
        for (const char* name : {"Add8VSB", "ButtonAddDVBT", "AddDVBT2", "AddDTMB", "ButtonAddDAB"})
            QVERIFY2(!Control(plans, name)->isEnabled(), name);

        Click(plans, "AddISDBT");
        // An analogue add needs its system.
        Click(plans, "AddAnalog");
        QCOMPARE(m_dialogs->messages, QStringList({QStringLiteral("Select the system")}));
        auto* systems = Control<QComboBox>(plans, "CBAddAnalog");
        plans.CBAddAnalogDropDown();
        QCOMPARE(systems->count(), 2);
        QCOMPARE(systems->itemText(0), QStringLiteral("Pal M"));
        systems->setCurrentIndex(0);
        Click(plans, "AddAnalog");
        QCOMPARE(Channels(), QStringList({QStringLiteral("7"), QStringLiteral("7")}));
        Set().First();
        QCOMPARE(Set().Text(QStringLiteral("type")), QStringLiteral("ISDB-T"));
        QCOMPARE(Set().Text(QStringLiteral("layer")), QStringLiteral("A"));
        Set().Next();
        QCOMPARE(Set().Text(QStringLiteral("type")), QStringLiteral("Analog"));
        QCOMPARE(Set().Text(QStringLiteral("system")), QStringLiteral("Pal M"));
        QCOMPARE(Set().Text(QStringLiteral("freq")), QStringLiteral("175.25"));

        // A cancelled dialog leaves the plan as it was.
        Click(Edition(), "AddTERCH");
        QVERIFY(m_program->DataModule1->TerTable.IsOpen());
    }

    void aSatellitePlanRowIsAddedWithItsParameters()
    {
        NewSet();
        Fields row{{QStringLiteral("Id"), QStringLiteral("1")},        {QStringLiteral("ch"), QStringLiteral("10719V")},
                   {QStringLiteral("freq"), QStringLiteral("969")},     {QStringLiteral("lnb"), QStringLiteral("13v")},
                   {QStringLiteral("channel spacing"), QStringLiteral("33")}, {QStringLiteral("modulation"), QStringLiteral("QPSK")},
                   {QStringLiteral("type"), QStringLiteral("DVB-S")},   {QStringLiteral("symbol rate"), QStringLiteral("27500")},
                   {QStringLiteral("code rate"), QStringLiteral("5/6")}, {QStringLiteral("Satellite"), QStringLiteral("HOTBIRD 13E")},
                   {QStringLiteral("invspec"), QStringLiteral("OFF")}};
        const QString file = WritePlan(dbnames::kSatellite, QStringLiteral("SAT.db"), SatellitePlanFields(), {row});
        const QByteArray before = Digest(file);
        m_dialogs->openAnswers.push_back(file);
        Click(Edition(), "AddSATCH");
        QCOMPARE(m_dialogs->openRequests.back().initialFolder, DatabaseSubFolder(QStringLiteral("Satellite")));
        TSatChannelsForm& plans = *Edition().SatChannelsForm;
        Click(plans, "Button1");
        Set().Refresh();
        Set().Last();
        QCOMPARE(Set().Text(QStringLiteral("ch")), QStringLiteral("10719V"));
        QCOMPARE(Set().Text(QStringLiteral("band")), QStringLiteral("SAT"));
        QCOMPARE(Set().Text(QStringLiteral("plan")), QStringLiteral("HOTBIRD 13E"));
        QCOMPARE(Set().Text(QStringLiteral("modulation")), QStringLiteral("QPSK"));
        QCOMPARE(Set().Text(QStringLiteral("inv.spectral")), QStringLiteral("OFF"));
        // Closing the satellite window leaves its plan open.
        plans.close();
        QVERIFY(m_program->DataModule1->SatTable.IsOpen());
        m_program->DataModule1->SatTable.Close();
        QCOMPARE(Digest(file), before);
    }

    void captionsFollowTheLanguage()
    {
        Main().Spanish1Click();
        QCOMPARE(Editor().windowTitle(), QStringLiteral("Tabla Puntos de Test"));
        QCOMPARE(Control<QLabel>(Editor(), "Label2")->text(), QStringLiteral("Señal"));
        QCOMPARE(Edition().windowTitle(), QStringLiteral("Edición de Puntos de Test"));
        QCOMPARE(Control<QLabel>(Edition(), "Label1")->text(), QStringLiteral("CANALIZACIONES"));
        QCOMPARE(Control<QPushButton>(Edition(), "CopyTP")->text(), QStringLiteral("COPIAR"));
        QCOMPARE(Control<QPushButton>(Edition(), "DelALLTP")->property("caption").toString(),
                 QStringLiteral("BORRAR TODOS LOS TP"));
        QCOMPARE(Edition().TerChannelsForm->windowTitle(), QStringLiteral("Canalizaciones Terrestre"));
        QCOMPARE(Edition().SatChannelsForm->windowTitle(), QStringLiteral("Canalizaciones Satélite"));
        Main().English1Click();
        QCOMPARE(Editor().windowTitle(), QStringLiteral("Edit Test Points"));
        QCOMPARE(Control<QPushButton>(Edition(), "AddTERCH")->property("caption").toString(), QStringLiteral("ADD TER CH"));
        QCOMPARE(Control<QComboBox>(*Edition().TerChannelsForm, "CBAddAnalog")->placeholderText(),
                 QStringLiteral("Add Analog "));
    }

private:
    static void SetListTextForTest(QComboBox* list, const QString& text)
    {
        list->setCurrentIndex(list->findText(text));
    }
};

QTEST_MAIN(TestPointEditorTest)
#include "test_point_editor.moc"
