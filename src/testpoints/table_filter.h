// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

// The text filter of a dataset: conditions "field op value" (op one of
// = <> < > <= >=; value a number or a text in single quotes, '' for a quote)
// joined by "and" / "or", e.g. "index=12" or "[symbol rate]>=27500". A field
// name with spaces or slashes goes in [brackets] or "double quotes". Values
// are bound, never pasted into SQL.

struct FilterCondition {
    QString field;
    QString op;
    QVariant value;  // qlonglong for whole numbers, double, or QString
};

struct TableFilter {
    std::vector<FilterCondition> conditions;
    std::vector<QString> joins;  // "and" / "or" between conditions, lower case
    bool IsEmpty() const { return conditions.empty(); }
};

// A blank text is the empty filter; a malformed one raises VigiloError.
TableFilter ParseFilter(const QString& text);

// The condition in SQL, in parentheses, with one "?" per value; the values are
// appended to `params` in order. `columnOf` gives the stored column name of a
// filter's field name (and raises for an unknown one). Empty for the empty filter.
QString FilterSql(const TableFilter& filter, const std::function<QString(const QString&)>& columnOf,
                  std::vector<QVariant>& params);
