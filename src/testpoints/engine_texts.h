// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/texts.h"

#include <QString>

class Settings;

// The table engine raises its errors in the station's current language. It
// reads line 0 of the settings it was pointed at each time it raises, so it
// keeps no copy of the language. Without settings, or while line 0 names no
// language, it speaks English: an error must always carry a text.
void FollowLanguageOf(const Settings* settings);
// Stops following `settings` if they are the ones followed (their owner goes).
void StopFollowingLanguageOf(const Settings* settings);

QString EngineText(const Text& text);

// Raises VigiloError with `text`.
[[noreturn]] void FailTable(const QString& text);
