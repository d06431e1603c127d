// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/oper_mode.h"

EditLimits LimitsOf(OperModeEdit edit)
{
    switch (edit) {
    case OperModeEdit::TimeForMeasure: return {0, 60, 2, false};
    case OperModeEdit::TimeBetweenTP: return {0, 43200, 5, false};
    case OperModeEdit::TimeBetweenTable: return {0, 86400, 5, false};
    case OperModeEdit::TimeEvery: return {1, 2880, 5, true};
    case OperModeEdit::BucleRepeticiones: return {1, 99999, 5, true};
    }
    return {0, 0, 0, false};
}

QString ValidateOperModeEdit(OperModeEdit edit, const QString& text)
{
    const EditLimits limits = LimitsOf(edit);
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QString::number(limits.smallest);
    bool ok = false;
    const qlonglong value = trimmed.toLongLong(&ok);
    if (!ok)
        return QString::number(limits.smallest);
    if (value > limits.largest)
        return QString::number(limits.largest);
    if (value <= 0 && limits.zeroBecomesSmallest)
        return QString::number(limits.smallest);
    if (value < 0)
        return QString::number(limits.smallest);
    // Leading zeros stay as typed, like the edit shows them.
    return trimmed;
}

int ReadOperModeEdit(OperModeEdit edit, const QString& text)
{
    return ValidateOperModeEdit(edit, text).toInt();
}

QString FormatDuration(const QTime& time)
{
    return (time.isValid() ? time : QTime(0, 0, 0)).toString(QStringLiteral("HH:mm:ss"));
}

QTime ParseDuration(const QString& text)
{
    const QTime time = QTime::fromString(text, QStringLiteral("HH:mm:ss"));
    return time.isValid() ? time : QTime(0, 0, 0);
}
