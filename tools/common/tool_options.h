// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workspace/report_kind.h"

#include <QByteArray>
#include <QFileInfo>
#include <QLatin1String>
#include <QString>
#include <optional>

// What the headless tools read from their command lines the same way.

// Files named on the command line are taken from where the tool was started.
inline QString AbsolutePath(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

// Reports are drawn with fonts, which need a GUI application; without a
// screen, the offscreen platform. Before the application object exists.
inline void UseOffscreenUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The report kinds by the names the options use.
struct ReportKindWord {
    ReportKind kind;
    const char* word;
};
inline constexpr ReportKindWord kReportKindWords[] = {{ReportKind::ByTime, "by-time"},
                                                      {ReportKind::MinMaxAvg, "min-max-avg"},
                                                      {ReportKind::ByTestPoint, "by-test-point"},
                                                      {ReportKind::ByAlarm, "by-alarm"}};

inline std::optional<ReportKind> ReportKindNamed(const QString& name, Qt::CaseSensitivity cs)
{
    for (const ReportKindWord& k : kReportKindWords)
        if (name.compare(QLatin1String(k.word), cs) == 0)
            return k.kind;
    return std::nullopt;
}

inline QString ReportKindName(ReportKind kind)
{
    for (const ReportKindWord& k : kReportKindWords)
        if (k.kind == kind)
            return QLatin1String(k.word);
    return {};
}
