// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/csv_tables.h"

#include "instrument/vocabulary.h"
#include "platform/decimal_point.h"
#include "platform/errors.h"
#include "platform/texts.h"
#include "testpoints/dataset.h"
#include "testpoints/table_layouts.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace {
[[noreturn]] void Fail(const QString& text)
{
    throw VigiloError(text);
}

QStringList SplitLine(const QString& line)
{
    QStringList values = line.split(QLatin1Char(';'));
    return values;
}

// The values an enumerated test point field accepts, in the order an error
// lists them; nullptr for a free field. Empty is always allowed. The tuning
// vocabulary decides, except for `bw`, which holds a number (DVB-C stores an
// occupied bandwidth with two decimals), and the alarm switch.
const QStringList* AllowedValues(const QString& field)
{
    static const QStringList alarm{QStringLiteral("ON"), QStringLiteral("OFF")};
    if (field == QLatin1String(fields::kAlarm))
        return &alarm;
    static const std::map<vocabulary::Kind, QStringList> known = [] {
        std::map<vocabulary::Kind, QStringList> lists;
        for (const auto kind : {vocabulary::Kind::Type, vocabulary::Kind::System, vocabulary::Kind::Band,
                                vocabulary::Kind::Lnb, vocabulary::Kind::Modulation, vocabulary::Kind::CodeRate,
                                vocabulary::Kind::GuardInterval, vocabulary::Kind::Carrier,
                                vocabulary::Kind::InvSpectral, vocabulary::Kind::Layer})
            lists[kind] = vocabulary::KnownValues(kind);
        return lists;
    }();
    const auto kind = vocabulary::KindOfField(field);
    if (!kind)
        return nullptr;
    const auto it = known.find(*kind);
    return it == known.end() ? nullptr : &it->second;
}

std::optional<double> ParseNumber(const QString& text)
{
    bool ok = false;
    const double value = FixDecimalPoint(text.trimmed()).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Tuning numbers kept in text fields: checked, and stored with a decimal point.
bool IsNumberText(const QString& field)
{
    return field == QLatin1String(fields::kFreq) || field == QLatin1String(fields::kBw) ||
           field == QLatin1String(fields::kSymbolRate);
}

QString StoredText(const QString& field, const QString& value)
{
    return IsNumberText(field) ? FixDecimalPoint(value) : value;
}

// An error has to say something even when the language line names neither
// language: then it is worded in English, as the table engine's errors are.
QString ImportMessage(const Text& text, Language language)
{
    return language == Language::Spanish ? text.In(language) : text.English();
}
}  // namespace

CsvFile ReadCsvFile(const QString& path, Language language)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Fail(ImportMessage(texts::kCsvCannotRead, language).arg(path));
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    CsvFile csv;
    bool haveHeader = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        CsvLine parsed{i + 1, SplitLine(line)};
        if (!haveHeader) {
            for (QString& name : parsed.values)
                name = name.trimmed();
            if (parsed.values.size() > 1 && parsed.values.last().isEmpty())
                parsed.values.removeLast();
            csv.header = parsed;
            haveHeader = true;
        } else {
            // A trailing separator after the last value adds no value.
            if (parsed.values.size() == csv.header.values.size() + 1 && parsed.values.last().isEmpty())
                parsed.values.removeLast();
            csv.rows.push_back(parsed);
        }
    }
    if (!haveHeader)
        Fail(ImportMessage(texts::kCsvEmpty, language).arg(path));
    return csv;
}

void BuildPlanTable(const QString& csvPath, const QString& tablePath, Language language)
{
    const CsvFile csv = ReadCsvFile(csvPath, language);
    const int columns = static_cast<int>(csv.header.values.size());
    std::vector<FieldDef> layout;
    std::map<QString, int> known;
    for (const auto* plan : {&TerrestrialPlanFields(), &SatellitePlanFields()}) {
        for (const FieldDef& f : *plan)
            known[f.name.toLower()] = std::max(known[f.name.toLower()], f.width);
    }
    for (const QString& name : csv.header.values) {
        const auto it = known.find(name.toLower());
        layout.push_back(FieldDef{name, FieldKind::Text, it == known.end() ? 1 : it->second, false});
    }
    for (const CsvLine& row : csv.rows) {
        if (row.values.size() != columns)
            Fail(ImportMessage(texts::kCsvValueCount, language).arg(row.number).arg(row.values.size()).arg(columns));
        for (int c = 0; c < columns; ++c)
            layout[static_cast<size_t>(c)].width =
                std::max(layout[static_cast<size_t>(c)].width, static_cast<int>(row.values[c].trimmed().size()));
    }
    const QString temporary = tablePath + QStringLiteral(".building");
    Dataset table(QString(), temporary);
    table.CreateTable(layout);
    table.Open();
    table.StartTransaction();
    for (const CsvLine& row : csv.rows) {
        table.Append();
        for (int c = 0; c < columns; ++c)
            table.SetText(csv.header.values[c], row.values[c].trimmed());
        table.Post();
    }
    table.Commit();
    table.Close();
    CopyTableFile(temporary, tablePath);
    DeleteTableFile(temporary);
}

long long ImportTestPointsCsv(const QString& csvPath, const QString& tablePath, Language language)
{
    const CsvFile csv = ReadCsvFile(csvPath, language);
    const std::vector<FieldDef>& layout = TestPointFields();
    std::vector<std::optional<size_t>> fieldOf;  // per column; none for `index`
    std::map<size_t, bool> seen;
    for (const QString& name : csv.header.values) {
        const auto it = std::find_if(layout.begin(), layout.end(), [&](const FieldDef& f) {
            return f.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (it == layout.end())
            Fail(ImportMessage(texts::kCsvUnknownField, language).arg(csv.header.number).arg(name));
        const size_t field = static_cast<size_t>(it - layout.begin());
        if (seen[field])
            Fail(ImportMessage(texts::kCsvDuplicateField, language).arg(csv.header.number).arg(it->name));
        seen[field] = true;
        fieldOf.push_back(it->kind == FieldKind::AutoIncrement ? std::nullopt : std::optional<size_t>(field));
    }

    // Every value is checked before anything is written.
    const int columns = static_cast<int>(fieldOf.size());
    for (const CsvLine& row : csv.rows) {
        if (row.values.size() != columns)
            Fail(ImportMessage(texts::kCsvValueCount, language).arg(row.number).arg(row.values.size()).arg(columns));
        for (int c = 0; c < columns; ++c) {
            if (!fieldOf[static_cast<size_t>(c)])
                continue;
            const FieldDef& field = layout[*fieldOf[static_cast<size_t>(c)]];
            const QString value = row.values[c].trimmed();
            if (value.isEmpty())
                continue;
            if (field.kind == FieldKind::Float) {
                if (!ParseNumber(value))
                    Fail(ImportMessage(texts::kCsvNotANumber, language).arg(row.number).arg(field.name, value));
                continue;
            }
            if (IsNumberText(field.name)) {
                if (!ParseNumber(value))
                    Fail(ImportMessage(texts::kCsvNotANumber, language).arg(row.number).arg(field.name, value));
            }
            if (StoredText(field.name, value).size() > field.width)
                Fail(ImportMessage(texts::kCsvTooLong, language).arg(row.number).arg(field.name, value).arg(field.width));
            const QStringList* allowed = AllowedValues(field.name);
            if (allowed && !allowed->contains(value))
                Fail(ImportMessage(texts::kCsvNotAllowed, language)
                         .arg(row.number)
                         .arg(field.name, value, allowed->join(QStringLiteral(", "))));
        }
    }

    const QString temporary = tablePath + QStringLiteral(".importing");
    Dataset table(QString(), temporary);
    table.CreateTable(layout);
    try {
        table.Open();
        table.StartTransaction();
        for (const CsvLine& row : csv.rows) {
            table.Append();
            // Alarm fields the file leaves out get the values a test point
            // added from a channel plan gets: alarm off, no thresholds.
            for (const FieldDef& field : layout) {
                if (field.name == QLatin1String(fields::kAlarm))
                    table.SetText(field.name, QStringLiteral("OFF"));
                else if (field.kind == FieldKind::Float)
                    table.SetNumber(field.name, 0);
                else if (field.name.endsWith(QLatin1String("BER")))
                    table.SetText(field.name, QStringLiteral("OFF"));
            }
            for (int c = 0; c < columns; ++c) {
                const QString value = row.values[c].trimmed();
                if (!fieldOf[static_cast<size_t>(c)] || value.isEmpty())
                    continue;
                const QString& name = layout[*fieldOf[static_cast<size_t>(c)]].name;
                table.SetText(name, StoredText(name, value));
            }
            table.Post();
        }
        table.Commit();
        table.Close();
        CopyTableFile(temporary, tablePath);
    } catch (...) {
        if (table.IsOpen()) {
            table.Rollback();
            table.Close();
        }
        DeleteTableFile(temporary);
        throw;
    }
    DeleteTableFile(temporary);
    return static_cast<long long>(csv.rows.size());
}
