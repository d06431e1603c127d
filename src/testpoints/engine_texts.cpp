// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/engine_texts.h"

#include "platform/errors.h"

namespace {
const Settings*& Followed()
{
    static const Settings* settings = nullptr;
    return settings;
}
}  // namespace

void FollowLanguageOf(const Settings* settings)
{
    Followed() = settings;
}

void StopFollowingLanguageOf(const Settings* settings)
{
    if (Followed() == settings)
        Followed() = nullptr;
}

QString EngineText(const Text& text)
{
    const Settings* settings = Followed();
    const Language language = settings ? CurrentLanguage(*settings) : Language::English;
    return text.In(language == Language::Other ? Language::English : language);
}

void FailTable(const QString& text)
{
    throw VigiloError(text);
}
