// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testpoints/table_files.h"
#include "testpoints/table_filter.h"
#include "testpoints/table_schema.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class SqlConnection;

// The table engine: files and database names (table_files.h), the file layout
// (table_schema.h), plain SQL (sql_statement.h) and, here, the cursor.

enum class DatasetState { Inactive, Browse, Edit, Insert };

enum class DatasetEvent {
    Opened,        // after Open
    Closed,        // after Close
    RowsChanged,   // rows stored, deleted or re-read; filter switched
    CursorMoved,   // the current row changed
};

// An open table with a current row, one pending (edited or inserted) row and
// an optional text filter. Not copyable: windows and commands share the
// instances their owners hold.
class Dataset {
public:
    Dataset();
    Dataset(const QString& databaseName, const QString& tableName);
    ~Dataset();
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;

    void SetDatabaseName(const QString& name);
    void SetTableName(const QString& name);
    QString DatabaseName() const { return m_databaseName; }
    QString TableName() const { return m_tableName; }
    // The file the names point at.
    QString FilePath() const;

    // Replaces an existing file of that name with an empty table. The dataset
    // must be closed, and no other open dataset may hold the file.
    void CreateTable(const std::vector<FieldDef>& fields);

    // Places the current row on the first row. A missing file, a locked file or
    // a file that is not a table of this engine raises VigiloError.
    void Open();
    // Stores the pending row first.
    void Close();
    bool IsOpen() const;
    bool FileExists() const;
    DatasetState State() const { return m_state; }

    // Navigation; each stores the pending row first.
    void First();
    void Next();
    void Prior();
    void Last();
    // Moves to the row at `recNo` (0-based among the rows the filter shows).
    void MoveTo(long long recNo);
    // True after Next on the last row, and on an empty table.
    bool Eof() const;
    bool Bof() const;
    // Rows the filter shows (the pending insert not counted).
    long long RecordCount() const;
    // The 0-based number of the current row among the shown rows; -1 for none.
    long long RecNo() const;
    bool HasCurrentRow() const;

    // A pending new row at the end / before the current row.
    void Append();
    void Insert();
    // The current row becomes the pending row.
    void Edit();
    // Deletes the current row (a pending insert is just dropped); the next row
    // becomes current, or the new last row.
    void Delete();
    // Stores the pending row: the auto-increment field gets its number now.
    void Post();
    // Drops the pending row.
    void Cancel();
    // Stores the pending row and re-reads the table, keeping the current row.
    void Refresh();

    // Several stores in one commit (bulk loads). Rollback drops every row
    // stored since StartTransaction.
    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return m_inTransaction; }

    // ---- Fields (names ignore case) -------------------------------------------
    const std::vector<FieldDef>& Fields() const;
    QStringList FieldNames() const;
    bool HasField(const QString& name) const;
    // The field's position, or nothing.
    std::optional<int> FindField(const QString& name) const;
    // Raises VigiloError for an absent field.
    int FieldIndex(const QString& name) const;

    // Text: numbers as their general decimal text with "." (empty when null).
    QString Text(const QString& name) const;
    // A text longer than the field's width is cut; a text into a number field
    // must convert ("," accepted as decimal point), an empty text stores null.
    void SetText(const QString& name, const QString& text);
    // Number: null reads 0; a text that is not a number raises VigiloError.
    double Number(const QString& name) const;
    // A number into a text field is stored as its decimal text with ".".
    void SetNumber(const QString& name, double value);
    // Null, QString, double or qlonglong by field kind.
    QVariant Value(const QString& name) const;
    void SetValue(const QString& name, const QVariant& value);

    // ---- Filter ------------------------------------------------------------------
    // The text of table_filter.h, e.g. "index=12". A malformed filter, or one
    // naming a field the open table lacks, raises VigiloError when set.
    void SetFilter(const QString& text);
    QString Filter() const { return m_filterText; }
    void SetFiltered(bool on);
    bool Filtered() const { return m_filtered; }

    // ---- Notification -----------------------------------------------------------
    // Runs after Append or Insert has created the pending row.
    std::function<void()> afterInsert;
    // Listeners for grids; the id removes one.
    int AddListener(std::function<void(DatasetEvent)> listener);
    void RemoveListener(int id);

    // Rows for a grid: `count` rows from `first` (0-based among the shown rows),
    // each the values of every field in order. Leaves the cursor alone.
    std::vector<std::vector<QVariant>> ReadRows(long long first, long long count) const;

private:
    struct Row {
        long long rowid = 0;
        long long pos = 0;
        std::vector<QVariant> values;
    };

    void RequireOpen() const;
    void Notify(DatasetEvent event);
    void PostIfPending();
    void LoadFields();
    void BeginWrite();
    void EndWrite(bool ok);
    std::optional<Row> Fetch(const QString& where, const std::vector<QVariant>& params,
                             bool descending) const;
    QString FilterClause(std::vector<QVariant>& params) const;
    void SetCurrent(std::optional<Row> row);
    std::vector<QVariant>& EditableValues();
    const std::vector<QVariant>* CurrentValues() const;
    long long PositionForInsert();
    long long NextAutoValue(int field);

    QString m_databaseName;
    QString m_tableName;
    std::unique_ptr<SqlConnection> m_db;
    std::unique_ptr<TableHold> m_hold;  // while open
    std::vector<FieldDef> m_fields;
    std::map<QString, int> m_fieldByLowerName;
    QString m_fieldColumns;  // the fields' quoted column names, in order
    QString m_insertSql;
    QString m_updateSql;
    DatasetState m_state = DatasetState::Inactive;
    std::optional<Row> m_current;
    std::vector<QVariant> m_pending;
    long long m_insertBeforePos = -1;  // -1: append
    bool m_eof = true;
    bool m_bof = true;
    bool m_inTransaction = false;

    QString m_filterText;
    TableFilter m_filter;
    bool m_filtered = false;

    std::map<int, std::function<void(DatasetEvent)>> m_listeners;
    int m_nextListener = 1;
};
