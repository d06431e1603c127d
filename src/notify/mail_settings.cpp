// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/mail_settings.h"

namespace {
QString* TextOf(MailSettings& mail, int line)
{
    switch (line) {
    case MailSettings::kFirstRecipientLine: return &mail.firstRecipient;
    case MailSettings::kSecondRecipientLine: return &mail.secondRecipient;
    case MailSettings::kThirdRecipientLine: return &mail.thirdRecipient;
    case MailSettings::kFromLine: return &mail.fromAddress;
    case MailSettings::kUsernameLine: return &mail.username;
    case MailSettings::kPasswordLine: return &mail.password;
    case MailSettings::kHostLine: return &mail.host;
    default: return nullptr;
    }
}

bool* SwitchOf(MailSettings& mail, int line)
{
    switch (line) {
    case MailSettings::kSmtpRouteLine: return &mail.smtpRoute;
    case MailSettings::kClientRouteLine: return &mail.clientRoute;
    case MailSettings::kMail2Line: return &mail.mail2;
    case MailSettings::kMail3Line: return &mail.mail3;
    default: return nullptr;
    }
}

QString TrueFalse(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}
}  // namespace

bool CopyMailSettingsLine(MailSettings& mail, int line, const QString& text)
{
    if (QString* target = TextOf(mail, line)) {
        *target = text;
        return true;
    }
    if (bool* target = SwitchOf(mail, line)) {
        *target = text == QLatin1String("true");
        // Selecting a route clears the other, as a click on it does; a file
        // with both lines "true" ends on the later one, the mail system.
        if (*target && line == MailSettings::kSmtpRouteLine)
            mail.clientRoute = false;
        if (*target && line == MailSettings::kClientRouteLine)
            mail.smtpRoute = false;
        return true;
    }
    if (line == MailSettings::kAuthTypeLine) {
        // Only plain decimal digits with an optional sign count as a whole
        // number: " 0" or "0x0" select nothing.
        bool ok = false;
        const int index = text.toInt(&ok, 10);
        const bool plain = ok && !text.isEmpty() && !text.front().isSpace() && !text.back().isSpace();
        mail.authType = plain && (index == MailSettings::kAuthLogin || index == MailSettings::kAuthNone)
                            ? index
                            : MailSettings::kNoAuthSelected;
        return true;
    }
    return false;
}

std::vector<std::pair<int, QString>> MailSettingsLines(const MailSettings& mail)
{
    return {
        {MailSettings::kFirstRecipientLine, mail.firstRecipient},
        {MailSettings::kSecondRecipientLine, mail.secondRecipient},
        {MailSettings::kThirdRecipientLine, mail.thirdRecipient},
        {MailSettings::kFromLine, mail.fromAddress},
        {MailSettings::kUsernameLine, mail.username},
        {MailSettings::kPasswordLine, mail.password},
        {MailSettings::kHostLine, mail.host},
        {MailSettings::kAuthTypeLine, QString::number(mail.authType)},
        {MailSettings::kSmtpRouteLine, TrueFalse(mail.smtpRoute)},
        {MailSettings::kClientRouteLine, TrueFalse(mail.clientRoute)},
        {MailSettings::kMail2Line, TrueFalse(mail.mail2)},
        {MailSettings::kMail3Line, TrueFalse(mail.mail3)},
    };
}

QStringList ActiveRecipients(const MailSettings& mail)
{
    QStringList addresses;
    const auto add = [&](const QString& address) {
        const QString trimmed = address.trimmed();
        if (!trimmed.isEmpty())
            addresses << trimmed;
    };
    add(mail.firstRecipient);
    if (mail.mail2)
        add(mail.secondRecipient);
    if (mail.mail3)
        add(mail.thirdRecipient);
    return addresses;
}
