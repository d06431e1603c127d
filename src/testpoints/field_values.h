// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testpoints/table_schema.h"

#include <QString>
#include <QVariant>

class SqlStatement;

// How values of the three field kinds are stored and read. Numbers in text
// fields are written with "." whatever the locale.

// General decimal text: up to 15 significant digits, "." and no trailing zeros.
QString NumberText(double value);

// A stored column as the field's kind reads it (null, QString, double or
// qlonglong). SQLite keeps whatever another tool wrote, so a number may sit in
// a text column and the other way round.
QVariant ReadFieldValue(const SqlStatement& query, int column, FieldKind kind);

// A value as `field` stores it: a text cut to the width, a number into a text
// field as its decimal text, a text into a number field converted ("," taken
// as decimal point); empty texts store null. Raises VigiloError for the
// auto-increment field and for a text that is no finite number.
QVariant StoredFieldValue(const FieldDef& field, const QVariant& value);

// A read value as text (numbers as NumberText, null as empty).
QString FieldText(const QVariant& value);
// A read value as number: null and empty read 0; a text that is no finite
// number raises VigiloError naming `fieldName`.
double FieldNumber(const QVariant& value, const QString& fieldName);
