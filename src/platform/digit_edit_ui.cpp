// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/digit_edit_ui.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

DigitEdit::DigitEdit(QLineEdit* edit, std::function<void()> onExit, bool validateOnRefusedKey)
    : QObject(edit), m_onExit(std::move(onExit)), m_validateOnRefusedKey(validateOnRefusedKey)
{
}

void DigitEdit::Install(QLineEdit* edit, int maxLength, std::function<void()> onExit,
                        bool validateOnRefusedKey)
{
    edit->setMaxLength(maxLength);
    // Keys are filtered below; the validator keeps pasted or dropped text out too.
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    edit->installEventFilter(new DigitEdit(edit, std::move(onExit), validateOnRefusedKey));
}

bool DigitEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (m_onExit)
            m_onExit();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // Keys without a character (arrows, Home, Tab moving the focus) edit or
    // navigate as usual; only characters are filtered.
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const QString text = key->text();
    if (!enter && (text.isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab))
        return false;
    if (key->key() == Qt::Key_Backspace)
        return false;
    if (!enter && text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9'))
        return false;
    Q_UNUSED(watched);
    if (m_validateOnRefusedKey && m_onExit)
        m_onExit();
    return true;
}
