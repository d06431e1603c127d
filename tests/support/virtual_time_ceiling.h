// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/virtual_clock.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <memory>
#include <stdexcept>

// A run that ends only on Stop never ends on virtual time once a regression
// loses the Stop: every wait returns at once and the test spins forever.
// The ceiling fails the test when the clock passes `ceilingMs` from now:
// it reports through `fail` and throws VirtualTimeCeilingPassed out of the
// wait in progress, which a run takes for an error of its own and ends on.
// Should the run go on all the same, the program aborts `graceMs` later
// with the same message rather than hang.
//
// Declare it after the objects the run uses, so that it is disarmed before
// any of them is torn down.
struct VirtualTimeCeilingPassed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class VirtualTimeCeiling {
public:
    VirtualTimeCeiling(VirtualClock& clock, qint64 ceilingMs, std::function<void(const QString&)> fail,
                       qint64 graceMs = 60000)
        : m_state(std::make_shared<State>(clock))
    {
        m_state->fail = std::move(fail);
        m_state->graceMs = graceMs;
        MoveTo(clock.ElapsedMs() + ceilingMs);
        Schedule(m_state, ceilingMs);
    }
    VirtualTimeCeiling(const VirtualTimeCeiling&) = delete;
    VirtualTimeCeiling& operator=(const VirtualTimeCeiling&) = delete;

    // For a case whose run is meant to last long: the ceiling moves to
    // `elapsedMs` on the clock.
    void MoveTo(qint64 elapsedMs)
    {
        m_state->atMs = elapsedMs;
        m_state->message = QStringLiteral("the run did not end within %1 s of virtual time: it would never end")
                               .arg(elapsedMs / 1000.0);
    }
    bool Passed() const { return m_state->passed; }

private:
    struct State {
        explicit State(VirtualClock& c) : clock(c) {}
        VirtualClock& clock;
        std::function<void(const QString&)> fail;
        QString message;
        qint64 atMs = 0;
        qint64 graceMs = 0;
        bool passed = false;
    };

    static void Schedule(const std::weak_ptr<State>& weak, qint64 delayMs)
    {
        const auto state = weak.lock();
        state->clock.At(delayMs, [weak] {
            const auto armed = weak.lock();
            if (!armed)
                return;
            const qint64 now = armed->clock.ElapsedMs();
            if (now < armed->atMs) {
                Schedule(weak, armed->atMs - now);
                return;
            }
            armed->passed = true;
            armed->clock.At(armed->graceMs, [weak] {
                const auto stillArmed = weak.lock();
                if (!stillArmed)
                    return;
                std::fprintf(stderr, "%s\n", qPrintable(stillArmed->message));
                std::fflush(nullptr);
                std::abort();
            });
            armed->fail(armed->message);
            // Not while a destructor runs during unwinding: that would terminate
            // with no word of why.
            if (std::uncaught_exceptions() == 0)
                throw VirtualTimeCeilingPassed(armed->message.toStdString());
        });
    }

    std::shared_ptr<State> m_state;
};
