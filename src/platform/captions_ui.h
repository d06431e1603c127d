// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/texts.h"

#include <QStringList>
#include <span>

class QFont;
class QPushButton;
class QWidget;

// How a row's text reaches its control.
enum class CaptionPart {
    Text,         // the caption; for the window's own name, its title
    WrappedText,  // a push button's caption broken into lines that fit its face
    ToolTip,
};

// One row of a window's caption table: the control by object name and its
// text in the catalogue.
struct CaptionRow {
    const char* control;
    const Text* text;
    CaptionPart part = CaptionPart::Text;
};
using CaptionTable = std::span<const CaptionRow>;

// Sets the text of `language` of every row on the control of that name in
// `window`: labels, buttons, check boxes, actions, menu titles, and the
// window's title. Controls of another window (a dialog parented to this one)
// are never touched. Returns the names of rows with no such control, each
// also reported with qWarning.
QStringList ApplyCaptions(QWidget& window, CaptionTable table, Language language);

// The width a push button's face gives its caption's lines.
int CaptionWidth(const QPushButton& button);

// `caption` broken into lines no wider than `width` in `font`: at spaces and
// after each "/", so "Min/Max/Avg" can stand as three lines. A piece wider
// than `width` on its own stays whole.
QString WrapCaption(const QString& caption, const QFont& font, int width);

// Buttons do not wrap their text: the caption is shown broken into lines that
// fit the face; if it cannot fit in the button's own font, the font shrinks
// until it does. The caption as given stays readable through the accessible
// name and the "caption" property, which tests and screen readers use.
void SetWrappedCaption(QPushButton& button, const QString& caption);
