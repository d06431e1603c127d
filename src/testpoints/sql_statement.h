// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariant>

#include <map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Plain SQL over one table file. The cursor of Dataset is built on it, and
// reports and exports use it directly: one grouped pass over a Measurements
// table instead of a filtered cursor per test point. Every failure raises
// VigiloError with the engine's text naming the file.

enum class SqlAccess {
    Read,    // an existing file, read only
    Write,   // an existing file; WAL journal, and a commit reaches the disk before it returns
    Create,  // created when missing; journal left to the caller
};

class SqlConnection {
public:
    // A missing file raises for Read and Write; a missing folder for all three.
    SqlConnection(const QString& path, SqlAccess access);
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    const QString& Path() const { return m_path; }

    // Runs a statement (or a pragma) to its end, discarding any rows.
    void Exec(const QString& sql);
    // Ends a transaction without its changes; never raises, as it runs while
    // another error is on its way out.
    void RollbackQuietly() noexcept;
    long long LastInsertRowId() const;

    // Copies the whole database into `target`, replacing its content. The
    // copy is consistent even while another connection writes the source.
    void CopyInto(SqlConnection& target);

    // The engine's error for the last failure on this connection.
    [[noreturn]] void RaiseLastError() const;

private:
    friend class SqlStatement;
    // Prepared statements kept for reuse by SQL text: a run posts the same
    // few statements thousands of times.
    static constexpr size_t kCacheLimit = 64;
    sqlite3_stmt* Take(const QString& sql);
    void Give(const QString& sql, sqlite3_stmt* stmt);
    void ClearCache();

    QString m_path;
    sqlite3* m_db = nullptr;
    std::map<QString, sqlite3_stmt*> m_cache;
};

enum class SqlType { Null, Integer, Float, Text, Blob };

// One prepared statement of a connection: prepared once per SQL text and
// connection, handed back for reuse (reset, bindings cleared) when it goes.
// The connection must outlive it. Positions of bound parameters start at 1,
// columns at 0.
class SqlStatement {
public:
    SqlStatement(SqlConnection& connection, const QString& sql);
    ~SqlStatement();
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    // Null or invalid binds NULL; whole numbers and bools bind as integers,
    // doubles as reals, everything else as its text.
    void Bind(int position, const QVariant& value);
    void BindAll(const std::vector<QVariant>& values, int first = 1);

    // True while a row is available; false once the statement is done.
    bool Step();
    // Back to before the first row, keeping the bindings.
    void Reset();

    int ColumnCount() const;
    QString ColumnName(int column) const;
    SqlType Type(int column) const;
    // Null, qlonglong, double, QString or QByteArray by the stored type.
    QVariant Column(int column) const;
    long long Int(int column) const;
    double Double(int column) const;
    QString String(int column) const;  // null for NULL
    // The column's text as stored (UTF-8), valid until the next Step; empty
    // for NULL. For passes over many rows that compare bytes before they
    // need a QString.
    QByteArrayView Utf8(int column) const;

private:
    SqlConnection& m_connection;
    QString m_sql;
    sqlite3_stmt* m_stmt = nullptr;
};

// A table or column name as an SQL identifier, quoted: fields such as "C/N"
// or "symbol rate" are no plain words.
QString QuoteSqlName(const QString& name);
