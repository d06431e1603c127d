// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testpoints/sql_statement.h"
#include "testpoints/table_layouts.h"
#include "testpoints/table_schema.h"

#include <QString>

// A Measurements table of `rows` generated rows, written in one transaction
// straight through SQL. Row i holds ch "C<i>", freq "<100 + i>", LEVEL i / 10,
// Date "01/02/2026" and Hour "h<i>". With `gapEvery` > 0 the stored positions
// skip a value after every gapEvery rows, as after deletions.
inline void WriteMeasurements(const QString& path, long long rows, long long gapEvery = 0)
{
    WriteEmptyTable(path, MeasurementFields());
    SqlConnection db(path, SqlAccess::Write);
    db.Exec(QStringLiteral("BEGIN"));
    SqlStatement insert(db, QStringLiteral("INSERT INTO records (\"index\", ch, freq, type, LEVEL, \"C/N\", MER, CBER, "
                                           "Date, Hour, Latitude, \"N/S\", Longitude, \"E/W\", warning, _pos) "
                                           "VALUES (?, ?, ?, 'DVB-T/H', ?, 25.5, 31.2, '1.0E-6', '01/02/2026', ?, "
                                           "'4124.1234', 'N', '00210.5678', 'E', 'NO', ?)"));
    long long pos = 1;
    for (long long i = 0; i < rows; ++i) {
        insert.BindAll({QVariant(QString::number(i % 40 + 1)), QVariant(QStringLiteral("C%1").arg(i)),
                        QVariant(QString::number(100 + i)), QVariant(static_cast<double>(i) / 10.0),
                        QVariant(QStringLiteral("h%1").arg(i)), QVariant(pos)});
        insert.Step();
        insert.Reset();
        ++pos;
        if (gapEvery > 0 && (i + 1) % gapEvery == 0)
            ++pos;
    }
    db.Exec(QStringLiteral("COMMIT"));
}
