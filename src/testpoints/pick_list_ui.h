// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QComboBox;
class QWidget;

// A drop-down list whose text the program may set to any value (a stored
// test point can hold one the list does not offer). Without `typing` every
// key press is discarded, so the user can only pick from the list; focus
// keys and Escape (which closes the window) still work.
QComboBox* MakePickList(QWidget* parent, const char* name, const QStringList& items, bool typing);

// Discards every key press that reaches `widget`, but the focus keys and Escape.
void DiscardKeyPresses(QWidget* widget);

// Replaces the items and keeps the text shown when `keepAny` or when the new
// items hold it; otherwise the text is emptied, so a value another choice
// left behind never outlives a list that no longer offers it.
void SetListItems(QComboBox* list, const QStringList& items, bool keepAny);

// The text shown, and setting it without running the user's change handlers.
void SetListText(QComboBox* list, const QString& text);

// Centres a window on the desktop of its screen.
void CentreOnDesktop(QWidget* window);
