// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The folder of the running executable, where Database/, ports/, config.cfg and
// the manuals live. Tests and the headless station point it elsewhere.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);
// A path inside the program folder.
QString ProgramPath(const QString& relative);
