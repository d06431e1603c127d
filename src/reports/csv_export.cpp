// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/csv_export.h"

#include "testpoints/engine_texts.h"
#include "testpoints/field_values.h"
#include "testpoints/sql_statement.h"
#include "testpoints/table_schema.h"

#include <QSaveFile>
#include <QStringList>

#include <charconv>

namespace {

constexpr qsizetype kFlushAt = 1 << 16;

// NumberText (15 significant digits, "%g" rules) without a QString per value:
// an export formats millions of them.
void AppendNumber(QByteArray& out, double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    out.append(buffer, result.ptr - buffer);
}

void AppendText(QByteArray& out, QByteArrayView utf8)
{
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            out.append(QString::fromUtf8(utf8).toLatin1());
            return;
        }
    }
    out.append(utf8);
}

void AppendValue(QByteArray& out, const SqlStatement& rows, int column, FieldKind kind)
{
    switch (rows.Type(column)) {
    case SqlType::Null: return;
    case SqlType::Float:
        if (kind != FieldKind::AutoIncrement) {
            AppendNumber(out, rows.Double(column));
            return;
        }
        break;
    case SqlType::Integer:
        if (kind == FieldKind::Float) {
            AppendNumber(out, rows.Double(column));
            return;
        }
        AppendText(out, rows.Utf8(column));
        return;
    case SqlType::Text:
        if (kind == FieldKind::Text) {
            AppendText(out, rows.Utf8(column));
            return;
        }
        break;
    case SqlType::Blob: break;
    }
    // What another tool may have left in a column: read as the engine reads it.
    out.append(FieldText(ReadFieldValue(rows, column, kind)).toLatin1());
}

void Write(QSaveFile& file, QByteArray& buffer)
{
    if (file.write(buffer) != buffer.size())
        FailTable(EngineText(texts::kCannotCreateFile).arg(file.fileName()));
    buffer.clear();
}

}  // namespace

void WriteTableCsv(const QString& tableFile, const QString& target)
{
    SqlConnection db(tableFile, SqlAccess::Read);
    const std::vector<FieldDef> fields = ReadFields(db);

    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        FailTable(EngineText(texts::kCannotCreateFile).arg(target));

    QByteArray buffer;
    buffer.reserve(kFlushAt + 4096);
    QStringList columns;
    for (const FieldDef& f : fields) {
        columns.append(QuoteSqlName(f.name));
        buffer.append(f.name.toLatin1());
        buffer.append(';');
    }
    buffer.append("\r\n");

    SqlStatement rows(db, QStringLiteral("SELECT %1 FROM records ORDER BY _pos").arg(columns.join(QStringLiteral(", "))));
    const int count = static_cast<int>(fields.size());
    while (rows.Step()) {
        for (int c = 0; c < count; ++c) {
            AppendValue(buffer, rows, c, fields[static_cast<size_t>(c)].kind);
            buffer.append(';');
        }
        buffer.append("\r\n");
        if (buffer.size() >= kFlushAt)
            Write(file, buffer);
    }
    Write(file, buffer);
    if (!file.commit())
        FailTable(EngineText(texts::kCannotCreateFile).arg(target));
}
