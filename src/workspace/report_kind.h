// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>

// The four reports of a Measurements table, in the order the scheduled and
// periodic actions start them.
enum class ReportKind { ByTime, MinMaxAvg, ByTestPoint, ByAlarm };

inline constexpr std::array<ReportKind, 4> kReportKindsInOrder{ReportKind::ByTime, ReportKind::MinMaxAvg,
                                                                ReportKind::ByTestPoint, ReportKind::ByAlarm};

// Per report kind: when on, the report command saves the report and mails it
// instead of previewing it. The shutdown window's four boxes set them; the
// headless tools set them from their options.
class ReportMailSwitches {
public:
    bool IsOn(ReportKind kind) const { return m_on[Index(kind)]; }
    void Set(ReportKind kind, bool on) { m_on[Index(kind)] = on; }

private:
    static constexpr std::size_t Index(ReportKind kind) { return static_cast<std::size_t>(kind); }
    std::array<bool, 4> m_on{};
};
