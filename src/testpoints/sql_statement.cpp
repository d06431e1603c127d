// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/sql_statement.h"

#include "testpoints/engine_texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace {
constexpr int kBusyTimeoutMs = 3000;

[[noreturn]] void RaiseFor(sqlite3* db, int code, const QString& path)
{
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        FailTable(EngineText(texts::kTableLocked).arg(path));
    if (code == SQLITE_NOTADB)
        FailTable(EngineText(texts::kNotATable).arg(path));
    if (code == SQLITE_CORRUPT)
        FailTable(EngineText(texts::kTableDamaged).arg(path));
    if (code == SQLITE_FULL)
        FailTable(EngineText(texts::kDiskFull).arg(path));
    if (code == SQLITE_READONLY)
        FailTable(EngineText(texts::kTableReadOnly).arg(path));
    const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
    FailTable(EngineText(texts::kTableError).arg(path, detail));
}

sqlite3_stmt* Prepare(sqlite3* db, const QString& sql, const QString& path)
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &stmt, nullptr) != SQLITE_OK)
        RaiseFor(db, sqlite3_errcode(db), path);
    return stmt;
}
}  // namespace

// ---- Connection ---------------------------------------------------------------

SqlConnection::SqlConnection(const QString& path, SqlAccess access) : m_path(path)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        FailTable(EngineText(texts::kFolderMissing).arg(info.absolutePath()));
    if (access != SqlAccess::Create && !info.exists())
        FailTable(EngineText(texts::kTableMissing).arg(path));
    const int flags = access == SqlAccess::Read    ? SQLITE_OPEN_READONLY
                      : access == SqlAccess::Write ? SQLITE_OPEN_READWRITE
                                                   : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString detail = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
        sqlite3_close(m_db);
        FailTable(EngineText(texts::kTableError).arg(path, detail));
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(m_db, 0);
    if (access == SqlAccess::Write) {
        try {
            Exec(QStringLiteral("PRAGMA journal_mode=WAL"));
            // Every committed row reaches the disk before the commit returns.
            Exec(QStringLiteral("PRAGMA synchronous=FULL"));
        } catch (...) {
            ClearCache();
            sqlite3_close(m_db);
            throw;
        }
    }
}

SqlConnection::~SqlConnection()
{
    ClearCache();
    sqlite3_close(m_db);
}

void SqlConnection::Exec(const QString& sql)
{
    SqlStatement statement(*this, sql);
    while (statement.Step()) {
    }
}

void SqlConnection::RollbackQuietly() noexcept
{
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

long long SqlConnection::LastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

void SqlConnection::CopyInto(SqlConnection& target)
{
    sqlite3_backup* backup = sqlite3_backup_init(target.m_db, "main", m_db, "main");
    if (!backup)
        target.RaiseLastError();
    int rc = SQLITE_OK;
    // A file another program keeps locked is reported after the same wait
    // as any other busy table, not waited for without end.
    int busyMs = 0;
    do {
        rc = sqlite3_backup_step(backup, -1);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (busyMs >= kBusyTimeoutMs)
                break;
            sqlite3_sleep(20);
            busyMs += 20;
        }
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(backup);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        FailTable(EngineText(texts::kTableLocked).arg(m_path));
    if (rc != SQLITE_DONE)
        FailTable(EngineText(texts::kTableError).arg(m_path, QString::fromUtf8(sqlite3_errstr(rc))));
}

void SqlConnection::RaiseLastError() const
{
    RaiseFor(m_db, sqlite3_errcode(m_db), m_path);
}

sqlite3_stmt* SqlConnection::Take(const QString& sql)
{
    const auto it = m_cache.find(sql);
    if (it == m_cache.end())
        return Prepare(m_db, sql, m_path);
    sqlite3_stmt* stmt = it->second;
    m_cache.erase(it);  // in use; given back when its SqlStatement goes
    return stmt;
}

void SqlConnection::Give(const QString& sql, sqlite3_stmt* stmt)
{
    if (!stmt)  // the text held no statement
        return;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (m_cache.size() >= kCacheLimit)
        ClearCache();
    // The same text may have been in use twice at once; one copy is enough.
    if (!m_cache.emplace(sql, stmt).second)
        sqlite3_finalize(stmt);
}

void SqlConnection::ClearCache()
{
    for (auto& [sql, stmt] : m_cache)
        sqlite3_finalize(stmt);
    m_cache.clear();
}

// ---- Statement ----------------------------------------------------------------

SqlStatement::SqlStatement(SqlConnection& connection, const QString& sql)
    : m_connection(connection), m_sql(sql), m_stmt(connection.Take(sql))
{
}

SqlStatement::~SqlStatement()
{
    m_connection.Give(m_sql, m_stmt);
}

void SqlStatement::Bind(int position, const QVariant& value)
{
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, position);
    } else {
        switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, position, value.toDouble());
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_stmt, position, value.toLongLong());
            break;
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, position, text.constData(), static_cast<int>(text.size()),
                                   SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        m_connection.RaiseLastError();
}

void SqlStatement::BindAll(const std::vector<QVariant>& values, int first)
{
    for (size_t i = 0; i < values.size(); ++i)
        Bind(first + static_cast<int>(i), values[i]);
}

bool SqlStatement::Step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    m_connection.RaiseLastError();
}

void SqlStatement::Reset()
{
    sqlite3_reset(m_stmt);
}

int SqlStatement::ColumnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString SqlStatement::ColumnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

SqlType SqlStatement::Type(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER: return SqlType::Integer;
    case SQLITE_FLOAT: return SqlType::Float;
    case SQLITE_TEXT: return SqlType::Text;
    case SQLITE_BLOB: return SqlType::Blob;
    default: return SqlType::Null;
    }
}

QVariant SqlStatement::Column(int column) const
{
    switch (Type(column)) {
    case SqlType::Null: return QVariant();
    case SqlType::Integer: return QVariant(Int(column));
    case SqlType::Float: return QVariant(Double(column));
    case SqlType::Text: return QVariant(String(column));
    case SqlType::Blob: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
        return QVariant(QByteArray(bytes, sqlite3_column_bytes(m_stmt, column)));
    }
    }
    return QVariant();
}

long long SqlStatement::Int(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

double SqlStatement::Double(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

QString SqlStatement::String(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)) : QString();
}

QByteArrayView SqlStatement::Utf8(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return text ? QByteArrayView(text, sqlite3_column_bytes(m_stmt, column)) : QByteArrayView();
}

QString QuoteSqlName(const QString& name)
{
    QString out = name;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}
