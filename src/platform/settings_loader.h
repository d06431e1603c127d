// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <utility>
#include <vector>

class Settings;
class UserDialogs;
enum class Language;

// What the start-up loader fills besides the list itself.
struct SettingsTargets {
    // The English or Spanish menu command (captions, line 0, save).
    std::function<void(Language)> runLanguageCommand;
    // Copies line 1..25 into its control (company data, mail settings).
    std::function<void(int line, const QString& text)> copyLine;
};

inline constexpr int kLastLoadedLine = 25;

// Loads config.cfg at the end of start-up: the four outcomes (missing file,
// english, spanish, damaged) with their messages, then lines 1..25.
void LoadSettingsAtStartUp(Settings& settings, UserDialogs& dialogs, const SettingsTargets& targets);

// Saves the list; on failure shows the message of the current line 0.
bool SaveSettingsReporting(const Settings& settings, UserDialogs& dialogs);

// A writer: replaces its lines in ascending order, then saves and reports.
bool WriteSettingsLines(Settings& settings, UserDialogs& dialogs,
                        std::vector<std::pair<int, QString>> lines);
