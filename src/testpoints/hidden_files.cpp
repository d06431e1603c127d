// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/hidden_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace {
QString HiddenListPath(const QFileInfo& info)
{
    return info.absoluteDir().filePath(QStringLiteral(".hidden"));
}

QStringList ReadList(const QString& listPath)
{
    QFile file(listPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
}  // namespace

bool IsTableHidden(const QString& path)
{
    const QFileInfo info(path);
    return ReadList(HiddenListPath(info)).contains(info.fileName());
}

void SetTableHidden(const QString& path, bool hidden)
{
    const QFileInfo info(path);
    const QString listPath = HiddenListPath(info);
    QStringList names = ReadList(listPath);
    const QStringList own{info.fileName(), info.fileName() + QStringLiteral("-wal"),
                          info.fileName() + QStringLiteral("-shm")};
    for (const QString& name : own)
        names.removeAll(name);
    if (hidden)
        names += own;
    if (names.isEmpty()) {
        QFile::remove(listPath);
        return;
    }
    // The list is only a display hint: failing to write it must not fail the
    // command that hides or shows the table.
    QSaveFile file(listPath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        file.write(names.join(QLatin1Char('\n')).toUtf8() + '\n');
        file.commit();
    }
}
