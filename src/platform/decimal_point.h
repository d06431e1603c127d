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
