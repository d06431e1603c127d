// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/captions_ui.h"

#include <QAbstractButton>
#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtDebug>

namespace {
// Smallest font a caption may shrink to, and the step; below that a caption
// is clipped rather than unreadable.
constexpr qreal kSmallestPointSize = 5.0;
constexpr qreal kShrinkStep = 0.5;
const char* const kDesignPointSize = "designPointSize";
// Space kept clear between a caption's longest line and each side of the
// face, so no letter touches the frame.
constexpr int kCaptionPadding = 2;

// Whether `object` is a control of `window` itself: reached from it without
// passing through another window. Menus are windows of their own when they
// pop up but belong to the window that owns them.
bool BelongsTo(const QObject* object, const QWidget& window)
{
    for (const QObject* o = object; o; o = o->parent()) {
        if (o == &window)
            return true;
        const auto* widget = qobject_cast<const QWidget*>(o);
        if (widget && widget->isWindow() && !qobject_cast<const QMenu*>(widget))
            return false;
    }
    return false;
}

QObject* FindControl(QWidget& window, const QString& name)
{
    if (window.objectName() == name)
        return &window;
    for (QObject* candidate : window.findChildren<QObject*>(name))
        if (BelongsTo(candidate, window))
            return candidate;
    return nullptr;
}

bool SetText(QObject* control, QWidget& window, const QString& text)
{
    if (control == &window) {
        window.setWindowTitle(text);
        return true;
    }
    if (auto* menu = qobject_cast<QMenu*>(control)) {
        menu->setTitle(text);
        return true;
    }
    if (auto* action = qobject_cast<QAction*>(control)) {
        action->setText(text);
        return true;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
        return true;
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
        return true;
    }
    return false;
}

bool SetToolTip(QObject* control, const QString& text)
{
    if (auto* action = qobject_cast<QAction*>(control)) {
        action->setToolTip(text);
        return true;
    }
    if (auto* widget = qobject_cast<QWidget*>(control)) {
        widget->setToolTip(text);
        return true;
    }
    return false;
}

bool Fits(const QString& wrapped, const QFont& font, int width, int height)
{
    const QFontMetrics metrics(font);
    const QStringList lines = wrapped.split(QLatin1Char('\n'));
    if (lines.size() * metrics.lineSpacing() > height)
        return false;
    for (const QString& line : lines)
        if (metrics.horizontalAdvance(line) > width)
            return false;
    return true;
}

// The part of the face the caption may fill: the style's contents less the padding.
QRect FaceRect(const QPushButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    if (button.autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    return button.style()
        ->subElementRect(QStyle::SE_PushButtonContents, &option, &button)
        .adjusted(kCaptionPadding, 0, -kCaptionPadding, 0);
}
}  // namespace

QStringList ApplyCaptions(QWidget& window, CaptionTable table, Language language)
{
    QStringList missing;
    for (const CaptionRow& row : table) {
        const QString name = QLatin1String(row.control);
        QObject* control = FindControl(window, name);
        const QString text = row.text->In(language);
        bool applied = false;
        if (control) {
            switch (row.part) {
            case CaptionPart::Text: applied = SetText(control, window, text); break;
            case CaptionPart::ToolTip: applied = SetToolTip(control, text); break;
            case CaptionPart::WrappedText:
                if (auto* button = qobject_cast<QPushButton*>(control)) {
                    SetWrappedCaption(*button, text);
                    applied = true;
                }
                break;
            }
        }
        if (!applied) {
            qWarning().noquote() << "captions of" << window.objectName() << ": no control" << name
                                 << "that takes this text";
            missing.append(name);
        }
    }
    return missing;
}

int CaptionWidth(const QPushButton& button)
{
    return FaceRect(button).width();
}

QString WrapCaption(const QString& caption, const QFont& font, int width)
{
    const QFontMetrics metrics(font);
    QStringList lines;
    QString line;
    const QStringList words = caption.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& word : words) {
        // "Min/Max/Avg" gives "Min/", "Max/", "Avg": a slash ends its line.
        QStringList pieces;
        qsizetype start = 0;
        for (qsizetype slash = word.indexOf(QLatin1Char('/')); slash >= 0;
             slash = word.indexOf(QLatin1Char('/'), start)) {
            pieces.append(word.mid(start, slash + 1 - start));
            start = slash + 1;
        }
        if (start < word.size())
            pieces.append(word.mid(start));
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            const QString joiner = (i == 0 && !line.isEmpty()) ? QStringLiteral(" ") : QString();
            const QString candidate = line + joiner + pieces[i];
            if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
                lines.append(line);
                line = pieces[i];
            } else {
                line = candidate;
            }
        }
    }
    lines.append(line);
    return lines.join(QLatin1Char('\n'));
}

void SetWrappedCaption(QPushButton& button, const QString& caption)
{
    button.setAccessibleName(caption);
    button.setProperty("caption", caption);
    // Each caption starts again from the design's font, so a short caption
    // after a long one is not left small.
    if (!button.property(kDesignPointSize).isValid())
        button.setProperty(kDesignPointSize, button.font().pointSizeF());
    QFont font = button.font();
    font.setPointSizeF(button.property(kDesignPointSize).toReal());
    const QRect face = FaceRect(button);
    QString wrapped = WrapCaption(caption, font, face.width());
    while (!Fits(wrapped, font, face.width(), face.height()) && font.pointSizeF() - kShrinkStep >= kSmallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - kShrinkStep);
        wrapped = WrapCaption(caption, font, face.width());
    }
    button.setFont(font);
    button.setText(wrapped);
}
