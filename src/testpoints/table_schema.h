// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <vector>

class SqlConnection;

// The layout of a table file. Every table is one SQLite file: a table
// "records" whose columns are the fields, in field order and named exactly as
// the fields, plus engine-private columns and tables whose names start with
// "_" (the stored order "_pos", the field definitions "_fields"). Any SQLite
// tool can read it.

enum class FieldKind { Text, Float, AutoIncrement };

struct FieldDef {
    QString name;
    FieldKind kind = FieldKind::Text;
    int width = 0;          // text fields: maximum characters; 0 for the others
    bool required = false;
};

// Replaces the file at `path` with an empty table of these fields. The table
// is built beside it and renamed over, so a failure leaves the old file. Raises
// VigiloError for bad field definitions, a missing folder, or a file that an
// open Dataset holds.
void WriteEmptyTable(const QString& path, const std::vector<FieldDef>& fields);

// The fields of a table file in order; raises VigiloError for a file that is
// not a table of this engine.
std::vector<FieldDef> ReadFields(SqlConnection& db);
