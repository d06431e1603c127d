// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/availability_binding_ui.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

AvailabilityBinding::AvailabilityBinding(Availability& availability, QObject* owner)
    : QObject(owner), m_availability(availability)
{
    setObjectName(QStringLiteral("AvailabilityBinding"));
    connect(&m_availability, &Availability::changed, this, &AvailabilityBinding::Apply);
}

void AvailabilityBinding::Enable(QWidget* widget, Command command)
{
    m_widgets.push_back({widget, command, false});
    widget->setEnabled(m_availability.IsEnabled(command));
}

void AvailabilityBinding::Enable(QAction* action, Command command)
{
    m_actions.push_back({action, command, false});
    action->setEnabled(m_availability.IsEnabled(command));
}

void AvailabilityBinding::Enable(QMenu* menu, Command command)
{
    Enable(menu->menuAction(), command);
}

void AvailabilityBinding::Show(QWidget* widget, Command command)
{
    m_widgets.push_back({widget, command, true});
    widget->setVisible(m_availability.IsVisible(command));
}

void AvailabilityBinding::Show(QAction* action, Command command)
{
    m_actions.push_back({action, command, true});
    action->setVisible(m_availability.IsVisible(command));
}

void AvailabilityBinding::Rule(std::function<void(const Availability&)> rule)
{
    rule(m_availability);
    m_rules.push_back(std::move(rule));
}

void AvailabilityBinding::Apply()
{
    for (const WidgetBinding& b : m_widgets) {
        if (!b.widget)
            continue;
        if (b.visibility)
            b.widget->setVisible(m_availability.IsVisible(b.command));
        else
            b.widget->setEnabled(m_availability.IsEnabled(b.command));
    }
    for (const ActionBinding& b : m_actions) {
        if (!b.action)
            continue;
        if (b.visibility)
            b.action->setVisible(m_availability.IsVisible(b.command));
        else
            b.action->setEnabled(m_availability.IsEnabled(b.command));
    }
    for (const auto& rule : m_rules)
        rule(m_availability);
}
