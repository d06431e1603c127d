#include "alarms/auto_alarm.h"

bool AutoAlarmValues::Enabled(AlarmQuantity q) const
{
    switch (q) {
    case AlarmQuantity::Level: return level;
    case AlarmQuantity::CN: return cn;
    case AlarmQuantity::VA: return va;
    case AlarmQuantity::MER: return mer;
    }
    return false;
}

QString AutoAlarmValues::ToleranceText(AlarmQuantity q) const
{
    switch (q) {
    case AlarmQuantity::Level: return levelTol;
    case AlarmQuantity::CN: return cnTol;
    case AlarmQuantity::VA: return vaTol;
    case AlarmQuantity::MER: return merTol;
    }
    return QString();
}

void AutoAlarmValues::Set(AlarmQuantity q, bool enabled, const QString& tolerance)
{
    switch (q) {
    case AlarmQuantity::Level: level = enabled; levelTol = tolerance; break;
    case AlarmQuantity::CN: cn = enabled; cnTol = tolerance; break;
    case AlarmQuantity::VA: va = enabled; vaTol = tolerance; break;
    case AlarmQuantity::MER: mer = enabled; merTol = tolerance; break;
    }
}

ThresholdFields ThresholdFieldsOf(AlarmQuantity quantity)
{
    switch (quantity) {
    case AlarmQuantity::Level: return {"minLV", "maxLV"};
    case AlarmQuantity::CN: return {"minC/N", "maxC/N"};
    case AlarmQuantity::VA: return {"minV/A", "maxV/A"};
    case AlarmQuantity::MER: return {"minMER", "maxMER"};
    }
    return {"", ""};
}

int LargestTolerance(AlarmQuantity quantity)
{
    return quantity == AlarmQuantity::MER ? 10 : 20;
}

QString ValidateTolerance(AlarmQuantity quantity, const QString& text)
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

void DeriveThresholds(const AutoAlarmAccess& autoAlarm, bool autoAlarmPass, AlarmQuantity quantity,
                      double measured, const ThresholdWriter& write)
{
    if (!autoAlarmPass || !autoAlarm.Enabled(quantity))
        return;
    const int tolerance = ReadTolerance(autoAlarm.ToleranceText(quantity));
    const ThresholdFields fields = ThresholdFieldsOf(quantity);
    write(QLatin1String(fields.minField), measured - tolerance);
    write(QLatin1String(fields.maxField), tolerance + measured);
}
