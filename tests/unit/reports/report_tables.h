// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small Measurements and test point tables for the report tests, built in a
// temporary folder through the table engine.

#include "platform/fields.h"
#include "reports/report_data.h"
#include "testpoints/dataset.h"
#include "testpoints/table_layouts.h"

#include <QStringList>
#include <QTemporaryDir>

#include <map>

// Field name → text, for one acquisition ("" or absent: empty).
using Acquisition = std::map<QString, QString>;

class ReportTables {
public:
    ReportTables()
    {
        WriteEmptyTable(MeasurementsFile(), MeasurementFields());
        WriteEmptyTable(TestPointsFile(), TestPointFields());
        WriteEmptyTable(FilterFile(), FilterFields());
        measurements.SetTableName(MeasurementsFile());
        testPoints.SetTableName(TestPointsFile());
        measurements.Open();
        testPoints.Open();
    }

    QString MeasurementsFile() const { return m_dir.filePath(QStringLiteral("measurements.db")); }
    QString TestPointsFile() const { return m_dir.filePath(QStringLiteral("testpoints.db")); }
    QString FilterFile() const { return m_dir.filePath(QStringLiteral("filter.db")); }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // A test point appended at the end (or inserted before the first one);
    // its index.
    int AddTestPoint(const QString& type, const QString& system, const QString& band, bool atFront = false)
    {
        if (atFront) {
            testPoints.First();
            testPoints.Insert();
        } else {
            testPoints.Append();
        }
        testPoints.SetText(QLatin1String(fields::kType), type);
        testPoints.SetText(QLatin1String(fields::kSystem), system);
        testPoints.SetText(QLatin1String(fields::kBand), band);
        testPoints.Post();
        return static_cast<int>(testPoints.Number(QLatin1String(fields::kIndex)));
    }

    // One Measurements row of test point `index`, with its test point's type,
    // system and band unless `values` says otherwise.
    void AddAcquisition(int index, const QString& type, const QString& system, const QString& band,
                        const Acquisition& values)
    {
        measurements.Append();
        measurements.SetText(QLatin1String(fields::kIndex), QString::number(index));
        measurements.SetText(QLatin1String(fields::kCh), QStringLiteral("C%1").arg(index));
        measurements.SetText(QLatin1String(fields::kFreq), QStringLiteral("%1.00").arg(400 + index));
        measurements.SetText(QLatin1String(fields::kType), type);
        measurements.SetText(QLatin1String(fields::kSystem), system);
        measurements.SetText(QLatin1String(fields::kBand), band);
        measurements.SetText(QLatin1String(fields::kWarning), QStringLiteral("NO"));
        for (const auto& [field, text] : values)
            measurements.SetText(field, text);
        measurements.Post();
    }

    Dataset measurements;
    Dataset testPoints;

private:
    QTemporaryDir m_dir;
};

// Every row of a table file, each its fields' texts joined by "|".
inline QStringList RowsOf(const QString& file)
{
    Dataset table;
    table.SetTableName(file);
    table.Open();
    QStringList rows;
    for (table.First(); !table.Eof(); table.Next()) {
        QStringList texts;
        for (const QString& name : table.FieldNames())
            texts.append(table.Text(name));
        rows.append(texts.join(QLatin1Char('|')));
    }
    return rows;
}
