// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/pick_list_ui.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QSignalBlocker>

namespace {
class DiscardKeys final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            return key != Qt::Key_Tab && key != Qt::Key_Backtab && key != Qt::Key_Escape;
        }
        return QObject::eventFilter(watched, event);
    }
};
}  // namespace

QComboBox* MakePickList(QWidget* parent, const char* name, const QStringList& items, bool typing)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->addItems(items);
    list->setCurrentIndex(-1);
    if (!typing) {
        list->lineEdit()->setReadOnly(true);
        DiscardKeyPresses(list);
        DiscardKeyPresses(list->lineEdit());
    }
    return list;
}

void DiscardKeyPresses(QWidget* widget)
{
    widget->installEventFilter(new DiscardKeys(widget));
}

void SetListText(QComboBox* list, const QString& text)
{
    const QSignalBlocker block(list);
    const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    list->setCurrentIndex(index);
    list->setEditText(text);
}

void SetListItems(QComboBox* list, const QStringList& items, bool keepAny)
{
    const QString text = list->currentText();
    {
        const QSignalBlocker block(list);
        list->clear();
        list->addItems(items);
    }
    SetListText(list, keepAny || items.contains(text) ? text : QString());
}

void CentreOnDesktop(QWidget* window)
{
    if (const QScreen* screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}
