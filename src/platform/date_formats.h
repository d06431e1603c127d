// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// The system's short date and long time formats, as the clock shows them and
// the Measurements table stores them ("Date" holds 12 characters, "Hour" 10).
QString SystemShortDate(const QDate& date);
QString SystemLongTime(const QTime& time);
