// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/up_down_ui.h"

#include "platform/decimal_point.h"

#include <QLineEdit>
#include <QLocale>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), m_buddy(buddy), m_minimum(minimum), m_maximum(maximum), m_position(minimum)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    upButton = new QToolButton(this);
    upButton->setObjectName(QStringLiteral("upButton"));
    upButton->setArrowType(Qt::UpArrow);
    downButton = new QToolButton(this);
    downButton->setObjectName(QStringLiteral("downButton"));
    downButton->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {upButton, downButton}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
    }
    connect(upButton, &QToolButton::clicked, this, &UpDown::StepUp);
    connect(downButton, &QToolButton::clicked, this, &UpDown::StepDown);
}

void UpDown::Step(int delta)
{
    bool ok = false;
    const double typed = QLocale::c().toDouble(FixDecimalPoint(m_buddy->text().trimmed()), &ok);
    const double from = ok ? typed : m_position;
    m_position = std::clamp(from + delta, static_cast<double>(m_minimum), static_cast<double>(m_maximum));
    m_buddy->setText(QString::number(m_position, 'g', 15));
}
