// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarm_evaluation.h"

#include "notify/mailer.h"
#include "platform/fields.h"
#include "platform/settings.h"
#include "platform/texts.h"
#include "testpoints/dataset.h"

#include <QLocale>
#include <QLoggingCategory>

#include <cmath>
#include <exception>
#include <optional>

Q_LOGGING_CATEGORY(lcAlarms, "vigilo.alarms", QtWarningMsg)

namespace {
using C = AlarmCondition;
using namespace fields;

// The subjects and lines keep the wording the recipients' mail filters have
// always matched, misspellings included.
constexpr AlarmRule kRules[] = {
    {C::Always, kMinLV, kLevel, false, true, "Alarm: minimum level exceeded", "Level measured: ",
     "Minimum level of alarm: "},
    {C::Always, kMaxLV, kLevel, false, false, "Alarm: maximum level exceeded", "Level measured: ",
     "Maxium level of alarm: "},
    {C::Always, kMinMER, kMER, false, true, "Alarm: minium MER exceeded", "MER measured: ", "Minium MER of alarm: "},
    {C::Always, kMaxMER, kMER, false, false, "Alarm: maxium MER exceeded", "MER measured: ", "Maxium MER of alarm: "},
    {C::Always, kMinCN, kCN, false, true, "Alarm: minium C/N exceeded", "C/N measured: ", "Minium C/N of alarm: "},
    {C::Always, kMaxCN, kCN, false, false, "Alarm: maxium C/N exceeded", "C/N measured: ", "Maxium C/N of alarm: "},
    {C::TerrestrialAnalog, kMinVA, kVA, false, true, "Alarm: minium V/A exceeded", "V/A measured: ",
     "Minium V/A of alarm: "},
    {C::TerrestrialAnalog, kMaxVA, kVA, false, false, "Alarm: maxium V/A exceeded", "V/A measured: ",
     "Maxium V/A of alarm: "},
    {C::DigitalNotDab, kMinCBER, kCBER, true, true, "Alarm: minium CBER exceeded", "CBER measured: ",
     "Minium CBER of alarm: "},
    {C::DigitalNotDab, kMaxCBER, kCBER, true, false, "Alarm: maxium CBER exceeded", "CBER measured: ",
     "Maxium CBER of alarm: "},
    {C::DigitalNotDab, kMinVBER, kVBER, true, true, "Alarm: minium VBER exceeded", "VBER measured: ",
     "Minium VBER of alarm: "},
    {C::DigitalNotDab, kMaxVBER, kVBER, true, false, "Alarm: maxium VBER exceeded", "VBER measured: ",
     "Maxium VBER of alarm: "},
    {C::DigitalNotDab, kMinLBER, kLBER, true, true, "Alarm: minium LBER exceeded", "LBER measured: ",
     "Minium LBER of alarm: "},
    {C::DigitalNotDab, kMaxLBER, kLBER, true, false, "Alarm: maxium LBER exceeded", "LBER measured: ",
     "Maxium LBER of alarm: "},
};

QString Field(const char* name)
{
    return QString::fromLatin1(name);
}

// A field the table lacks reads as no value, like an empty one.
QVariant ValueOf(const Dataset& table, const char* name)
{
    const QString field = Field(name);
    return table.HasField(field) ? table.Value(field) : QVariant();
}

QString TextOf(const Dataset& table, const char* name)
{
    const QString field = Field(name);
    return table.HasField(field) ? table.Text(field) : QString();
}

// A stored number, or a text in number form with '.' and an optional
// exponent ("1.0E-5"); nothing for no value or another text.
std::optional<double> NumberOf(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    double number = 0;
    bool ok = true;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong)
        number = value.toDouble();
    else
        number = QLocale::c().toDouble(value.toString().trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

bool Applies(AlarmCondition condition, const Dataset& testPoint)
{
    const QString type = TextOf(testPoint, kType);
    switch (condition) {
    case C::Always: return true;
    case C::TerrestrialAnalog: return type == QLatin1String("Analog") && TextOf(testPoint, kBand) == QLatin1String("TER");
    case C::DigitalNotDab: return type != QLatin1String("Analog") && TextOf(testPoint, kPlan) != QLatin1String("DAB");
    }
    return false;
}

// The threshold of an active rule as a number; nothing when the rule is off
// (0, "OFF") or its threshold cannot be read.
std::optional<double> ActiveThreshold(const AlarmRule& rule, const Dataset& testPoint)
{
    const QVariant stored = ValueOf(testPoint, rule.thresholdField);
    if (rule.bitErrorRate && stored.toString() == QLatin1String("OFF"))
        return std::nullopt;
    const std::optional<double> threshold = NumberOf(stored);
    if (!rule.bitErrorRate && threshold && *threshold == 0)
        return std::nullopt;
    if (!threshold && !stored.isNull())
        qCWarning(lcAlarms) << "threshold" << rule.thresholdField << "is no number:" << stored.toString();
    return threshold;
}

void SendSilently(Mailer& mailer, const char* subject, const QStringList& body)
{
    // A failed mail never stops the evaluation or the run.
    try {
        if (!mailer.SendAlarmMail(QString::fromLatin1(subject), body))
            qCWarning(lcAlarms) << "alarm mail not sent:" << subject;
    } catch (const std::exception& error) {
        qCWarning(lcAlarms) << "alarm mail failed:" << subject << error.what();
    }
}
}  // namespace

std::span<const AlarmRule> AlarmRules()
{
    return kRules;
}

QString MeasurePointLine(const Settings& settings)
{
    const Language language = CurrentLanguage(settings) == Language::Spanish ? Language::Spanish : Language::English;
    return texts::kMeasurePointLabel.In(language) + QLatin1Char(' ') + settings.Line(kMeasurePointLine);
}

void BuildAlarmHeader(QStringList& body, const QString& measurePointLine, const Dataset& row)
{
    body.clear();
    body << measurePointLine << QStringLiteral("Index : ") + TextOf(row, kIndex)
         << QStringLiteral("Freq : ") + TextOf(row, kFreq) << QStringLiteral("Type : ") + TextOf(row, kType);
}

int EvaluateAlarms(const Dataset& testPoint, Dataset& measurements, AlarmMailAccess& mail, Mailer* mailer,
                   const QString& measurePointLine)
{
    int fired = 0;
    for (const AlarmRule& rule : kRules) {
        if (!Applies(rule.condition, testPoint))
            continue;
        const std::optional<double> threshold = ActiveThreshold(rule, testPoint);
        if (!threshold)
            continue;
        // A quantity the readout did not write for this standard has no value
        // to judge: the rule is skipped rather than read as 0.
        const std::optional<double> measured = NumberOf(ValueOf(measurements, rule.measuredField));
        if (!measured)
            continue;
        if (!(rule.minimum ? *measured < *threshold : *measured > *threshold))
            continue;

        ++fired;
        measurements.SetText(Field(kWarning), QStringLiteral("YES"));
        if (!mail.MailingOn())
            continue;
        QStringList& body = mail.MailBody();
        BuildAlarmHeader(body, measurePointLine, measurements);
        body << QString::fromLatin1(rule.measuredLine) + TextOf(measurements, rule.measuredField)
             << QString::fromLatin1(rule.thresholdLine) + TextOf(testPoint, rule.thresholdField);
        if (mailer)
            SendSilently(*mailer, rule.subject, body);
    }
    return fired;
}
