// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/auto_alarm.h"

bool AutoAlarmValues::Enabled(Quantity q) const
{
    switch (q) {
    case Quantity::Level: return level;
    case Quantity::CN: return cn;
    case Quantity::VA: return va;
    case Quantity::MER: return mer;
    }
    return false;
}

QString AutoAlarmValues::ToleranceText(Quantity q) const
{
    switch (q) {
    case Quantity::Level: return levelTol;
    case Quantity::CN: return cnTol;
    case Quantity::VA: return vaTol;
    case Quantity::MER: return merTol;
    }
    return QString();
}

void AutoAlarmValues::Set(Quantity q, bool enabled, const QString& tolerance)
{
    switch (q) {
    case Quantity::Level: level = enabled; levelTol = tolerance; break;
    case Quantity::CN: cn = enabled; cnTol = tolerance; break;
    case Quantity::VA: va = enabled; vaTol = tolerance; break;
    case Quantity::MER: mer = enabled; merTol = tolerance; break;
    }
}

int LargestTolerance(Quantity quantity)
{
    return quantity == Quantity::MER ? 10 : 20;
}

QString ValidateTolerance(Quantity quantity, const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("0");
    bool ok = false;
    const qlonglong value = trimmed.toLongLong(&ok);
    if (ok && value > LargestTolerance(quantity))
        return QString::number(LargestTolerance(quantity));
    return trimmed;
}

int ReadTolerance(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

void DeriveThresholds(const AutoAlarmAccess& autoAlarm, bool autoAlarmPass, Quantity quantity,
                      double measured, const ThresholdWriter& write)
{
    if (!autoAlarmPass || !autoAlarm.Enabled(quantity))
        return;
    const int tolerance = ReadTolerance(autoAlarm.ToleranceText(quantity));
    const QuantityFields fields = FieldsOf(quantity);
    write(QLatin1String(fields.minField), measured - tolerance);
    write(QLatin1String(fields.maxField), tolerance + measured);
}
