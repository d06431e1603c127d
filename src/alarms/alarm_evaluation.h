// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <span>

class Dataset;
class Mailer;
class Settings;

// The alarm mailing switch (SendAlarm of the alarm thresholds window) and the
// mail body buffer TextoMensaje, as the evaluation reads and writes them at
// the moment of use. The window is one implementation, AlarmMailValues (the
// headless station, tests) another.
class AlarmMailAccess {
public:
    virtual ~AlarmMailAccess() = default;
    virtual bool MailingOn() const = 0;
    // Keeps the text of the last alarm mail until the next firing rule clears it.
    virtual QStringList& MailBody() = 0;
};

// Without a window: the switch starts off, as the window's does at every start.
class AlarmMailValues final : public AlarmMailAccess {
public:
    bool sendAlarm = false;
    QStringList textoMensaje;

    bool MailingOn() const override { return sendAlarm; }
    QStringList& MailBody() override { return textoMensaje; }
};

// Which test points a rule applies to.
enum class AlarmCondition {
    Always,
    TerrestrialAnalog,   // type "Analog" and band "TER"
    DigitalNotDab,       // type not "Analog" and plan not "DAB"
};

// One of the fourteen alarm rules: a quantity's minimum (fires below) or
// maximum (fires above) threshold of the test point against the row's value.
struct AlarmRule {
    AlarmCondition condition;
    const char* thresholdField;   // test point field
    const char* measuredField;    // Measurements field
    bool bitErrorRate;            // texts read as numbers; "OFF" is no threshold
    bool minimum;
    const char* subject;
    const char* measuredLine;
    const char* thresholdLine;
};

// The fourteen rules in the order they are always evaluated.
std::span<const AlarmRule> AlarmRules();

// The first line of an alarm mail: the measure point label in the current
// language (English unless line 0 says "spanish"), a space, the measure
// point name (settings line 14).
QString MeasurePointLine(const Settings& settings);
inline constexpr int kMeasurePointLine = 14;

// Clears `body` and writes the four header lines of an alarm mail for the
// Measurements row `row`.
void BuildAlarmHeader(QStringList& body, const QString& measurePointLine, const Dataset& row);

// Judges the completed, not yet stored Measurements row against the
// thresholds of the current test point. Every rule that fires sets "warning"
// to "YES"; with mailing on, each also rebuilds the body buffer and sends one
// alarm mail through `mailer` (none when null). A rule whose threshold or
// measured value is missing or is no number is skipped; a failed or throwing
// mail is passed over. Moves neither table. Returns how many rules fired.
int EvaluateAlarms(const Dataset& testPoint, Dataset& measurements, AlarmMailAccess& mail, Mailer* mailer,
                   const QString& measurePointLine);
