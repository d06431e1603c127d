// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testpoints/table_schema.h"

#include <QString>

#include <vector>

// The rows of the reports that do not print the Measurements table as it is:
// they go into the Filter table (database name "Filter", table "Filter"), a
// scratch table rebuilt by every such report. Each fill below works on the
// table files through SQL in one pass over the Measurements table and one
// transaction on the Filter table, whatever the number of test points. The
// caller stores pending rows of its datasets first. Errors of the table
// engine raise VigiloError and leave the Filter table empty.

inline constexpr char kFilterTableName[] = "Filter";

// 15 text fields: index, Reference, ch, freq, type, the eight measurement
// fields, Hour, Date.
const std::vector<FieldDef>& FilterFields();

enum class FilterFill { Complete, Mismatch };

// "Min/Max/Avg": per test point, in the test point table's order, a MIN, a MAX
// and an AVG row over the acquisitions whose `index` is the test point's,
// then a separator of dashes. Mismatch when a test point's first acquisition
// lacks a value the report computes (or it has no acquisition at all); the
// rows of the test points before it stay in the table.
FilterFill FillMinMaxAvg(const QString& filterFile, const QString& measurementsFile,
                         const QString& testPointsFile);

// "by Test Point": every acquisition copied, grouped by test point in the
// test point table's order, each group in stored order.
void FillByTestPoint(const QString& filterFile, const QString& measurementsFile, const QString& testPointsFile);

// "by Alarm": the acquisitions whose `warning` is "YES", in stored order.
void FillByAlarm(const QString& filterFile, const QString& measurementsFile);

// The statement of "by Test Point" over a Filter table with the Measurements
// table attached as "m" and the test point table as "t" (for benchmarks that
// time the engine on it alone).
QString ByTestPointInsertSql();
