// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/program_folder.h"

#include <QString>
#include <QTemporaryDir>

// A throw-away program folder for one test; restores the default on exit.
class TempProgramFolder {
public:
    TempProgramFolder() { SetProgramFolder(m_dir.path()); }
    ~TempProgramFolder() { SetProgramFolder(QString()); }
    QString Path() const { return m_dir.path(); }
    QString File(const QString& relative) const { return m_dir.filePath(relative); }

private:
    QTemporaryDir m_dir;
};
