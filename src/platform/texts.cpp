// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/texts.h"

#include "platform/settings.h"
#include "platform/user_dialogs.h"

Language CurrentLanguage(const Settings& settings)
{
    const QString word = settings.Line(Settings::kLanguageLine);
    if (word == QLatin1String("english"))
        return Language::English;
    if (word == QLatin1String("spanish"))
        return Language::Spanish;
    return Language::Other;
}

QString LanguageWord(Language language)
{
    switch (language) {
    case Language::English: return QStringLiteral("english");
    case Language::Spanish: return QStringLiteral("spanish");
    case Language::Other: break;
    }
    return QString();
}

QString Text::In(Language language) const
{
    switch (language) {
    case Language::English: return QString::fromUtf8(english);
    case Language::Spanish: return QString::fromUtf8(spanish);
    case Language::Other: break;
    }
    return QString();
}

std::optional<QString> Pick(const Settings& settings, const Text& text)
{
    const Language language = CurrentLanguage(settings);
    if (language == Language::Other)
        return std::nullopt;
    return text.In(language);
}

void ShowText(UserDialogs& dialogs, const Settings& settings, const Text& text, const QString& suffix)
{
    if (auto shown = Pick(settings, text))
        dialogs.ShowMessage(*shown + suffix);
}
