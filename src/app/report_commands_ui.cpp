// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/report_commands_ui.h"

#include "acquisition/oper_mode_window.h"
#include "app/main_window.h"
#include "workspace/csv_export_command.h"
#include "workspace/report_command.h"
#include "workspace/workspace.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>

void ConnectReportCommands(TVigilo& main, Workspace& workspace, const TOperMode& operMode)
{
    const struct {
        QPushButton* button;
        QAction* item;
        ReportKind kind;
    } reports[] = {
        {main.ViewFilteredReportBtn, main.MinMaxAvg1, ReportKind::MinMaxAvg},
        {main.ViewCompletedReportBtn, main.byTime1, ReportKind::ByTime},
        {main.ViewGroupedReportBtn, main.byTestPoint1, ReportKind::ByTestPoint},
        {main.ViewAlarmReportBtn, main.byAlarm1, ReportKind::ByAlarm},
    };
    const QCheckBox* only1TP = operMode.Only1TP;
    for (const auto& report : reports) {
        const ReportKind kind = report.kind;
        QObject::connect(report.button, &QPushButton::clicked, &main, [&workspace, only1TP, kind] {
            RunReportCommand(workspace, kind, only1TP->isChecked());
        });
        QPushButton* button = report.button;
        QObject::connect(report.item, &QAction::triggered, button, &QPushButton::click);
    }
    QObject::connect(main.Exporttocsv1, &QAction::triggered, &main, [&workspace] { ExportMeasurementsCsv(workspace); });
}
