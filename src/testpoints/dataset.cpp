#include "testpoints/dataset.h"

#include "platform/texts.h"
#include "platform/decimal_point.h"
#include "platform/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <sqlite3.h>

#include <cmath>

Q_LOGGING_CATEGORY(lcTables, "vigilo.testpoints", QtWarningMsg)

namespace {
// Stored-order positions leave gaps so that an insert before a row rarely has
// to renumber the rows after it.
constexpr long long kPositionGap = 1024;
constexpr int kBusyTimeoutMs = 3000;

[[noreturn]] void Fail(const QString& text)
{
    throw VigiloError(text);
}

QString Msg(const Text& text)
{
    return text.English();
}

QString Quoted(const QString& identifier)
{
    QString out = identifier;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

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

QString SqlType(FieldKind kind)
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

std::map<QString, QString>& Registry()
{
    static std::map<QString, QString> names;
    return names;
}

// Prepared statements of one connection, kept for reuse: a run posts the same
// few statements thousands of times.
struct StatementCache {
    static constexpr size_t kLimit = 64;
    std::map<QString, sqlite3_stmt*> statements;
    void Clear()
    {
        for (auto& [sql, stmt] : statements)
            sqlite3_finalize(stmt);
        statements.clear();
    }
};

// One prepared statement: finalized, or reset and handed back to its cache,
// on every path.
class Statement {
public:
    Statement(sqlite3* db, const QString& sql, const QString& path) : m_db(db), m_path(path)
    {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &m_stmt, nullptr) !=
            SQLITE_OK)
            Raise();
    }
    Statement(StatementCache& cache, sqlite3* db, const QString& sql, const QString& path)
        : m_db(db), m_path(path), m_cache(&cache)
    {
        const auto it = cache.statements.find(sql);
        if (it != cache.statements.end()) {
            m_stmt = it->second;
            cache.statements.erase(it);  // in use; returned on destruction
        } else {
            const QByteArray utf8 = sql.toUtf8();
            if (sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &m_stmt, nullptr) !=
                SQLITE_OK)
                Raise();
        }
        m_sql = sql;
    }
    ~Statement()
    {
        if (!m_cache || !m_stmt) {
            sqlite3_finalize(m_stmt);
            return;
        }
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        if (m_cache->statements.size() >= StatementCache::kLimit)
            m_cache->Clear();
        if (!m_cache->statements.emplace(m_sql, m_stmt).second)
            sqlite3_finalize(m_stmt);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void Bind(int index, const QVariant& value)
    {
        int rc = SQLITE_OK;
        if (!value.isValid() || value.isNull()) {
            rc = sqlite3_bind_null(m_stmt, index);
        } else {
            switch (value.typeId()) {
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
                break;
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::ULongLong:
            case QMetaType::Bool:
                rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
                break;
            default: {
                const QByteArray text = value.toString().toUtf8();
                rc = sqlite3_bind_text(m_stmt, index, text.constData(), static_cast<int>(text.size()),
                                       SQLITE_TRANSIENT);
            }
            }
        }
        if (rc != SQLITE_OK)
            Raise();
    }
    void BindAll(const std::vector<QVariant>& values, int first = 1)
    {
        for (size_t i = 0; i < values.size(); ++i)
            Bind(first + static_cast<int>(i), values[i]);
    }
    // True while a row is available.
    bool Step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        Raise();
    }
    long long Int(int column) const { return sqlite3_column_int64(m_stmt, column); }
    QString String(int column) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return text ? QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)) : QString();
    }
    QVariant Value(int column, FieldKind kind) const
    {
        switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_NULL: return QVariant();
        case SQLITE_INTEGER:
            if (kind == FieldKind::Float) return QVariant(static_cast<double>(Int(column)));
            if (kind == FieldKind::Text) return QVariant(String(column));
            return QVariant(Int(column));
        case SQLITE_FLOAT:
            if (kind == FieldKind::Text) return QVariant(NumberText(sqlite3_column_double(m_stmt, column)));
            if (kind == FieldKind::AutoIncrement)
                return QVariant(static_cast<long long>(sqlite3_column_double(m_stmt, column)));
            return QVariant(sqlite3_column_double(m_stmt, column));
        default: {
            const QString text = String(column);
            if (kind == FieldKind::Text) return QVariant(text);
            bool ok = false;
            const double number = FixDecimalPoint(text.trimmed()).toDouble(&ok);
            if (!ok) return QVariant(text);
            if (kind == FieldKind::AutoIncrement) return QVariant(static_cast<long long>(number));
            return QVariant(number);
        }
        }
    }

    [[noreturn]] void Raise() const
    {
        const int code = sqlite3_errcode(m_db);
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
            Fail(Msg(texts::kTableLocked).arg(m_path));
        if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT)
            Fail(Msg(texts::kNotATable).arg(m_path));
        if (code == SQLITE_READONLY)
            Fail(Msg(texts::kTableReadOnly).arg(m_path));
        Fail(Msg(texts::kTableError).arg(m_path, QString::fromUtf8(sqlite3_errmsg(m_db))));
    }

private:
    sqlite3* m_db;
    QString m_path;
    StatementCache* m_cache = nullptr;
    QString m_sql;
    sqlite3_stmt* m_stmt = nullptr;
};

void Exec(sqlite3* db, const QString& sql, const QString& path)
{
    Statement statement(db, sql, path);
    while (statement.Step()) {
    }
}

sqlite3* OpenFile(const QString& path, int flags)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
        sqlite3_close(db);
        if (!QFileInfo(path).absoluteDir().exists())
            Fail(Msg(texts::kFolderMissing).arg(QFileInfo(path).absolutePath()));
        Fail(Msg(texts::kTableError).arg(path, detail));
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 0);
    return db;
}

void RemoveSideFiles(const QString& path)
{
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

void ValidateFields(const std::vector<FieldDef>& fields)
{
    std::map<QString, int> seen;
    for (const FieldDef& f : fields) {
        if (f.name.trimmed().isEmpty() || f.name.startsWith(QLatin1Char('_')) ||
            (f.kind == FieldKind::Text && f.width <= 0))
            Fail(Msg(texts::kBadFieldDefinition).arg(f.name));
        if (!seen.emplace(f.name.toLower(), 0).second)
            Fail(Msg(texts::kDuplicateField).arg(f.name));
    }
    if (fields.empty())
        Fail(Msg(texts::kBadFieldDefinition).arg(QString()));
}
}  // namespace

// ---- Database names -------------------------------------------------------------

void RegisterDatabase(const QString& name, const QString& folder)
{
    Registry()[name] = folder;
}

void RemoveDatabase(const QString& name)
{
    Registry().erase(name);
}

QStringList DatabaseNames()
{
    QStringList names;
    for (const auto& [name, folder] : Registry())
        names.append(name);
    return names;
}

QString DatabaseFolder(const QString& name)
{
    const auto it = Registry().find(name);
    if (it == Registry().end())
        Fail(Msg(texts::kUnknownDatabase).arg(name));
    return it->second;
}

QString ResolveTablePath(const QString& databaseName, const QString& tableName)
{
    QString path = tableName;
    if (QFileInfo(tableName).isRelative()) {
        const QString folder = databaseName.isEmpty() ? QDir::currentPath() : DatabaseFolder(databaseName);
        path = QDir(folder).filePath(tableName);
    }
    if (QFileInfo(path).suffix().isEmpty() && !path.endsWith(QLatin1Char('.')))
        path += QStringLiteral(".db");
    if (!QFileInfo::exists(path)) {
        const QFileInfo info(path);
        const QStringList entries = info.absoluteDir().entryList(QDir::Files | QDir::Hidden);
        for (const QString& entry : entries) {
            if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0)
                return info.absoluteDir().filePath(entry);
        }
    }
    return path;
}

void DeleteTableFile(const QString& path)
{
    if (QFileInfo::exists(path) && !QFile::remove(path))
        Fail(Msg(texts::kCannotDeleteFile).arg(path));
    RemoveSideFiles(path);
}

void CopyTableFile(const QString& source, const QString& target)
{
    if (!QFileInfo::exists(source))
        Fail(Msg(texts::kTableMissing).arg(source));
    sqlite3* from = OpenFile(source, SQLITE_OPEN_READONLY);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> fromGuard(from, sqlite3_close);
    {
        // A file that is not one of our tables must not replace the target.
        Statement check(from, QStringLiteral("SELECT count(*) FROM _fields"), source);
        check.Step();
    }
    // Build the copy beside the target and rename it over, so a failure never
    // leaves a half-copied table behind.
    const QString temporary = target + QStringLiteral(".copying");
    DeleteTableFile(temporary);
    sqlite3* to = OpenFile(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> toGuard(to, sqlite3_close);
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        Fail(Msg(texts::kTableError).arg(target, QString::fromUtf8(sqlite3_errmsg(to))));
    int rc = SQLITE_OK;
    do {
        rc = sqlite3_backup_step(backup, -1);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            sqlite3_sleep(20);
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        toGuard.reset();
        DeleteTableFile(temporary);
        Fail(Msg(texts::kTableError).arg(source, QString::fromUtf8(sqlite3_errstr(rc))));
    }
    toGuard.reset();
    fromGuard.reset();
    DeleteTableFile(target);
    if (!QFile::rename(temporary, target)) {
        DeleteTableFile(temporary);
        Fail(Msg(texts::kCannotCreateFile).arg(target));
    }
}

// ---- Dataset -----------------------------------------------------------------------

struct Dataset::Connection {
    sqlite3* db = nullptr;
    QString path;
    StatementCache cache;
    ~Connection()
    {
        cache.Clear();
        sqlite3_close(db);
    }
};

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
        Fail(Msg(texts::kTableNotOpen));
}

namespace {
template <typename Connection>
void ExecCached(Connection& connection, const QString& sql)
{
    Statement statement(connection.cache, connection.db, sql, connection.path);
    while (statement.Step()) {
    }
}
}  // namespace

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
        Fail(Msg(texts::kTableStillOpen).arg(FilePath()));
    ValidateFields(fields);
    const QString path = FilePath();
    if (!QFileInfo(path).absoluteDir().exists())
        Fail(Msg(texts::kFolderMissing).arg(QFileInfo(path).absolutePath()));

    const QString temporary = path + QStringLiteral(".creating");
    DeleteTableFile(temporary);
    {
        sqlite3* db = OpenFile(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        std::unique_ptr<sqlite3, int (*)(sqlite3*)> guard(db, sqlite3_close);
        Exec(db, QStringLiteral("PRAGMA journal_mode=WAL"), path);
        Exec(db, QStringLiteral("BEGIN"), path);
        Exec(db, QStringLiteral("CREATE TABLE _fields (position INTEGER PRIMARY KEY, name TEXT NOT NULL, "
                                "kind TEXT NOT NULL, width INTEGER NOT NULL, required INTEGER NOT NULL, "
                                "last_value INTEGER NOT NULL DEFAULT 0)"),
             path);
        QStringList columns;
        for (size_t i = 0; i < fields.size(); ++i) {
            const FieldDef& f = fields[i];
            columns.append(Quoted(f.name) + QLatin1Char(' ') + SqlType(f.kind));
            Statement insert(db,
                             QStringLiteral("INSERT INTO _fields (position, name, kind, width, required) "
                                            "VALUES (?, ?, ?, ?, ?)"),
                             path);
            insert.BindAll({QVariant(static_cast<long long>(i + 1)), QVariant(f.name), QVariant(KindName(f.kind)),
                            QVariant(static_cast<long long>(f.kind == FieldKind::Text ? f.width : 0)),
                            QVariant(static_cast<long long>(f.required ? 1 : 0))});
            insert.Step();
        }
        columns.append(QStringLiteral("_pos INTEGER NOT NULL"));
        Exec(db, QStringLiteral("CREATE TABLE records (%1)").arg(columns.join(QStringLiteral(", "))), path);
        Exec(db, QStringLiteral("CREATE INDEX _records_order ON records (_pos)"), path);
        Exec(db, QStringLiteral("COMMIT"), path);
    }
    // Replacing the old file: its journal side files belong to the old table
    // and must go with it, or SQLite would apply them to the new one.
    DeleteTableFile(path);
    if (!QFile::rename(temporary, path)) {
        DeleteTableFile(temporary);
        Fail(Msg(texts::kCannotCreateFile).arg(path));
    }
}

void Dataset::Open()
{
    if (m_db)
        Close();
    const QString path = FilePath();
    if (!QFileInfo::exists(path))
        Fail(Msg(texts::kTableMissing).arg(path));
    auto connection = std::make_unique<Connection>();
    connection->path = path;
    const bool writable = QFileInfo(path).isWritable() && QFileInfo(QFileInfo(path).absolutePath()).isWritable();
    connection->db = OpenFile(path, writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY);
    if (writable) {
        Exec(connection->db, QStringLiteral("PRAGMA journal_mode=WAL"), path);
        // Every posted row reaches the disk before Post returns.
        Exec(connection->db, QStringLiteral("PRAGMA synchronous=FULL"), path);
    }
    m_db = std::move(connection);
    try {
        LoadFields();
    } catch (...) {
        m_db.reset();
        throw;
    }
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
    Statement query(m_db->cache, m_db->db,
                    QStringLiteral("SELECT name, kind, width, required FROM _fields ORDER BY position"), m_db->path);
    while (query.Step()) {
        const auto kind = KindFromName(query.String(1));
        if (!kind)
            Fail(Msg(texts::kNotATable).arg(m_db->path));
        FieldDef field{query.String(0), *kind, static_cast<int>(query.Int(2)), query.Int(3) != 0};
        m_fieldByLowerName[field.name.toLower()] = static_cast<int>(m_fields.size());
        m_fields.push_back(field);
    }
    if (m_fields.empty())
        Fail(Msg(texts::kNotATable).arg(m_db->path));
    QStringList columns;
    QStringList marks;
    QStringList assignments;
    for (const FieldDef& f : m_fields) {
        columns.append(Quoted(f.name));
        marks.append(QStringLiteral("?"));
        assignments.append(Quoted(f.name) + QStringLiteral(" = ?"));
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
        Fail(Msg(texts::kFieldNotFound).arg(name));
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
        Fail(Msg(texts::kNotANumber).arg(text, m_fields[static_cast<size_t>(FieldIndex(name))].name));
    return number;
}

QVariant Dataset::ConvertForField(int index, const QVariant& value) const
{
    const FieldDef& field = m_fields[static_cast<size_t>(index)];
    if (field.kind == FieldKind::AutoIncrement)
        Fail(Msg(texts::kFieldReadOnly).arg(field.name));
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
        Fail(Msg(texts::kNotANumber).arg(text, field.name));
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

namespace {
struct FilterParser {
    QString text;
    int at = 0;

    void SkipSpaces()
    {
        while (at < text.size() && text[at].isSpace())
            ++at;
    }
    bool AtEnd()
    {
        SkipSpaces();
        return at >= text.size();
    }
    [[noreturn]] void Error(const QString& what) const
    {
        Fail(Msg(texts::kBadFilter).arg(text, what));
    }
    QString FieldName()
    {
        SkipSpaces();
        if (at >= text.size())
            Error(QStringLiteral("field name expected"));
        const QChar open = text[at];
        if (open == QLatin1Char('[') || open == QLatin1Char('"')) {
            const QChar close = open == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('"');
            const int end = text.indexOf(close, at + 1);
            if (end < 0)
                Error(QStringLiteral("unclosed field name"));
            const QString name = text.mid(at + 1, end - at - 1);
            at = end + 1;
            return name;
        }
        const int start = at;
        while (at < text.size() &&
               (text[at].isLetterOrNumber() || text[at] == QLatin1Char('_') || text[at] == QLatin1Char('.') ||
                text[at] == QLatin1Char('/')))
            ++at;
        if (at == start)
            Error(QStringLiteral("field name expected at position %1").arg(start + 1));
        return text.mid(start, at - start);
    }
    QString Operator()
    {
        SkipSpaces();
        for (const char* op : {"<=", ">=", "<>", "=", "<", ">"}) {
            const QLatin1String candidate(op);
            if (text.mid(at, candidate.size()) == candidate) {
                at += static_cast<int>(candidate.size());
                return QString(candidate);
            }
        }
        Error(QStringLiteral("comparison expected at position %1").arg(at + 1));
    }
    QVariant Literal()
    {
        SkipSpaces();
        if (at >= text.size())
            Error(QStringLiteral("value expected"));
        if (text[at] == QLatin1Char('\'')) {
            QString value;
            ++at;
            while (true) {
                if (at >= text.size())
                    Error(QStringLiteral("unclosed text"));
                if (text[at] == QLatin1Char('\'')) {
                    if (at + 1 < text.size() && text[at + 1] == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        at += 2;
                        continue;
                    }
                    ++at;
                    return QVariant(value);
                }
                value += text[at++];
            }
        }
        const int start = at;
        while (at < text.size() && !text[at].isSpace())
            ++at;
        const QString word = text.mid(start, at - start);
        bool ok = false;
        const long long whole = word.toLongLong(&ok);
        // Whole numbers bind as integers, so "index=5" matches the text "5" of
        // a text field as well as the number 5.
        if (ok)
            return QVariant(whole);
        const double number = word.toDouble(&ok);
        if (ok)
            return QVariant(number);
        Error(QStringLiteral("'%1' is neither a number nor a quoted text").arg(word));
    }
    QString Join()
    {
        SkipSpaces();
        const int start = at;
        while (at < text.size() && text[at].isLetter())
            ++at;
        const QString word = text.mid(start, at - start).toLower();
        if (word != QLatin1String("and") && word != QLatin1String("or"))
            Error(QStringLiteral("'and' or 'or' expected at position %1").arg(start + 1));
        return word;
    }
};
}  // namespace

void Dataset::SetFilter(const QString& text)
{
    PostIfPending();
    std::vector<Condition> conditions;
    std::vector<QString> joins;
    FilterParser parser{text};
    if (!parser.AtEnd()) {
        while (true) {
            Condition condition;
            condition.field = parser.FieldName();
            condition.op = parser.Operator();
            condition.value = parser.Literal();
            if (m_db && !HasField(condition.field))
                Fail(Msg(texts::kFieldNotFound).arg(condition.field));
            conditions.push_back(condition);
            if (parser.AtEnd())
                break;
            joins.push_back(parser.Join());
        }
    }
    m_filterText = text;
    m_conditions = std::move(conditions);
    m_joins = std::move(joins);
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

QString Dataset::FilterSql(std::vector<QVariant>& params) const
{
    if (!m_filtered || m_conditions.empty())
        return QString();
    QString sql = QStringLiteral("(");
    for (size_t i = 0; i < m_conditions.size(); ++i) {
        const Condition& c = m_conditions[i];
        const int index = FieldIndex(c.field);
        if (i > 0)
            sql += QLatin1Char(' ') + m_joins[i - 1].toUpper() + QLatin1Char(' ');
        sql += Quoted(m_fields[static_cast<size_t>(index)].name) + QLatin1Char(' ') + c.op + QStringLiteral(" ?");
        params.push_back(c.value);
    }
    return sql + QLatin1Char(')');
}

// ---- Cursor ------------------------------------------------------------------------

std::optional<Dataset::Row> Dataset::Fetch(const QString& where, const std::vector<QVariant>& params,
                                           bool descending) const
{
    std::vector<QVariant> all = params;
    const QString filter = FilterSql(all);
    QStringList conditions;
    if (!where.isEmpty())
        conditions.append(where);
    if (!filter.isEmpty())
        conditions.append(filter);
    QString sql = QStringLiteral("SELECT rowid, _pos, %1 FROM records").arg(m_fieldColumns);
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += descending ? QStringLiteral(" ORDER BY _pos DESC LIMIT 1") : QStringLiteral(" ORDER BY _pos LIMIT 1");
    Statement query(m_db->cache, m_db->db, sql, m_db->path);
    query.BindAll(all);
    if (!query.Step())
        return std::nullopt;
    Row row;
    row.rowid = query.Int(0);
    row.pos = query.Int(1);
    for (size_t i = 0; i < m_fields.size(); ++i)
        row.values.push_back(query.Value(static_cast<int>(i) + 2, m_fields[i].kind));
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
    const QString filter = FilterSql(params);
    QString sql = QStringLiteral("SELECT _pos FROM records");
    if (!filter.isEmpty())
        sql += QStringLiteral(" WHERE ") + filter;
    sql += QStringLiteral(" ORDER BY _pos LIMIT 1 OFFSET ?");
    params.push_back(QVariant(recNo));
    Statement query(m_db->cache, m_db->db, sql, m_db->path);
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
    const QString filter = FilterSql(params);
    QString sql = QStringLiteral("SELECT count(*) FROM records");
    if (!filter.isEmpty())
        sql += QStringLiteral(" WHERE ") + filter;
    Statement query(m_db->cache, m_db->db, sql, m_db->path);
    query.BindAll(params);
    query.Step();
    return query.Int(0);
}

long long Dataset::RecNo() const
{
    if (!m_db || !m_current)
        return -1;
    std::vector<QVariant> params{QVariant(m_current->pos)};
    const QString filter = FilterSql(params);
    QString sql = QStringLiteral("SELECT count(*) FROM records WHERE _pos < ?");
    if (!filter.isEmpty())
        sql += QStringLiteral(" AND ") + filter;
    Statement query(m_db->cache, m_db->db, sql, m_db->path);
    query.BindAll(params);
    query.Step();
    return query.Int(0);
}

std::vector<std::vector<QVariant>> Dataset::ReadRows(long long first, long long count) const
{
    RequireOpen();
    std::vector<QVariant> params;
    const QString filter = FilterSql(params);
    QString sql = QStringLiteral("SELECT %1 FROM records").arg(m_fieldColumns);
    if (!filter.isEmpty())
        sql += QStringLiteral(" WHERE ") + filter;
    sql += QStringLiteral(" ORDER BY _pos LIMIT ? OFFSET ?");
    params.push_back(QVariant(count));
    params.push_back(QVariant(first));
    Statement query(m_db->cache, m_db->db, sql, m_db->path);
    query.BindAll(params);
    std::vector<std::vector<QVariant>> rows;
    while (query.Step()) {
        std::vector<QVariant> values;
        values.reserve(m_fields.size());
        for (size_t i = 0; i < m_fields.size(); ++i)
            values.push_back(query.Value(static_cast<int>(i), m_fields[i].kind));
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
        Fail(Msg(texts::kNoCurrentRecord));
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
        ExecCached(*m_db, QStringLiteral("BEGIN IMMEDIATE"));
}

void Dataset::EndWrite(bool ok)
{
    if (m_inTransaction)
        return;
    if (ok) {
        ExecCached(*m_db, QStringLiteral("COMMIT"));
    } else {
        sqlite3_exec(m_db->db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

long long Dataset::NextAutoValue(int field)
{
    Statement bump(m_db->cache, m_db->db, QStringLiteral("UPDATE _fields SET last_value = last_value + 1 WHERE position = ?"),
                   m_db->path);
    bump.Bind(1, QVariant(static_cast<long long>(field + 1)));
    bump.Step();
    Statement read(m_db->cache, m_db->db, QStringLiteral("SELECT last_value FROM _fields WHERE position = ?"), m_db->path);
    read.Bind(1, QVariant(static_cast<long long>(field + 1)));
    read.Step();
    return read.Int(0);
}

long long Dataset::PositionForInsert()
{
    if (m_insertBeforePos < 0) {
        Statement query(m_db->cache, m_db->db, QStringLiteral("SELECT max(_pos) FROM records"), m_db->path);
        query.Step();
        return query.Int(0) + kPositionGap;
    }
    long long before = m_insertBeforePos;
    Statement previous(m_db->cache, m_db->db, QStringLiteral("SELECT max(_pos), count(*) FROM records WHERE _pos < ?"),
                       m_db->path);
    previous.Bind(1, QVariant(before));
    previous.Step();
    if (previous.Int(1) == 0)
        return before - kPositionGap;
    const long long prior = previous.Int(0);
    if (before - prior < 2) {
        // No room left between the two rows: open a gap by moving every later
        // row, which keeps their order.
        Statement shift(m_db->cache, m_db->db, QStringLiteral("UPDATE records SET _pos = _pos + ? WHERE _pos >= ?"), m_db->path);
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
            Fail(Msg(texts::kFieldRequired).arg(f.name));
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
            Statement insert(m_db->cache, m_db->db, m_insertSql, m_db->path);
            insert.BindAll(values);
            insert.Bind(static_cast<int>(values.size()) + 1, QVariant(pos));
            insert.Step();
            const long long rowid = sqlite3_last_insert_rowid(m_db->db);
            EndWrite(true);
            ok = true;
            m_current = Row{rowid, pos, values};
        } else {
            Statement update(m_db->cache, m_db->db, m_updateSql, m_db->path);
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
        Fail(Msg(texts::kNoCurrentRecord));
    BeginWrite();
    try {
        Statement remove(m_db->cache, m_db->db, QStringLiteral("DELETE FROM records WHERE rowid = ?"), m_db->path);
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
    ExecCached(*m_db, QStringLiteral("BEGIN IMMEDIATE"));
    m_inTransaction = true;
}

void Dataset::Commit()
{
    RequireOpen();
    if (!m_inTransaction)
        return;
    PostIfPending();
    ExecCached(*m_db, QStringLiteral("COMMIT"));
    m_inTransaction = false;
}

void Dataset::Rollback()
{
    RequireOpen();
    if (!m_inTransaction)
        return;
    Cancel();
    sqlite3_exec(m_db->db, "ROLLBACK", nullptr, nullptr, nullptr);
    m_inTransaction = false;
    Refresh();
}
