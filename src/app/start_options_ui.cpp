// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_options_ui.h"

#include "app/main_window.h"
#include "app/program_ui.h"
#include "platform/preset_dialogs.h"

#include <QFileInfo>
#include <QPushButton>

std::optional<StartOptions> ParseStartOptions(const QStringList& arguments, QString& error)
{
    StartOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (arg == QLatin1String("--measurements") && hasValue) {
            options.measurements = QFileInfo(arguments.at(++i)).absoluteFilePath();
        } else if (arg == QLatin1String("--testpoints") && hasValue) {
            options.testPoints = QFileInfo(arguments.at(++i)).absoluteFilePath();
        } else if (arg == QLatin1String("--search")) {
            options.search = true;
        } else {
            error = QStringLiteral("unknown or incomplete option: %1").arg(arg);
            return std::nullopt;
        }
    }
    if (!options.testPoints.isEmpty() && !QFileInfo(options.testPoints).isFile()) {
        error = QStringLiteral("no test point set at %1").arg(options.testPoints);
        return std::nullopt;
    }
    return options;
}

QString StartOptionsHelp()
{
    return QStringLiteral(
        "usage: vigilo [--measurements FILE.db] [--testpoints FILE.db] [--search]\n"
        "  --measurements FILE.db  open this Measurements table (created when missing)\n"
        "  --testpoints FILE.db    open this test point set (needs a Measurements table)\n"
        "  --search                search COM1-COM40 for the analyser once the tables are open\n");
}

void ApplyStartOptions(Program& program, PresetDialogs& dialogs, const StartOptions& options)
{
    TVigilo& main = *program.VigiloForm;
    if (!options.measurements.isEmpty()) {
        if (QFileInfo(options.measurements).isFile()) {
            dialogs.PresetOpenFile(options.measurements);
            main.OpenReportBtn->click();
        } else {
            dialogs.PresetSaveFile(options.measurements);
            main.NewReportBtn->click();
        }
    }
    if (!options.testPoints.isEmpty() && main.OpenAcquisition->isEnabled()) {
        dialogs.PresetOpenFile(options.testPoints);
        main.OpenAcquisition->click();
    }
    if (options.search && main.SearchComBtn->isEnabled())
        main.SearchComBtn->click();
}
