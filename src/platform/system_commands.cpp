// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system_commands.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

bool QtSystemCommands::OpenDocument(const QString& path)
{
    // The desktop opener may report success for a file that does not exist.
    if (!QFileInfo(path).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

int QtSystemCommands::RunCommand(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted())
        return -1;
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}
