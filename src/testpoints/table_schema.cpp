// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/table_schema.h"

#include "testpoints/engine_texts.h"
#include "testpoints/sql_statement.h"
#include "testpoints/table_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <map>
#include <optional>

namespace {
QString KindName(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text: return QStringLiteral("text");
    case FieldKind::Float: return QStringLiteral("float");
    case FieldKind::AutoIncrement: return QStringLiteral("autoinc");
    }
    return {};
}

std::optional<FieldKind> KindFromName(const QString& name)
{
    if (name == QLatin1String("text")) return FieldKind::Text;
    if (name == QLatin1String("float")) return FieldKind::Float;
    if (name == QLatin1String("autoinc")) return FieldKind::AutoIncrement;
    return std::nullopt;
}

QString ColumnDeclaration(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text: return QStringLiteral("TEXT");
    case FieldKind::Float: return QStringLiteral("REAL");
    case FieldKind::AutoIncrement: return QStringLiteral("INTEGER");
    }
    return {};
}

void ValidateFields(const std::vector<FieldDef>& fields)
{
    std::map<QString, int> seen;
    for (const FieldDef& f : fields) {
        if (f.name.trimmed().isEmpty() || f.name.startsWith(QLatin1Char('_')) ||
            (f.kind == FieldKind::Text && f.width <= 0))
            FailTable(EngineText(texts::kBadFieldDefinition).arg(f.name));
        if (!seen.emplace(f.name.toLower(), 0).second)
            FailTable(EngineText(texts::kDuplicateField).arg(f.name));
    }
    if (fields.empty())
        FailTable(EngineText(texts::kBadFieldDefinition).arg(QString()));
}

void WriteLayout(SqlConnection& db, const std::vector<FieldDef>& fields)
{
    db.Exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    db.Exec(QStringLiteral("BEGIN"));
    db.Exec(QStringLiteral("CREATE TABLE _fields (position INTEGER PRIMARY KEY, name TEXT NOT NULL, "
                           "kind TEXT NOT NULL, width INTEGER NOT NULL, required INTEGER NOT NULL, "
                           "last_value INTEGER NOT NULL DEFAULT 0)"));
    QStringList columns;
    for (size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& f = fields[i];
        columns.append(QuoteSqlName(f.name) + QLatin1Char(' ') + ColumnDeclaration(f.kind));
        SqlStatement insert(db, QStringLiteral("INSERT INTO _fields (position, name, kind, width, required) "
                                               "VALUES (?, ?, ?, ?, ?)"));
        insert.BindAll({QVariant(static_cast<long long>(i + 1)), QVariant(f.name), QVariant(KindName(f.kind)),
                        QVariant(static_cast<long long>(f.kind == FieldKind::Text ? f.width : 0)),
                        QVariant(static_cast<long long>(f.required ? 1 : 0))});
        insert.Step();
    }
    columns.append(QStringLiteral("_pos INTEGER NOT NULL"));
    db.Exec(QStringLiteral("CREATE TABLE records (%1)").arg(columns.join(QStringLiteral(", "))));
    db.Exec(QStringLiteral("CREATE INDEX _records_order ON records (_pos)"));
    db.Exec(QStringLiteral("COMMIT"));
}
}  // namespace

void WriteEmptyTable(const QString& path, const std::vector<FieldDef>& fields)
{
    ValidateFields(fields);
    if (!QFileInfo(path).absoluteDir().exists())
        FailTable(EngineText(texts::kFolderMissing).arg(QFileInfo(path).absolutePath()));
    // Another dataset reading the file would go on over a deleted one.
    RequireTableNotHeld(path);

    const QString temporary = path + QStringLiteral(".creating");
    DeleteTableFile(temporary);
    try {
        SqlConnection db(temporary, SqlAccess::Create);
        WriteLayout(db, fields);
    } catch (...) {
        DeleteTableFile(temporary);
        throw;
    }
    // Replacing the old file: its journal side files belong to the old table
    // and must go with it, or SQLite would apply them to the new one.
    DeleteTableFile(path);
    if (!QFile::rename(temporary, path)) {
        DeleteTableFile(temporary);
        FailTable(EngineText(texts::kCannotCreateFile).arg(path));
    }
}

std::vector<FieldDef> ReadFields(SqlConnection& db)
{
    {
        // A database of another program has neither of our two tables: that
        // is "not a table of this station", not an error of the engine.
        SqlStatement ours(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                                             "AND name IN ('_fields', 'records')"));
        if (!ours.Step() || ours.Int(0) != 2)
            FailTable(EngineText(texts::kNotATable).arg(db.Path()));
    }
    std::vector<FieldDef> fields;
    SqlStatement query(db, QStringLiteral("SELECT name, kind, width, required FROM _fields ORDER BY position"));
    while (query.Step()) {
        const auto kind = KindFromName(query.String(1));
        if (!kind)
            FailTable(EngineText(texts::kNotATable).arg(db.Path()));
        fields.push_back(FieldDef{query.String(0), *kind, static_cast<int>(query.Int(2)), query.Int(3) != 0});
    }
    if (fields.empty())
        FailTable(EngineText(texts::kNotATable).arg(db.Path()));
    return fields;
}

void RequireTableLayout(const QString& path, const std::vector<FieldDef>& layout, const QStringList& optional)
{
    SqlConnection db(path, SqlAccess::Read);
    QStringList present;
    for (const FieldDef& field : ReadFields(db))
        present << field.name.toLower();
    QStringList missing;
    for (const FieldDef& field : layout) {
        if (!present.contains(field.name.toLower()) && !optional.contains(field.name, Qt::CaseInsensitive))
            missing << field.name;
    }
    if (!missing.isEmpty())
        FailTable(EngineText(texts::kTableLacksFields).arg(path, missing.join(QStringLiteral(", "))));
    // Every page of the rows is read once: a file cut short fails here, not
    // in the middle of a run or a report.
    SqlStatement count(db, QStringLiteral("SELECT count(*) FROM records"));
    count.Step();
}
