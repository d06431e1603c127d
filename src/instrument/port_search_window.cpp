// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/port_search_window.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>

namespace {
class SwallowKeys final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void InstallPortDisplayRules(QComboBox* selPortCB)
{
    auto* filter = new SwallowKeys(selPortCB);
    filter->setObjectName(QStringLiteral("SelPortCBKeyPress"));
    selPortCB->installEventFilter(filter);
    if (selPortCB->lineEdit())
        selPortCB->lineEdit()->installEventFilter(filter);
}
