// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/date_formats.h"

#include <QLocale>
#include <QRegularExpression>

namespace {
constexpr int kDateWidth = 12;
constexpr int kHourWidth = 10;
}

QString SystemShortDate(const QDate& date)
{
    const QString text = QLocale::system().toString(date, QLocale::ShortFormat);
    if (!text.isEmpty() && text.size() <= kDateWidth)
        return text;
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString SystemLongTime(const QTime& time)
{
    // Qt's long time format carries the time zone, which a stored hour must not.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    const QString text = time.toString(format.trimmed());
    if (!text.isEmpty() && text.size() <= kHourWidth)
        return text;
    return time.toString(QStringLiteral("HH:mm:ss"));
}
