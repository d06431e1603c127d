// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

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

// Checks, without writing to it, that the file at `path` is a whole table of
// this engine holding every field of `layout` (by name, without regard to
// case) but those named in `optional`. Raises VigiloError naming what is
// wrong: not a table, damaged (truncated), locked by another program, or the
// fields it lacks.
void RequireTableLayout(const QString& path, const std::vector<FieldDef>& layout,
                        const QStringList& optional = {});
