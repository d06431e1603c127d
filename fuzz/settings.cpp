// SPDX-License-Identifier: GPL-3.0-or-later
// config.cfg as found on disk: any bytes load, give one language, and save
// again to a file that loads to the same lines.
#include "fuzz_support.h"
#include "platform/settings.h"
#include "platform/settings_loader.h"
#include "platform/texts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteScratchFile(QStringLiteral("config.cfg"), data, size);
    Settings settings(fuzz::ScratchFolder().path());
    fuzz::SilentDialogs dialogs;
    int languages = 0;
    SettingsTargets targets;
    targets.runLanguageCommand = [&](Language) { ++languages; };
    targets.copyLine = [](int, const QString&) {};
    LoadSettingsAtStartUp(settings, dialogs, targets);
    if (languages != 1)
        __builtin_trap();  // exactly one language command at every start
    const QStringList loaded = settings.Lines();
    if (!settings.Save())
        return 0;
    Settings again(fuzz::ScratchFolder().path());
    if (again.Load() != Settings::LoadResult::Loaded)
        __builtin_trap();
    // A lone CR or LF and CR LF all end a line, so what was saved reads back
    // as it was (the file is single-byte text, every character survives).
    if (again.Lines() != loaded)
        __builtin_trap();
    return 0;
}
