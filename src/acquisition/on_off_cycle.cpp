// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/on_off_cycle.h"

#include "acquisition/oper_mode.h"

bool TickCountdown(QTime& time)
{
    const QTime start = time.isValid() ? time : QTime(0, 0, 0);
    time = start.addSecs(-1);  // QTime wraps at midnight
    // The end is judged on the text the picker shows, read back as a time.
    const QTime shown = ParseDuration(FormatDuration(time));
    return shown.hour() == 0 && shown.minute() == 0 && shown.second() < 3;
}

bool OnOffCycle::TickOnCountdown()
{
    QTime time = m_host.OnTime();
    const bool ended = TickCountdown(time);
    m_host.SetOnTime(time);
    return ended;
}

bool OnOffCycle::TickOffCountdown()
{
    QTime time = m_host.OffTime();
    const bool ended = TickCountdown(time);
    m_host.SetOffTime(time);
    return ended;
}

void OnOffCycle::Tick()
{
    if (m_host.CycleTicked() && m_host.InOnPhase()) {
        if (TickOnCountdown()) {
            m_host.RequestStop();
            m_host.SetOnTime(ParseDuration(m_host.SavedOnText()));
        }
    }
    if (m_host.CycleTicked() && m_host.InOffPhase()) {
        if (TickOffCountdown()) {
            m_host.SetOffTime(ParseDuration(m_host.SavedOffText()));
            m_host.StartNextRun();
        }
    }
}
