// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Table files: where a table name points, and copying and removing whole
// tables. A file that an open Dataset holds is never replaced or removed under
// it: those operations raise VigiloError instead.

// ---- Database names: a registered name stands for a folder. ----------------
void RegisterDatabase(const QString& name, const QString& folder);
void RemoveDatabase(const QString& name);
QStringList DatabaseNames();
// The folder of a registered name; an unknown name raises VigiloError.
QString DatabaseFolder(const QString& name);

// A table path from a database name and a table name: a table name that is an
// absolute path overrides the folder; a name without extension gets ".db".
// The file name is matched without regard to case when the exact one is absent
// ("13E_HOTBIRD.DB" finds "13E_HOTBIRD.db").
QString ResolveTablePath(const QString& databaseName, const QString& tableName);

// Copies a table file consistently (also while a writer holds it open) and
// replaces the target with all its rows. Raises VigiloError when the source is
// not a table of this engine or an open Dataset holds the target.
void CopyTableFile(const QString& source, const QString& target);
// Removes a table file with its journal side files; a missing file is no error.
// Raises VigiloError when an open Dataset holds it.
void DeleteTableFile(const QString& path);

// ---- Files held by open datasets ---------------------------------------------
// Marks a table file as in use for its lifetime; several may hold one file.
class TableHold {
public:
    explicit TableHold(const QString& path);
    ~TableHold();
    TableHold(const TableHold&) = delete;
    TableHold& operator=(const TableHold&) = delete;

private:
    QString m_key;
};

bool IsTableHeld(const QString& path);
// Raises VigiloError when the file is held, before anything replaces it.
void RequireTableNotHeld(const QString& path);
