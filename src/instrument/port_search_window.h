// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QComboBox;

// The port display only shows what the search tries: key presses are swallowed.
void InstallPortDisplayRules(QComboBox* selPortCB);
