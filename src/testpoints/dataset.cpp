#include "testpoints/dataset.h"

#include "platform/decimal_point.h"
#include "testpoints/engine_texts.h"
#include "testpoints/sql_statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cmath>

Q_LOGGING_CATEGORY(lcTables, "vigilo.testpoints", QtWarningMsg)

namespace {
// Stored-order positions leave gaps so that an insert before a row rarely has
// to renumber the rows after it.
constexpr long long kPositionGap = 1024;

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

// General decimal text: up to 15 significant digits, "." and no trailing zeros.
QString NumberText(double value)
{
    return QString::number(value, 'g', 15);
}

// A stored value as the field's kind reads it: SQLite keeps whatever another
// tool wrote, so a number may sit in a text column and the other way round.
QVariant FieldValue(const SqlStatement& query, int column, FieldKind kind)
{
    switch (query.Type(column)) {
    case SqlType::Null: return QVariant();
    case SqlType::Integer:
        if (kind == FieldKind::Float) return QVariant(static_cast<double>(query.Int(column)));
        if (kind == FieldKind::Text) return QVariant(query.String(column));
        return QVariant(query.Int(column));
    case SqlType::Float:
        if (kind == FieldKind::Text) return QVariant(NumberText(query.Double(column)));
        if (kind == FieldKind::AutoIncrement) return QVariant(static_cast<long long>(query.Double(column)));
        return QVariant(query.Double(column));
    case SqlType::Text:
    case SqlType::Blob: break;
    }
    const QString text = query.String(column);
    if (kind == FieldKind::Text) return QVariant(text);
    bool ok = false;
    const double number = FixDecimalPoint(text.trimmed()).toDouble(&ok);
    if (!ok) return QVariant(text);
    if (kind == FieldKind::AutoIncrement) return QVariant(static_cast<long long>(number));
    return QVariant(number);
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
    ValidateFields(fields);
    const QString path = FilePath();
    if (!QFileInfo(path).absoluteDir().exists())
        FailTable(EngineText(texts::kFolderMissing).arg(QFileInfo(path).absolutePath()));
    // Another dataset reading the file would go on over a deleted one.
    RequireTableNotHeld(path);

    const QString temporary = path + QStringLiteral(".creating");
    DeleteTableFile(temporary);
    {
        SqlConnection db(temporary, SqlAccess::Create);
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
    // Replacing the old file: its journal side files belong to the old table
    // and must go with it, or SQLite would apply them to the new one.
    DeleteTableFile(path);
    if (!QFile::rename(temporary, path)) {
        DeleteTableFile(temporary);
        FailTable(EngineText(texts::kCannotCreateFile).arg(path));
    }
}

void Dataset::Open()
{
    if (m_db)
        Close();
    const QString path = FilePath();
    if (!QFileInfo::exists(path))
        FailTable(EngineText(texts::kTableMissing).arg(path));
    const bool writable = QFileInfo(path).isWritable() && QFileInfo(QFileInfo(path).absolutePath()).isWritable();
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
    m_fields.clear();
    m_fieldByLowerName.clear();
    SqlStatement query(*m_db, QStringLiteral("SELECT name, kind, width, required FROM _fields ORDER BY position"));
    while (query.Step()) {
        const auto kind = KindFromName(query.String(1));
        if (!kind)
            FailTable(EngineText(texts::kNotATable).arg(m_db->Path()));
        FieldDef field{query.String(0), *kind, static_cast<int>(query.Int(2)), query.Int(3) != 0};
        m_fieldByLowerName[field.name.toLower()] = static_cast<int>(m_fields.size());
        m_fields.push_back(field);
    }
    if (m_fields.empty())
        FailTable(EngineText(texts::kNotATable).arg(m_db->Path()));
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
    const QVariant value = Value(name);
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::Double)
        return NumberText(value.toDouble());
    return value.toString();
}

double Dataset::Number(const QString& name) const
{
    const QVariant value = Value(name);
    if (value.isNull())
        return 0.0;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong)
        return value.toDouble();
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return 0.0;
    bool ok = false;
    const double number = FixDecimalPoint(text).toDouble(&ok);
    // "inf" and "nan" parse as numbers but are no measurement or threshold.
    if (!ok || !std::isfinite(number))
        FailTable(EngineText(texts::kNotANumber).arg(text, m_fields[static_cast<size_t>(FieldIndex(name))].name));
    return number;
}

QVariant Dataset::ConvertForField(int index, const QVariant& value) const
{
    const FieldDef& field = m_fields[static_cast<size_t>(index)];
    if (field.kind == FieldKind::AutoIncrement)
        FailTable(EngineText(texts::kFieldReadOnly).arg(field.name));
    if (!value.isValid() || value.isNull())
        return QVariant();
    const int type = value.typeId();
    const bool numeric = type == QMetaType::Double || type == QMetaType::Float || type == QMetaType::Int ||
                         type == QMetaType::LongLong || type == QMetaType::UInt || type == QMetaType::ULongLong;
    if (field.kind == FieldKind::Text) {
        const QString text = numeric ? NumberText(value.toDouble()) : value.toString();
        // Paradox kept an empty text as no value; so does this engine.
        if (text.isEmpty())
            return QVariant();
        return QVariant(text.left(field.width));
    }
    if (numeric)
        return QVariant(value.toDouble());
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return QVariant();
    bool ok = false;
    const double number = FixDecimalPoint(text).toDouble(&ok);
    if (!ok || !std::isfinite(number))
        FailTable(EngineText(texts::kNotANumber).arg(text, field.name));
    return QVariant(number);
}

void Dataset::SetValue(const QString& name, const QVariant& value)
{
    const int index = FieldIndex(name);
    const QVariant stored = ConvertForField(index, value);
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
        row.values.push_back(FieldValue(query, static_cast<int>(i) + 2, m_fields[i].kind));
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
            values.push_back(FieldValue(query, static_cast<int>(i), m_fields[i].kind));
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
