// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// Up-down arrows beside a free-text number edit (their buddy): each click
// steps the edit's number by one within [minimum, maximum]. A text that holds
// no number steps from the last value the arrows wrote.
class UpDown final : public QWidget {
public:
    UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent);

    int Minimum() const { return m_minimum; }
    int Maximum() const { return m_maximum; }

    void StepUp() { Step(+1); }
    void StepDown() { Step(-1); }

    QToolButton* upButton;
    QToolButton* downButton;

private:
    void Step(int delta);

    QLineEdit* m_buddy;
    int m_minimum;
    int m_maximum;
    double m_position;
};
