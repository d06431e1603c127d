// SPDX-License-Identifier: GPL-3.0-or-later
// The mail settings of any config.cfg: they load, write back to lines that
// load to the same settings, and a message composed with them (any sender
// and recipient texts) is composed or refused, never a crash.
#include "fuzz_support.h"
#include "notify/mail_message.h"
#include "notify/mail_service.h"
#include "platform/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteScratchFile(QStringLiteral("config.cfg"), data, size);
    Settings settings(fuzz::ScratchFolder().path());
    if (settings.Load() != Settings::LoadResult::Loaded)
        return 0;
    MailSettings mail;
    CopyMailSettingsLines(mail, settings);
    const auto lines = MailSettingsLines(mail);
    for (const auto& [line, text] : lines)
        settings.Replace(line, text);
    MailSettings again;
    CopyMailSettingsLines(again, settings);
    if (MailSettingsLines(again) != lines)
        __builtin_trap();
    if (mail.smtpRoute && mail.clientRoute)
        __builtin_trap();  // one route at most

    QString error;
    const auto message = ComposeMail({mail.username, mail.password, {}}, mail.fromAddress, ActiveRecipients(mail), error);
    if (message && !message->contains("\r\n\r\n"))
        __builtin_trap();  // headers always end before the body
    if (!message && error.isEmpty())
        __builtin_trap();
    return 0;
}
