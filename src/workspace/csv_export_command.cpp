// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/csv_export_command.h"

#include "platform/errors.h"
#include "platform/texts.h"
#include "platform/user_dialogs.h"
#include "reports/csv_export.h"
#include "workspace/workspace.h"

#include <QFileInfo>

void ExportMeasurementsCsv(Workspace& workspace)
{
    Dataset& table = workspace.ReportTable;
    const auto fail = [&] { ShowText(workspace.dialogs, workspace.settings, texts::kNoReportTable); };
    try {
        if (!table.IsOpen())
            table.Open();
        table.First();
    } catch (const VigiloError&) {
        fail();
        return;
    }

    FileDialogRequest request;
    request.filter = texts::kCsvFilter.English();
    request.defaultExtension = QStringLiteral("csv");
    // Beside the table it exports.
    request.initialFolder = QFileInfo(table.FilePath()).absolutePath();
    request.confirmOverwrite = true;
    request.mustExist = false;
    const QString target = workspace.dialogs.AskSaveFile(request);
    if (target.isEmpty())
        return;
    try {
        WriteTableCsv(table.FilePath(), target);
    } catch (const VigiloError&) {
        fail();
    }
}
