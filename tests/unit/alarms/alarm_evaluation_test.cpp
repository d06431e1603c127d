// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarm_evaluation.h"

#include "platform/settings.h"
#include "support/recording_mailer.h"
#include "support/temp_folder.h"
#include "testpoints/dataset.h"
#include "testpoints/table_files.h"
#include "testpoints/table_layouts.h"

#include <QMap>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {
using Fields = QMap<QString, QString>;

// One test point and the completed, not yet stored Measurements row of its
// visit, as the run hands them to the evaluation.
class AlarmFixture : public ::testing::Test {
protected:
    AlarmFixture()
    {
        RegisterDatabase(QStringLiteral("AlarmTest"), folder.Path());
        testPoint.SetDatabaseName(QStringLiteral("AlarmTest"));
        testPoint.SetTableName(QStringLiteral("points"));
        testPoint.CreateTable(TestPointFields());
        testPoint.Open();
        measurements.SetDatabaseName(QStringLiteral("AlarmTest"));
        measurements.SetTableName(QStringLiteral("measurements"));
        measurements.CreateTable(MeasurementFields());
        measurements.Open();
        mail.sendAlarm = true;
    }

    // A DVB-T/H test point with every threshold off, then `point` on top;
    // the row of its visit with `row` (a field left out stays empty).
    void Prepare(const Fields& point, const Fields& row)
    {
        Fields tp{{"type", "DVB-T/H"}, {"band", "TER"}, {"plan", "CCIR"}, {"alarm", "ON"}, {"freq", "474"}};
        for (const char* f : {"minLV", "maxLV", "minMER", "maxMER", "minC/N", "maxC/N", "minV/A", "maxV/A"})
            tp[f] = "0";
        for (const char* f : {"minCBER", "maxCBER", "minVBER", "maxVBER", "minLBER", "maxLBER"})
            tp[f] = "OFF";
        for (auto it = point.begin(); it != point.end(); ++it)
            tp[it.key()] = it.value();
        testPoint.Append();
        for (auto it = tp.begin(); it != tp.end(); ++it)
            testPoint.SetText(it.key(), it.value());
        testPoint.Post();
        testPoint.Edit();

        measurements.Append();
        Fields r{{"index", "7"}, {"freq", "474"}, {"type", tp["type"]}, {"warning", "NO"}};
        for (auto it = row.begin(); it != row.end(); ++it)
            r[it.key()] = it.value();
        for (auto it = r.begin(); it != r.end(); ++it)
            measurements.SetText(it.key(), it.value());
    }

    int Evaluate(Mailer* through)
    {
        return EvaluateAlarms(testPoint, measurements, mail, through, QStringLiteral("Measure Location : Mast 3"));
    }
    int Evaluate() { return Evaluate(&mailer); }

    QStringList Subjects() const
    {
        QStringList subjects;
        for (const auto& m : mailer.alarmMails)
            subjects << m.subject;
        return subjects;
    }
    QString Warning() const { return measurements.Text(QStringLiteral("warning")); }

    TempProgramFolder folder;
    Dataset testPoint;
    Dataset measurements;
    AlarmMailValues mail;
    RecordingMailer mailer;
};

struct RuleCase {
    const char* name;
    Fields point;
    Fields row;
    QStringList subjects;  // empty: no rule fires
};

void PrintTo(const RuleCase& c, std::ostream* os)
{
    *os << c.name;
}

class AlarmRuleTable : public AlarmFixture, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(AlarmRuleTable, FiresExactlyTheExpectedRules)
{
    const RuleCase& c = GetParam();
    Prepare(c.point, c.row);
    const int fired = Evaluate();
    EXPECT_EQ(Subjects(), c.subjects);
    EXPECT_EQ(fired, c.subjects.size());
    EXPECT_EQ(Warning(), c.subjects.isEmpty() ? QStringLiteral("NO") : QStringLiteral("YES"));
}

const QString kMinLevel = QStringLiteral("Alarm: minimum level exceeded");
const QString kMaxLevel = QStringLiteral("Alarm: maximum level exceeded");

INSTANTIATE_TEST_SUITE_P(
    Rules, AlarmRuleTable,
    ::testing::Values(
        RuleCase{"LevelBelowMinimum", {{"minLV", "45"}}, {{"LEVEL", "38.5"}}, {kMinLevel}},
        RuleCase{"LevelEqualToMinimum", {{"minLV", "45"}}, {{"LEVEL", "45"}}, {}},
        RuleCase{"LevelAboveMaximum", {{"maxLV", "60"}}, {{"LEVEL", "60.1"}}, {kMaxLevel}},
        RuleCase{"LevelEqualToMaximum", {{"maxLV", "60"}}, {{"LEVEL", "60"}}, {}},
        RuleCase{"ZeroThresholdsNeverFire", {}, {{"LEVEL", "-3"}, {"MER", "0"}, {"C/N", "-1"}}, {}},
        RuleCase{"NegativeThresholdIsActive", {{"minLV", "-10"}}, {{"LEVEL", "-12"}}, {kMinLevel}},
        RuleCase{"MerBelowMinimum", {{"minMER", "30"}}, {{"MER", "29.9"}}, {"Alarm: minium MER exceeded"}},
        RuleCase{"MerAboveMaximum", {{"maxMER", "30"}}, {{"MER", "30.5"}}, {"Alarm: maxium MER exceeded"}},
        RuleCase{"CnBelowMinimum", {{"minC/N", "25"}}, {{"C/N", "20"}}, {"Alarm: minium C/N exceeded"}},
        RuleCase{"CnAboveMaximum", {{"maxC/N", "25"}}, {{"C/N", "26"}}, {"Alarm: maxium C/N exceeded"}},
        RuleCase{"VaOnTerrestrialAnalogue",
                 {{"type", "Analog"}, {"minV/A", "12"}, {"maxV/A", "14"}},
                 {{"V/A", "11"}},
                 {"Alarm: minium V/A exceeded"}},
        RuleCase{"VaMaximumOnTerrestrialAnalogue",
                 {{"type", "Analog"}, {"maxV/A", "14"}},
                 {{"V/A", "15"}},
                 {"Alarm: maxium V/A exceeded"}},
        RuleCase{"NoVaOnAnalogueSatellite",
                 {{"type", "Analog"}, {"band", "SAT"}, {"minV/A", "12"}, {"maxV/A", "14"}},
                 {{"V/A", "20"}},
                 {}},
        RuleCase{"NoVaOnDigital", {{"minV/A", "12"}}, {{"V/A", "1"}}, {}},
        RuleCase{"CberBelowMinimum", {{"minCBER", "1.0E-4"}}, {{"CBER", "3.0E-5"}}, {"Alarm: minium CBER exceeded"}},
        RuleCase{"CberAboveMaximum", {{"maxCBER", "1.0E-4"}}, {{"CBER", "2.0E-3"}}, {"Alarm: maxium CBER exceeded"}},
        RuleCase{"CberEqualToMaximumAsNumbers", {{"maxCBER", "1.0E-4"}}, {{"CBER", "1E-4"}}, {}},
        RuleCase{"VberBelowMinimum", {{"minVBER", "1.0E-6"}}, {{"VBER", "1.0E-7"}}, {"Alarm: minium VBER exceeded"}},
        RuleCase{"VberAboveMaximum", {{"maxVBER", "1.0E-5"}}, {{"VBER", "1.0E-3"}}, {"Alarm: maxium VBER exceeded"}},
        RuleCase{"LberBelowMinimum", {{"minLBER", "1.0E-6"}}, {{"LBER", "1.0E-8"}}, {"Alarm: minium LBER exceeded"}},
        RuleCase{"LberAboveMaximum", {{"maxLBER", "1.0E-6"}}, {{"LBER", "1.0E-2"}}, {"Alarm: maxium LBER exceeded"}},
        RuleCase{"LberOffIsSkipped", {{"maxLBER", "OFF"}}, {{"LBER", "1.0E-1"}}, {}},
        RuleCase{"DabPlanHasNoBitErrorRatesButKeepsLevel",
                 {{"type", "DVB-C"}, {"plan", "DAB"}, {"maxVBER", "1.0E-5"}, {"minLV", "50"}},
                 {{"VBER", "1.0E-2"}, {"LEVEL", "40"}},
                 {kMinLevel}},
        RuleCase{"AnalogueHasNoBitErrorRates",
                 {{"type", "Analog"}, {"maxCBER", "1.0E-5"}},
                 {{"CBER", "1.0E-1"}},
                 {}},
        RuleCase{"EmptyMeasuredFieldIsSkipped", {{"maxVBER", "1.0E-5"}, {"minMER", "20"}}, {}, {}},
        RuleCase{"BitErrorRateThatIsNoNumberIsSkipped",
                 {{"maxCBER", "1.0E-5"}, {"maxVBER", "1.0E-5"}},
                 {{"CBER", "n/a"}, {"VBER", "1.0E-2"}},
                 {"Alarm: maxium VBER exceeded"}},
        RuleCase{"BlankBitErrorThresholdIsSkipped", {{"maxCBER", ""}}, {{"CBER", "1.0E-1"}}, {}},
        // Crossed bands let every applicable rule fire: the mails follow the
        // rule order.
        RuleCase{"DigitalRulesInOrder",
                 {{"type", "DVB-T2"}, {"minLV", "50"}, {"maxLV", "40"}, {"minMER", "30"}, {"maxMER", "20"},
                  {"minC/N", "30"}, {"maxC/N", "20"}, {"minV/A", "30"}, {"maxV/A", "20"},
                  {"minCBER", "1.0E-3"}, {"maxCBER", "1.0E-5"}, {"minVBER", "1.0E-3"}, {"maxVBER", "1.0E-5"},
                  {"minLBER", "1.0E-3"}, {"maxLBER", "1.0E-5"}},
                 {{"LEVEL", "45"}, {"MER", "25"}, {"C/N", "25"}, {"V/A", "25"},
                  {"CBER", "1.0E-4"}, {"VBER", "1.0E-4"}, {"LBER", "1.0E-4"}},
                 {kMinLevel, kMaxLevel, "Alarm: minium MER exceeded", "Alarm: maxium MER exceeded",
                  "Alarm: minium C/N exceeded", "Alarm: maxium C/N exceeded", "Alarm: minium CBER exceeded",
                  "Alarm: maxium CBER exceeded", "Alarm: minium VBER exceeded", "Alarm: maxium VBER exceeded",
                  "Alarm: minium LBER exceeded", "Alarm: maxium LBER exceeded"}},
        RuleCase{"AnalogueRulesInOrder",
                 {{"type", "Analog"}, {"minLV", "50"}, {"maxLV", "40"}, {"minMER", "30"}, {"maxMER", "20"},
                  {"minC/N", "30"}, {"maxC/N", "20"}, {"minV/A", "30"}, {"maxV/A", "20"}},
                 {{"LEVEL", "45"}, {"MER", "25"}, {"C/N", "25"}, {"V/A", "25"}},
                 {kMinLevel, kMaxLevel, "Alarm: minium MER exceeded", "Alarm: maxium MER exceeded",
                  "Alarm: minium C/N exceeded", "Alarm: maxium C/N exceeded", "Alarm: minium V/A exceeded",
                  "Alarm: maxium V/A exceeded"}}),
    [](const ::testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

TEST_F(AlarmFixture, EachMailCarriesItsOwnFreshBody)
{
    Prepare({{"minLV", "45"}, {"maxMER", "30"}}, {{"LEVEL", "38.5"}, {"MER", "32"}});
    mail.textoMensaje = QStringList{"left from an earlier mail"};
    Evaluate();
    ASSERT_EQ(mailer.alarmMails.size(), 2u);
    const QStringList header{"Measure Location : Mast 3", "Index : 7", "Freq : 474", "Type : DVB-T/H"};
    EXPECT_EQ(mailer.alarmMails[0].subject, kMinLevel);
    EXPECT_EQ(mailer.alarmMails[0].bodyLines,
              header + QStringList({"Level measured: 38.5", "Minimum level of alarm: 45"}));
    EXPECT_EQ(mailer.alarmMails[1].subject, "Alarm: maxium MER exceeded");
    EXPECT_EQ(mailer.alarmMails[1].bodyLines, header + QStringList({"MER measured: 32", "Maxium MER of alarm: 30"}));
    // The buffer keeps the last mail's text.
    EXPECT_EQ(mail.textoMensaje, mailer.alarmMails[1].bodyLines);
}

TEST_F(AlarmFixture, BitErrorRatesAreQuotedAsStored)
{
    Prepare({{"maxLV", "52.3"}, {"minCBER", "1.0E-4"}}, {{"LEVEL", "52.35"}, {"CBER", "3.0E-5"}});
    Evaluate();
    ASSERT_EQ(mailer.alarmMails.size(), 2u);
    EXPECT_EQ(mailer.alarmMails[0].bodyLines.mid(4),
              (QStringList{"Level measured: 52.35", "Maxium level of alarm: 52.3"}));
    EXPECT_EQ(mailer.alarmMails[1].bodyLines.mid(4),
              (QStringList{"CBER measured: 3.0E-5", "Minium CBER of alarm: 1.0E-4"}));
}

TEST_F(AlarmFixture, MailingOffMarksTheRowAndLeavesTheBufferAlone)
{
    Prepare({{"minLV", "45"}}, {{"LEVEL", "30"}});
    mail.sendAlarm = false;
    mail.textoMensaje = QStringList{"earlier"};
    EXPECT_EQ(Evaluate(), 1);
    EXPECT_EQ(Warning(), "YES");
    EXPECT_TRUE(mailer.alarmMails.empty());
    EXPECT_EQ(mail.textoMensaje, QStringList{"earlier"});
}

// A failed or throwing mail must not stop the next rule (the run goes on).
class ThrowingMailer final : public RecordingMailer {
public:
    bool SendAlarmMail(const QString& subject, const QStringList& bodyLines) override
    {
        RecordingMailer::SendAlarmMail(subject, bodyLines);
        if (alarmMails.size() == 1)
            throw std::runtime_error("connection reset");
        return false;
    }
};

TEST_F(AlarmFixture, FailingMailsDoNotStopTheEvaluation)
{
    Prepare({{"minLV", "45"}, {"minMER", "30"}, {"minC/N", "30"}}, {{"LEVEL", "30"}, {"MER", "20"}, {"C/N", "20"}});
    ThrowingMailer failing;
    EXPECT_EQ(Evaluate(&failing), 3);
    EXPECT_EQ(failing.alarmMails.size(), 3u);
    EXPECT_EQ(Warning(), "YES");
}

TEST_F(AlarmFixture, WithoutMailerTheRowIsStillMarked)
{
    Prepare({{"maxLV", "45"}}, {{"LEVEL", "50"}});
    EXPECT_EQ(Evaluate(nullptr), 1);
    EXPECT_EQ(Warning(), "YES");
    EXPECT_EQ(mail.textoMensaje.value(4), "Level measured: 50");
}

TEST(MeasurePointLine, LabelFollowsTheLanguage)
{
    TempProgramFolder folder;
    Settings settings(folder.Path());
    settings.Replace(kMeasurePointLine, QStringLiteral("Torre Norte"));
    const struct {
        const char* word;
        const char* line;
    } cases[] = {{"english", "Measure Location : Torre Norte"},
                 {"spanish", "Punto de medida : Torre Norte"},
                 {"", "Measure Location : Torre Norte"}};
    for (const auto& c : cases) {
        settings.Replace(Settings::kLanguageLine, QString::fromLatin1(c.word));
        EXPECT_EQ(MeasurePointLine(settings), QString::fromUtf8(c.line)) << c.word;
    }
}
}  // namespace
