// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class PresetDialogs;
class Program;

// Optional start-up options, for demonstrations and kiosk set-ups: open a
// Measurements table and a test point set and search the analyser, exactly as
// the toolbar's steps 1 to 3 would.
struct StartOptions {
    QString measurements;  // opened, or created when missing
    QString testPoints;    // opened as "Open Test Point Set" does
    bool search = false;
};

// Nothing when the arguments are not understood; `error` then says why.
std::optional<StartOptions> ParseStartOptions(const QStringList& arguments, QString& error);
QString StartOptionsHelp();

// Clicks steps 1 to 3 with the file names preset in `dialogs`.
void ApplyStartOptions(Program& program, PresetDialogs& dialogs, const StartOptions& options);
