// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings_loader.h"

#include "platform/settings.h"
#include "platform/texts.h"
#include "platform/user_dialogs.h"

#include <QDir>
#include <algorithm>

void LoadSettingsAtStartUp(Settings& settings, UserDialogs& dialogs, const SettingsTargets& targets)
{
    const QString path = QDir::toNativeSeparators(settings.FilePath());
    if (settings.Load() == Settings::LoadResult::Missing) {
        // The English command writes line 0 and saves, so the file exists from now on.
        if (targets.runLanguageCommand)
            targets.runLanguageCommand(Language::English);
        dialogs.ShowMessage(texts::kUnableToOpenSettings.English() + path);
        return;
    }
    const QString word = settings.Line(Settings::kLanguageLine);
    if (word == QLatin1String("english")) {
        targets.runLanguageCommand(Language::English);
    } else if (word == QLatin1String("spanish")) {
        targets.runLanguageCommand(Language::Spanish);
    } else {
        targets.runLanguageCommand(Language::English);
        dialogs.ShowMessage(path + texts::kSettingsCorrupted.English());
    }
    if (!targets.copyLine)
        return;
    for (int line = 1; line <= kLastLoadedLine; ++line)
        targets.copyLine(line, settings.Line(line));
}

bool SaveSettingsReporting(const Settings& settings, UserDialogs& dialogs)
{
    if (settings.Save())
        return true;
    ShowText(dialogs, settings, texts::kUnableToSaveSettings,
             QDir::toNativeSeparators(settings.FilePath()));
    return false;
}

bool WriteSettingsLines(Settings& settings, UserDialogs& dialogs,
                        std::vector<std::pair<int, QString>> lines)
{
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [line, text] : lines)
        settings.Replace(line, text);
    return SaveSettingsReporting(settings, dialogs);
}
