// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/texts.h"

#include <QString>
#include <QStringList>
#include <vector>

// Semicolon-separated text tables: a header line of field names, then one
// line per row. Lines may end with CR LF and with a ";" after the last value
// (as the station's own export writes them); empty lines are skipped. Errors
// (VigiloError) are worded in `language`, in English when it is neither.
struct CsvLine {
    int number = 0;  // 1-based line number in the file
    QStringList values;
};
struct CsvFile {
    CsvLine header;
    std::vector<CsvLine> rows;
};
// UTF-8, or Latin-1 when the file is not valid UTF-8. Raises VigiloError.
CsvFile ReadCsvFile(const QString& path, Language language = Language::English);

// Builds a channel plan table at `tablePath` from a CSV source: every column
// becomes a text field named by the header, values are stored as written
// (a decimal comma stays, the plan readers fix it up). Raises VigiloError.
void BuildPlanTable(const QString& csvPath, const QString& tablePath, Language language = Language::English);

// Creates a test point set at `tablePath` from a CSV file whose header names
// test point fields (any subset, any order, names without regard to case).
// `index` is given by the engine: an `index` column is ignored. A bad value or
// an unknown field raises VigiloError naming the line and the field, and then
// nothing is written. Alarm fields left out or empty get "OFF", 0 and "OFF"
// as for a test point added from a channel plan. Returns the number of test points imported.
long long ImportTestPointsCsv(const QString& csvPath, const QString& tablePath,
                              Language language = Language::English);
