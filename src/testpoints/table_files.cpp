// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/table_files.h"

#include "testpoints/engine_texts.h"
#include "testpoints/sql_statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>

namespace {
std::map<QString, QString>& Registry()
{
    static std::map<QString, QString> names;
    return names;
}

std::map<QString, int>& Holds()
{
    static std::map<QString, int> holds;
    return holds;
}

// One name per file, however the path was spelt (relative, "..", a link).
QString FileKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

void RemoveSideFiles(const QString& path)
{
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
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
        FailTable(EngineText(texts::kUnknownDatabase).arg(name));
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

// ---- Holds --------------------------------------------------------------------------

TableHold::TableHold(const QString& path) : m_key(FileKey(path))
{
    ++Holds()[m_key];
}

TableHold::~TableHold()
{
    const auto it = Holds().find(m_key);
    if (it != Holds().end() && --it->second <= 0)
        Holds().erase(it);
}

bool IsTableHeld(const QString& path)
{
    return Holds().count(FileKey(path)) > 0;
}

void RequireTableNotHeld(const QString& path)
{
    if (IsTableHeld(path))
        FailTable(EngineText(texts::kTableHeldOpen).arg(path));
}

// ---- Whole files ----------------------------------------------------------------

void DeleteTableFile(const QString& path)
{
    RequireTableNotHeld(path);
    if (QFileInfo::exists(path) && !QFile::remove(path))
        FailTable(EngineText(texts::kCannotDeleteFile).arg(path));
    RemoveSideFiles(path);
}

void CopyTableFile(const QString& source, const QString& target)
{
    RequireTableNotHeld(target);
    // Build the copy beside the target and rename it over, so a failure never
    // leaves a half-copied table behind.
    const QString temporary = target + QStringLiteral(".copying");
    {
        SqlConnection from(source, SqlAccess::Read);
        {
            // A file that is not one of our tables must not replace the target.
            SqlStatement check(from, QStringLiteral("SELECT count(*) FROM _fields"));
            check.Step();
        }
        DeleteTableFile(temporary);
        try {
            SqlConnection to(temporary, SqlAccess::Create);
            from.CopyInto(to);
        } catch (...) {
            DeleteTableFile(temporary);
            throw;
        }
    }
    DeleteTableFile(target);
    if (!QFile::rename(temporary, target)) {
        DeleteTableFile(temporary);
        FailTable(EngineText(texts::kCannotCreateFile).arg(target));
    }
}
