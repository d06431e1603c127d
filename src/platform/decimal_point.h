// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

// The C library may format numbers with a decimal comma under a Spanish locale;
// every stored and shown number must carry a point. Replaces the first ","
// only, as numbers never hold more than one.
void FixDecimalPoint(char* buffer);
void FixDecimalPoint(std::string& text);
QString FixDecimalPoint(QString text);

// printf-style formatting followed by the fix-up.
QString FormatNumber(const char* format, double value);

// The C locale start-up asks for; where the C library knows no locale of that
// name the C locale stays as it was.
inline constexpr char kStationCLocale[] = "spanish";

// The number formats of the process: the C library under `cLocale`, Qt's own
// formatting with "." and ",". Call it only once the application object
// exists, because that object's constructor sets the C locale from the
// environment. Returns whether the C library took `cLocale`.
bool SetProcessNumberFormats(const char* cLocale = kStationCLocale);
