// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& OverrideFolder()
{
    static QString folder;
    return folder;
}
}

QString ProgramFolder()
{
    if (!OverrideFolder().isEmpty())
        return OverrideFolder();
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

void SetProgramFolder(const QString& folder)
{
    OverrideFolder() = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

QString ProgramPath(const QString& relative)
{
    return QDir(ProgramFolder()).filePath(relative);
}
