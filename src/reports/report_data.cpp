// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_data.h"

#include "instrument/measured_fields.h"
#include "platform/decimal_point.h"
#include "platform/fields.h"
#include "testpoints/engine_texts.h"
#include "testpoints/field_values.h"
#include "testpoints/sql_statement.h"

#include <QStringList>

#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <string>
#include <string_view>

namespace {

constexpr char kReference[] = "Reference";

FieldDef TextField(const char* name, int width)
{
    return FieldDef{QString::fromUtf8(name), FieldKind::Text, width, false};
}

// One connection on the Filter table with the tables it is built from
// attached; the whole fill is one transaction.
class FilterWriter {
public:
    explicit FilterWriter(const QString& filterFile) : m_db(filterFile, SqlAccess::Write) {}

    void Attach(const QString& file, const char* schema)
    {
        SqlStatement attach(m_db, QStringLiteral("ATTACH DATABASE ? AS %1").arg(QLatin1String(schema)));
        attach.Bind(1, QVariant(file));
        attach.Step();
    }
    SqlConnection& Db() { return m_db; }
    void Begin() { m_db.Exec(QStringLiteral("BEGIN")); }
    void Commit() { m_db.Exec(QStringLiteral("COMMIT")); }
    void Rollback() noexcept { m_db.RollbackQuietly(); }

private:
    SqlConnection m_db;
};

template <typename Fill>
auto InTransaction(FilterWriter& writer, Fill fill)
{
    writer.Begin();
    try {
        auto result = fill();
        writer.Commit();
        return result;
    } catch (...) {
        writer.Rollback();
        throw;
    }
}

// ---- "Min/Max/Avg" -------------------------------------------------------------

// A stored number as the table engine reads it: "," taken as the decimal
// point, blanks around it ignored. Nothing for a text that is no finite
// number.
std::optional<double> ParseNumber(QByteArrayView bytes)
{
    std::string text(bytes.data(), static_cast<size_t>(bytes.size()));
    if (const auto comma = text.find(','); comma != std::string::npos)
        text[comma] = '.';
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    if (begin < end && text[begin] == '+')
        ++begin;
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data() + begin, text.data() + end, value);
    if (ec != std::errc() || ptr != text.data() + end || begin == end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

struct FieldAggregate {
    bool firstEmpty = false;
    bool failedReading = false;  // a 0 somewhere: the field reads "ERR"
    std::optional<QString> notANumber;
    double min = 0.0;
    double max = 0.0;
    double sum = 0.0;
};

struct TestPointAggregate {
    long long count = 0;
    long long lastRowId = 0;
    MeasuredFieldSet computed;
    std::array<FieldAggregate, kMeasuredFieldsInOrder.size()> fields;
};

// Columns of the pass over the Measurements table.
enum PassColumn { kRowId, kIndexColumn, kTypeColumn, kSystemColumn, kBandColumn, kFirstMeasured };

// One stored value of a measured field, as the report reads it: the empty
// field, a failed reading (its text is "0"), or a number (an empty field
// past the first acquisition reads 0, as the table engine reads it).
struct StoredValue {
    bool empty = false;
    bool failed = false;
    std::optional<double> number;
};

StoredValue ReadStored(const SqlStatement& pass, int column)
{
    switch (pass.Type(column)) {
    case SqlType::Null: return {true, false, 0.0};
    case SqlType::Integer:
    case SqlType::Float: {
        const double number = pass.Double(column);
        // The text of -0 is "-0", which is no failed reading.
        return {false, number == 0.0 && !std::signbit(number), number};
    }
    case SqlType::Text:
    case SqlType::Blob: break;
    }
    const QByteArrayView text = pass.Utf8(column);
    if (text.isEmpty())
        return {true, false, 0.0};
    return {false, text == QByteArrayView("0"), ParseNumber(text)};
}

void Accumulate(TestPointAggregate& tp, const SqlStatement& pass)
{
    const bool first = tp.count == 0;
    if (first)
        tp.computed = MeasuredFieldSet::For(pass.String(kTypeColumn), pass.String(kSystemColumn),
                                            pass.String(kBandColumn));
    ++tp.count;
    tp.lastRowId = pass.Int(kRowId);
    for (size_t i = 0; i < kMeasuredFieldsInOrder.size(); ++i) {
        if (!tp.computed.Has(kMeasuredFieldsInOrder[i]))
            continue;
        FieldAggregate& f = tp.fields[i];
        if (f.firstEmpty || f.failedReading)
            continue;
        const int column = kFirstMeasured + static_cast<int>(i);
        const StoredValue value = ReadStored(pass, column);
        if (first && value.empty) {
            f.firstEmpty = true;
            continue;
        }
        if (value.failed) {
            f.failedReading = true;
            continue;
        }
        if (!value.number) {
            if (!f.notANumber)
                f.notANumber = pass.String(column);
            continue;
        }
        const double v = *value.number;
        if (first) {
            f.min = f.max = f.sum = v;
            continue;
        }
        // Strictly smaller or greater only: on a tie the earlier value stays.
        if (f.min > v)
            f.min = v;
        if (f.max < v)
            f.max = v;
        f.sum += v;
    }
}

enum class RowKind { Min, Max, Avg };

QString ValueText(RowKind kind, MeasuredField field, const FieldAggregate& f, long long count)
{
    if (f.failedReading)
        return QStringLiteral("ERR");
    if (f.notANumber)
        FailTable(EngineText(texts::kNotANumber).arg(*f.notANumber, QLatin1String(FieldName(field))));
    const double value = kind == RowKind::Min ? f.min : kind == RowKind::Max ? f.max : f.sum / count;
    // The stored bit error rates are one decade above the report's.
    if (IsBitErrorRate(field))
        return FormatNumber("%.1E", value * 0.1);
    return kind == RowKind::Avg ? FormatNumber("%.1f", value) : NumberText(value);
}

QString InsertSql()
{
    QStringList names;
    QStringList marks;
    for (const FieldDef& f : FilterFields()) {
        names.append(QuoteSqlName(f.name));
        marks.append(QStringLiteral("?"));
    }
    return QStringLiteral("INSERT INTO main.records (%1, _pos) VALUES (%2, ?)")
        .arg(names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

class FilterRows {
public:
    explicit FilterRows(SqlConnection& db) : m_insert(db, InsertSql()) {}

    // `values` by Filter field name; the others stay empty.
    void Append(const std::map<QString, QString>& values)
    {
        const auto& defs = FilterFields();
        for (size_t i = 0; i < defs.size(); ++i) {
            const auto it = values.find(defs[i].name);
            m_insert.Bind(static_cast<int>(i) + 1,
                          it == values.end() ? QVariant() : StoredFieldValue(defs[i], QVariant(it->second)));
        }
        m_insert.Bind(static_cast<int>(defs.size()) + 1, QVariant(++m_position));
        m_insert.Step();
        m_insert.Reset();
    }

    void AppendSeparator()
    {
        std::map<QString, QString> dashes;
        for (const FieldDef& f : FilterFields())
            if (f.name != QLatin1String(fields::kIndex))
                dashes.emplace(f.name, QString(f.width, QLatin1Char('-')));
        Append(dashes);
    }

private:
    SqlStatement m_insert;
    long long m_position = 0;
};

std::map<std::string, TestPointAggregate, std::less<>> AggregateMeasurements(SqlConnection& db)
{
    QStringList measured;
    for (const MeasuredField field : kMeasuredFieldsInOrder)
        measured.append(QStringLiteral("m.records.") + QuoteSqlName(QLatin1String(FieldName(field))));
    // Stored order, so that sums add up exactly as a walk of the table does.
    SqlStatement pass(db, QStringLiteral("SELECT rowid, \"index\", type, system, band, %1 FROM m.records "
                                         "ORDER BY _pos")
                              .arg(measured.join(QStringLiteral(", "))));
    std::map<std::string, TestPointAggregate, std::less<>> byIndex;
    auto last = byIndex.end();
    while (pass.Step()) {
        const QByteArrayView key = pass.Utf8(kIndexColumn);
        const std::string_view keyView(key.data(), static_cast<size_t>(key.size()));
        if (last == byIndex.end() || last->first != keyView) {
            last = byIndex.find(keyView);
            if (last == byIndex.end())
                last = byIndex.emplace(std::string(keyView), TestPointAggregate{}).first;
        }
        Accumulate(last->second, pass);
    }
    return byIndex;
}

}  // namespace

const std::vector<FieldDef>& FilterFields()
{
    using namespace fields;
    static const std::vector<FieldDef> layout{
        TextField(kIndex, 5), TextField(kReference, 8), TextField(kCh, 8),       TextField(kFreq, 10),
        TextField(kType, 9),  TextField(kLevel, 6),     TextField(kCN, 6),       TextField(kVA, 6),
        TextField(kDesvFM, 6), TextField(kMER, 6),      TextField(kCBER, 10),    TextField(kVBER, 10),
        TextField(kLBER, 10), TextField(kHour, 10),     TextField(kDate, 10),
    };
    return layout;
}

FilterFill FillMinMaxAvg(const QString& filterFile, const QString& measurementsFile, const QString& testPointsFile)
{
    FilterWriter writer(filterFile);
    writer.Attach(measurementsFile, "m");
    writer.Attach(testPointsFile, "t");
    const auto byIndex = AggregateMeasurements(writer.Db());
    return InTransaction(writer, [&] {
        FilterRows rows(writer.Db());
        SqlStatement testPoints(writer.Db(), QStringLiteral("SELECT \"index\" FROM t.records ORDER BY _pos"));
        SqlStatement copied(writer.Db(), QStringLiteral("SELECT ch, freq, type FROM m.records WHERE rowid = ?"));
        while (testPoints.Step()) {
            const std::string key = std::to_string(static_cast<long long>(testPoints.Double(0)));
            const auto found = byIndex.find(key);
            if (found == byIndex.end())
                return FilterFill::Mismatch;
            const TestPointAggregate& tp = found->second;

            // ch, freq and type of the latest acquisition, where a walk of
            // the test point's rows ends.
            copied.Bind(1, QVariant(tp.lastRowId));
            copied.Step();
            const QString ch = copied.String(0);
            const QString freq = copied.String(1);
            const QString type = copied.String(2);
            copied.Reset();

            for (const auto& [kind, reference] : {std::pair{RowKind::Min, "MIN"}, std::pair{RowKind::Max, "MAX"},
                                                  std::pair{RowKind::Avg, "AVG"}}) {
                std::map<QString, QString> values{{QLatin1String(kReference), QLatin1String(reference)},
                                                  {QLatin1String(fields::kCh), ch},
                                                  {QLatin1String(fields::kFreq), freq},
                                                  {QLatin1String(fields::kType), type}};
                for (size_t i = 0; i < kMeasuredFieldsInOrder.size(); ++i) {
                    const MeasuredField field = kMeasuredFieldsInOrder[i];
                    if (!tp.computed.Has(field))
                        continue;
                    // All three rows would fail on it; the first fails before it is stored.
                    if (tp.fields[i].firstEmpty)
                        return FilterFill::Mismatch;
                    values.emplace(QLatin1String(FieldName(field)),
                                       ValueText(kind, field, tp.fields[i], tp.count));
                }
                rows.Append(values);
            }
            rows.AppendSeparator();
        }
        return FilterFill::Complete;
    });
}

namespace {
QString CopyColumnsSql(const QString& where, const QString& order)
{
    using namespace fields;
    QStringList targets;
    QStringList sources;
    for (const char* name : {kCh, kFreq, kType, kLevel, kCN, kVA, kDesvFM, kMER, kCBER, kVBER, kLBER, kHour, kDate}) {
        int width = 0;
        for (const FieldDef& f : FilterFields())
            if (f.name == QLatin1String(name))
                width = f.width;
        const QString column = QStringLiteral("r.") + QuoteSqlName(QLatin1String(name));
        targets.append(QuoteSqlName(QLatin1String(name)));
        // Numbers as their general decimal text (as the table engine shows
        // them), then cut to the Filter field's width.
        sources.append(QStringLiteral("substr(iif(typeof(%1) IN ('real', 'integer'), printf('%.15g', %1), %1), 1, %2)")
                           .arg(column)
                           .arg(width));
    }
    return QStringLiteral("INSERT INTO main.records (%1, _pos) SELECT %2, row_number() OVER (ORDER BY %4) "
                          "FROM %3 ORDER BY %4")
        .arg(targets.join(QStringLiteral(", ")), sources.join(QStringLiteral(", ")), where, order);
}

void CopyInOneTransaction(const QString& filterFile, const QString& measurementsFile,
                          const QString& testPointsFile, const QString& sql)
{
    FilterWriter writer(filterFile);
    writer.Attach(measurementsFile, "m");
    if (!testPointsFile.isEmpty())
        writer.Attach(testPointsFile, "t");
    InTransaction(writer, [&] {
        writer.Db().Exec(sql);
        return true;
    });
}
}  // namespace

QString ByTestPointInsertSql()
{
    // A test point's acquisitions carry its index as text.
    return CopyColumnsSql(QStringLiteral("t.records AS tp JOIN m.records AS r "
                                         "ON r.\"index\" = CAST(CAST(tp.\"index\" AS INTEGER) AS TEXT)"),
                          QStringLiteral("tp._pos, r._pos"));
}

void FillByTestPoint(const QString& filterFile, const QString& measurementsFile, const QString& testPointsFile)
{
    CopyInOneTransaction(filterFile, measurementsFile, testPointsFile, ByTestPointInsertSql());
}

void FillByAlarm(const QString& filterFile, const QString& measurementsFile)
{
    CopyInOneTransaction(filterFile, measurementsFile, QString(),
                         CopyColumnsSql(QStringLiteral("m.records AS r WHERE r.warning = 'YES'"),
                                        QStringLiteral("r._pos")));
}
