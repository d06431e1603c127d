// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Linux has no hidden file attribute: desktop file managers hide the names
// listed in a ".hidden" file of the folder. Hiding a table hides its journal
// side files too, which exist while it is open.
void SetTableHidden(const QString& path, bool hidden);
bool IsTableHidden(const QString& path);
