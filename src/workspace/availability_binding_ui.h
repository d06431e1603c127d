// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workspace/availability.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

// Keeps a window's controls in step with the availability model: each
// control follows one command, and follows it again at every change. Owned
// by the window (its parent), so a destroyed window is never touched.
class AvailabilityBinding : public QObject {
public:
    AvailabilityBinding(Availability& availability, QObject* owner);

    void Enable(QWidget* widget, Command command);
    void Enable(QAction* action, Command command);
    void Enable(QMenu* menu, Command command);
    void Show(QWidget* widget, Command command);
    void Show(QAction* action, Command command);
    // A rule of the window's own that also reads the model (run after the others).
    void Rule(std::function<void(const Availability&)> rule);

    // Applies every binding now (also done at every change of the model).
    void Apply();

private:
    struct WidgetBinding {
        QPointer<QWidget> widget;
        Command command;
        bool visibility;
    };
    struct ActionBinding {
        QPointer<QAction> action;
        Command command;
        bool visibility;
    };

    Availability& m_availability;
    std::vector<WidgetBinding> m_widgets;
    std::vector<ActionBinding> m_actions;
    std::vector<std::function<void(const Availability&)>> m_rules;
};
