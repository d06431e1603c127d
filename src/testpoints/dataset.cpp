// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/dataset.h"

#include "testpoints/engine_texts.h"
#include "testpoints/field_values.h"
#include "testpoints/sql_statement.h"

#include <QFileInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcTables, "vigilo.testpoints", QtWarningMsg)

namespace {
// Stored-order positions leave gaps so that an insert before a row rarely has
// to renumber the rows after it.
constexpr long long kPositionGap = 1024;
}  // namespace

Dataset::Dataset() = default;

Dataset::Dataset(const QString& databaseName, const QString& tableName)
    : m_databaseName(databaseName), m_tableName(tableName)
{
}

Dataset::~Dataset()
{
    if (!m_db)
        return;
    try {
        Close();
    } catch (const std::exception& error) {
        qCWarning(lcTables) << "pending row lost on destruction:" << error.what();
    }
}

void Dataset::SetDatabaseName(const QString& name)
{
    m_databaseName = name;
}

void Dataset::SetTableName(const QString& name)
{
    m_tableName = name;
}

QString Dataset::FilePath() const
{
    return ResolveTablePath(m_databaseName, m_tableName);
}

bool Dataset::FileExists() const
{
    return QFileInfo::exists(FilePath());
}

bool Dataset::IsOpen() const
{
    return m_db != nullptr;
}

void Dataset::RequireOpen() const
{
    if (!m_db)
        FailTable(EngineText(texts::kTableNotOpen));
}


void Dataset::Notify(DatasetEvent event)
{
    const auto listeners = m_listeners;
    for (const auto& [id, listener] : listeners)
        listener(event);
}

int Dataset::AddListener(std::function<void(DatasetEvent)> listener)
{
    const int id = m_nextListener++;
    m_listeners.emplace(id, std::move(listener));
    return id;
}

void Dataset::RemoveListener(int id)
{
    m_listeners.erase(id);
}

void Dataset::CreateTable(const std::vector<FieldDef>& fields)
{
    if (m_db)
        FailTable(EngineText(texts::kTableStillOpen).arg(FilePath()));
    WriteEmptyTable(FilePath(), fields);
}

void Dataset::Open()
{
    if (m_db)
        Close();
    const QString path = FilePath();
    if (!QFileInfo::exists(path))
        FailTable(EngineText(texts::kTableMissing).arg(path));
    const bool writable = QFileInfo(path).isWritable() && QFileInfo(QFileInfo(path).absolutePath()).isWritable();
    if (writable) {
        // A writing connection sets the journal mode, which writes to the
        // file: a file that is not one of our tables is refused first,
        // through a connection that only reads, and left exactly as it was.
        SqlConnection reader(path, SqlAccess::Read);
        (void)ReadFields(reader);
    }
    m_db = std::make_unique<SqlConnection>(path, writable ? SqlAccess::Write : SqlAccess::Read);
    try {
        LoadFields();
    } catch (...) {
        m_db.reset();
        throw;
    }
    m_hold = std::make_unique<TableHold>(path);
    m_state = DatasetState::Browse;
    m_pending.clear();
    m_current.reset();
    Notify(DatasetEvent::Opened);
    First();
}

void Dataset::LoadFields()
{
    m_fields = ReadFields(*m_db);
    m_fieldByLowerName.clear();
    for (size_t i = 0; i < m_fields.size(); ++i)
        m_fieldByLowerName[m_fields[i].name.toLower()] = static_cast<int>(i);
    QStringList columns;
    QStringList marks;
    QStringList assignments;
    for (const FieldDef& f : m_fields) {
        columns.append(QuoteSqlName(f.name));
        marks.append(QStringLiteral("?"));
        assignments.append(QuoteSqlName(f.name) + QStringLiteral(" = ?"));
    }
    m_fieldColumns = columns.join(QStringLiteral(", "));
    m_insertSql = QStringLiteral("INSERT INTO records (%1, _pos) VALUES (%2, ?)")
                      .arg(m_fieldColumns, marks.join(QStringLiteral(", ")));
    m_updateSql = QStringLiteral("UPDATE records SET %1 WHERE rowid = ?").arg(assignments.join(QStringLiteral(", ")));
}

void Dataset::Close()
{
    if (!m_db)
        return;
    PostIfPending();
    if (m_inTransaction) {
        // Closing ends a bulk load as if it were committed: rows the caller
        // stored must not vanish because it forgot the commit.
        Commit();
    }
    m_db.reset();
    m_hold.reset();
    m_state = DatasetState::Inactive;
    m_current.reset();
    m_pending.clear();
    m_eof = m_bof = true;
    Notify(DatasetEvent::Closed);
}

// ---- Fields -----------------------------------------------------------------------

const std::vector<FieldDef>& Dataset::Fields() const
{
    return m_fields;
}

QStringList Dataset::FieldNames() const
{
    QStringList names;
    for (const FieldDef& f : m_fields)
        names.append(f.name);
    return names;
}

std::optional<int> Dataset::FindField(const QString& name) const
{
    const auto it = m_fieldByLowerName.find(name.toLower());
    if (it == m_fieldByLowerName.end())
        return std::nullopt;
    return it->second;
}

bool Dataset::HasField(const QString& name) const
{
    return FindField(name).has_value();
}

int Dataset::FieldIndex(const QString& name) const
{
    RequireOpen();
    const auto index = FindField(name);
    if (!index)
        FailTable(EngineText(texts::kFieldNotFound).arg(name));
    return *index;
}

const std::vector<QVariant>* Dataset::CurrentValues() const
{
    if (m_state == DatasetState::Edit || m_state == DatasetState::Insert)
        return &m_pending;
    if (m_current)
        return &m_current->values;
    return nullptr;
}

std::vector<QVariant>& Dataset::EditableValues()
{
    RequireOpen();
    if (m_state == DatasetState::Browse)
        Edit();
    return m_pending;
}

QVariant Dataset::Value(const QString& name) const
{
    const int index = FieldIndex(name);
    const auto* values = CurrentValues();
    if (!values)
        return QVariant();
    return (*values)[static_cast<size_t>(index)];
}

QString Dataset::Text(const QString& name) const
{
    return FieldText(Value(name));
}

double Dataset::Number(const QString& name) const
{
    const QVariant value = Value(name);
    return FieldNumber(value, m_fields[static_cast<size_t>(FieldIndex(name))].name);
}

void Dataset::SetValue(const QString& name, const QVariant& value)
{
    const int index = FieldIndex(name);
    const QVariant stored = StoredFieldValue(m_fields[static_cast<size_t>(index)], value);
    EditableValues()[static_cast<size_t>(index)] = stored;
}

void Dataset::SetText(const QString& name, const QString& text)
{
    SetValue(name, QVariant(text));
}

void Dataset::SetNumber(const QString& name, double value)
{
    SetValue(name, QVariant(value));
}

// ---- Filter ------------------------------------------------------------------------


void Dataset::SetFilter(const QString& text)
{
    PostIfPending();
    TableFilter filter = ParseFilter(text);
    if (m_db) {
        for (const FilterCondition& condition : filter.conditions) {
            if (!HasField(condition.field))
                FailTable(EngineText(texts::kFieldNotFound).arg(condition.field));
        }
    }
    m_filterText = text;
    m_filter = std::move(filter);
    if (m_db && m_filtered) {
        Notify(DatasetEvent::RowsChanged);
        First();
    }
}

void Dataset::SetFiltered(bool on)
{
    PostIfPending();
    if (on == m_filtered)
        return;
    m_filtered = on;
    if (m_db) {
        Notify(DatasetEvent::RowsChanged);
        First();
    }
}

QString Dataset::FilterClause(std::vector<QVariant>& params) const
{
    if (!m_filtered)
        return QString();
    return FilterSql(
        m_filter, [this](const QString& field) { return m_fields[static_cast<size_t>(FieldIndex(field))].name; },
        params);
}

// ---- Cursor ------------------------------------------------------------------------

std::optional<Dataset::Row> Dataset::Fetch(const QString& where, const std::vector<QVariant>& params,
                                           bool descending) const
{
    std::vector<QVariant> all = params;
    const QString filter = FilterClause(all);
    QStringList conditions;
    if (!where.isEmpty())
        conditions.append(where);
    if (!filter.isEmpty())
        conditions.append(filter);
    QString sql = QStringLiteral("SELECT rowid, _pos, %1 FROM records").arg(m_fieldColumns);
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += descending ? QStringLiteral(" ORDER BY _pos DESC LIMIT 1") : QStringLiteral(" ORDER BY _pos LIMIT 1");
    SqlStatement query(*m_db, sql);
    query.BindAll(all);
    if (!query.Step())
        return std::nullopt;
    Row row;
    row.rowid = query.Int(0);
    row.pos = query.Int(1);
    for (size_t i = 0; i < m_fields.size(); ++i)
        row.values.push_back(ReadFieldValue(query, static_cast<int>(i) + 2, m_fields[i].kind));
    return row;
}

void Dataset::SetCurrent(std::optional<Row> row)
{
    m_current = std::move(row);
    Notify(DatasetEvent::CursorMoved);
}

void Dataset::PostIfPending()
{
    if (m_db && (m_state == DatasetState::Edit || m_state == DatasetState::Insert))
        Post();
}

bool Dataset::HasCurrentRow() const
{
    return m_current.has_value();
}

void Dataset::First()
{
    RequireOpen();
    PostIfPending();
    auto row = Fetch(QString(), {}, false);
    m_eof = !row;
    m_bof = true;
    SetCurrent(std::move(row));
}

void Dataset::Last()
{
    RequireOpen();
    PostIfPending();
    auto row = Fetch(QString(), {}, true);
    m_eof = true;
    m_bof = !row;
    SetCurrent(std::move(row));
}

void Dataset::Next()
{
    RequireOpen();
    PostIfPending();
    if (!m_current) {
        m_eof = true;
        return;
    }
    auto row = Fetch(QStringLiteral("_pos > ?"), {QVariant(m_current->pos)}, false);
    if (!row) {
        m_eof = true;
        return;
    }
    m_eof = false;
    m_bof = false;
    SetCurrent(std::move(row));
}

void Dataset::Prior()
{
    RequireOpen();
    PostIfPending();
    if (!m_current) {
        m_bof = true;
        return;
    }
    auto row = Fetch(QStringLiteral("_pos < ?"), {QVariant(m_current->pos)}, true);
    if (!row) {
        m_bof = true;
        return;
    }
    m_bof = false;
    m_eof = false;
    SetCurrent(std::move(row));
}

void Dataset::MoveTo(long long recNo)
{
    RequireOpen();
    PostIfPending();
    if (recNo < 0)
        return First();
    std::vector<QVariant> params;
    const QString filter = FilterClause(params);
    QString sql = QStringLiteral("SELECT _pos FROM records");
    if (!filter.isEmpty())
        sql += QStringLiteral(" WHERE ") + filter;
    sql += QStringLiteral(" ORDER BY _pos LIMIT 1 OFFSET ?");
    params.push_back(QVariant(recNo));
    SqlStatement query(*m_db, sql);
    query.BindAll(params);
    if (!query.Step())
        return Last();
    const long long pos = query.Int(0);
    auto row = Fetch(QStringLiteral("_pos = ?"), {QVariant(pos)}, false);
    m_eof = !row;
    m_bof = recNo == 0;
    SetCurrent(std::move(row));
}

bool Dataset::Eof() const
{
    return !m_db || m_eof;
}

bool Dataset::Bof() const
{
    return !m_db || m_bof;
}

long long Dataset::RecordCount() const
{
    RequireOpen();
    std::vector<QVariant> params;
    const QString filter = FilterClause(params);
    QString sql = QStringLiteral("SELECT count(*) FROM records");
    if (!filter.isEmpty())
        sql += QStringLiteral(" WHERE ") + filter;
    SqlStatement query(*m_db, sql);
    query.BindAll(params);
    query.Step();
    return query.Int(0);
}

long long Dataset::RecNo() const
{
    if (!m_db || !m_current)
        return -1;
    std::vector<QVariant> params{QVariant(m_current->pos)};
    const QString filter = FilterClause(params);
    QString sql = QStringLiteral("SELECT count(*) FROM records WHERE _pos < ?");
    if (!filter.isEmpty())
        sql += QStringLiteral(" AND ") + filter;
    SqlStatement query(*m_db, sql);
    query.BindAll(params);
    query.Step();
    return query.Int(0);
}

std::vector<std::vector<QVariant>> Dataset::ReadRows(long long first, long long count) const
{
    RequireOpen();
    std::vector<QVariant> params;
    const QString filter = FilterClause(params);
    QString sql = QStringLiteral("SELECT %1 FROM records").arg(m_fieldColumns);
    if (!filter.isEmpty())
        sql += QStringLiteral(" WHERE ") + filter;
    sql += QStringLiteral(" ORDER BY _pos LIMIT ? OFFSET ?");
    params.push_back(QVariant(count));
    params.push_back(QVariant(first));
    SqlStatement query(*m_db, sql);
    query.BindAll(params);
    std::vector<std::vector<QVariant>> rows;
    while (query.Step()) {
        std::vector<QVariant> values;
        values.reserve(m_fields.size());
        for (size_t i = 0; i < m_fields.size(); ++i)
            values.push_back(ReadFieldValue(query, static_cast<int>(i), m_fields[i].kind));
        rows.push_back(std::move(values));
    }
    return rows;
}

// ---- Changes -----------------------------------------------------------------------

void Dataset::Append()
{
    RequireOpen();
    PostIfPending();
    m_pending.assign(m_fields.size(), QVariant());
    m_insertBeforePos = -1;
    m_state = DatasetState::Insert;
    if (afterInsert)
        afterInsert();
}

void Dataset::Insert()
{
    RequireOpen();
    PostIfPending();
    m_pending.assign(m_fields.size(), QVariant());
    m_insertBeforePos = m_current ? m_current->pos : -1;
    m_state = DatasetState::Insert;
    if (afterInsert)
        afterInsert();
}

void Dataset::Edit()
{
    RequireOpen();
    if (m_state == DatasetState::Edit || m_state == DatasetState::Insert)
        return;
    if (!m_current)
        FailTable(EngineText(texts::kNoCurrentRecord));
    m_pending = m_current->values;
    m_state = DatasetState::Edit;
}

void Dataset::Cancel()
{
    if (!m_db)
        return;
    m_pending.clear();
    m_state = DatasetState::Browse;
}

void Dataset::BeginWrite()
{
    if (!m_inTransaction)
        m_db->Exec(QStringLiteral("BEGIN IMMEDIATE"));
}

void Dataset::EndWrite(bool ok)
{
    if (m_inTransaction)
        return;
    if (ok) {
        m_db->Exec(QStringLiteral("COMMIT"));
    } else {
        m_db->RollbackQuietly();
    }
}

long long Dataset::NextAutoValue(int field)
{
    SqlStatement bump(*m_db, QStringLiteral("UPDATE _fields SET last_value = last_value + 1 WHERE position = ?"));
    bump.Bind(1, QVariant(static_cast<long long>(field + 1)));
    bump.Step();
    SqlStatement read(*m_db, QStringLiteral("SELECT last_value FROM _fields WHERE position = ?"));
    read.Bind(1, QVariant(static_cast<long long>(field + 1)));
    read.Step();
    return read.Int(0);
}

long long Dataset::PositionForInsert()
{
    if (m_insertBeforePos < 0) {
        SqlStatement query(*m_db, QStringLiteral("SELECT max(_pos) FROM records"));
        query.Step();
        return query.Int(0) + kPositionGap;
    }
    long long before = m_insertBeforePos;
    SqlStatement previous(*m_db, QStringLiteral("SELECT max(_pos), count(*) FROM records WHERE _pos < ?"));
    previous.Bind(1, QVariant(before));
    previous.Step();
    if (previous.Int(1) == 0)
        return before - kPositionGap;
    const long long prior = previous.Int(0);
    if (before - prior < 2) {
        // No room left between the two rows: open a gap by moving every later
        // row, which keeps their order.
        SqlStatement shift(*m_db, QStringLiteral("UPDATE records SET _pos = _pos + ? WHERE _pos >= ?"));
        shift.BindAll({QVariant(kPositionGap), QVariant(before)});
        shift.Step();
        before += kPositionGap;
        if (m_current && m_current->pos >= m_insertBeforePos)
            m_current->pos += kPositionGap;
    }
    return prior + (before - prior) / 2;
}

void Dataset::Post()
{
    RequireOpen();
    if (m_state != DatasetState::Edit && m_state != DatasetState::Insert)
        return;
    for (size_t i = 0; i < m_fields.size(); ++i) {
        const FieldDef& f = m_fields[i];
        if (f.required && f.kind != FieldKind::AutoIncrement && m_pending[i].isNull())
            FailTable(EngineText(texts::kFieldRequired).arg(f.name));
    }
    const auto currentBefore = m_current;
    bool ok = false;
    BeginWrite();
    try {
        if (m_state == DatasetState::Insert) {
            std::vector<QVariant> values = m_pending;
            for (size_t i = 0; i < m_fields.size(); ++i) {
                if (m_fields[i].kind == FieldKind::AutoIncrement)
                    values[i] = QVariant(NextAutoValue(static_cast<int>(i)));
            }
            const long long pos = PositionForInsert();
            SqlStatement insert(*m_db, m_insertSql);
            insert.BindAll(values);
            insert.Bind(static_cast<int>(values.size()) + 1, QVariant(pos));
            insert.Step();
            const long long rowid = m_db->LastInsertRowId();
            EndWrite(true);
            ok = true;
            m_current = Row{rowid, pos, values};
        } else {
            SqlStatement update(*m_db, m_updateSql);
            update.BindAll(m_pending);
            update.Bind(static_cast<int>(m_pending.size()) + 1, QVariant(m_current->rowid));
            update.Step();
            EndWrite(true);
            ok = true;
            m_current->values = m_pending;
        }
    } catch (...) {
        if (!ok) {
            EndWrite(false);
            m_current = currentBefore;
        }
        throw;
    }
    m_pending.clear();
    m_state = DatasetState::Browse;
    m_eof = false;
    Notify(DatasetEvent::RowsChanged);
    Notify(DatasetEvent::CursorMoved);
}

void Dataset::Delete()
{
    RequireOpen();
    if (m_state == DatasetState::Insert) {
        Cancel();
        return;
    }
    Cancel();
    if (!m_current)
        FailTable(EngineText(texts::kNoCurrentRecord));
    BeginWrite();
    try {
        SqlStatement remove(*m_db, QStringLiteral("DELETE FROM records WHERE rowid = ?"));
        remove.Bind(1, QVariant(m_current->rowid));
        remove.Step();
        EndWrite(true);
    } catch (...) {
        EndWrite(false);
        throw;
    }
    const long long pos = m_current->pos;
    auto row = Fetch(QStringLiteral("_pos > ?"), {QVariant(pos)}, false);
    if (!row) {
        row = Fetch(QStringLiteral("_pos < ?"), {QVariant(pos)}, true);
        m_eof = true;
    } else {
        m_eof = false;
    }
    if (!row)
        m_bof = true;
    Notify(DatasetEvent::RowsChanged);
    SetCurrent(std::move(row));
}

void Dataset::Refresh()
{
    RequireOpen();
    PostIfPending();
    std::optional<Row> row;
    if (m_current)
        row = Fetch(QStringLiteral("rowid = ?"), {QVariant(m_current->rowid)}, false);
    if (!row) {
        row = Fetch(QString(), {}, false);
        m_bof = true;
    }
    m_eof = !row;
    Notify(DatasetEvent::RowsChanged);
    SetCurrent(std::move(row));
}

void Dataset::StartTransaction()
{
    RequireOpen();
    if (m_inTransaction)
        return;
    PostIfPending();
    m_db->Exec(QStringLiteral("BEGIN IMMEDIATE"));
    m_inTransaction = true;
}

void Dataset::Commit()
{
    RequireOpen();
    if (!m_inTransaction)
        return;
    PostIfPending();
    m_db->Exec(QStringLiteral("COMMIT"));
    m_inTransaction = false;
}

void Dataset::Rollback()
{
    RequireOpen();
    if (!m_inTransaction)
        return;
    Cancel();
    m_db->RollbackQuietly();
    m_inTransaction = false;
    Refresh();
}
