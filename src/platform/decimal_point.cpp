// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/decimal_point.h"

#include <QLocale>

#include <clocale>
#include <cstdio>
#include <cstring>

void FixDecimalPoint(char* buffer)
{
    if (!buffer)
        return;
    if (char* comma = std::strchr(buffer, ','))
        *comma = '.';
}

void FixDecimalPoint(std::string& text)
{
    const auto pos = text.find(',');
    if (pos != std::string::npos)
        text[pos] = '.';
}

QString FixDecimalPoint(QString text)
{
    const auto pos = text.indexOf(QLatin1Char(','));
    if (pos >= 0)
        text[pos] = QLatin1Char('.');
    return text;
}

QString FormatNumber(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    FixDecimalPoint(buffer);
    return QString::fromLatin1(buffer);
}

bool SetProcessNumberFormats(const char* cLocale)
{
    QLocale::setDefault(QLocale::c());
    return std::setlocale(LC_ALL, cLocale) != nullptr;
}
