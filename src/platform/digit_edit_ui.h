// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QLineEdit;

// A number edit of the settings windows: only the digits 0-9 and backspace
// get in (pasted text too), and leaving the edit runs its exit validation.
// With validateOnRefusedKey a refused key (Enter among them) runs the exit
// validation at once, as the user expects Enter to confirm the value.
class DigitEdit final : public QObject {
public:
    static void Install(QLineEdit* edit, int maxLength, std::function<void()> onExit,
                        bool validateOnRefusedKey);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DigitEdit(QLineEdit* edit, std::function<void()> onExit, bool validateOnRefusedKey);
    std::function<void()> m_onExit;
    bool m_validateOnRefusedKey;
};
