// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/mail_service.h"

#include "platform/settings.h"
#include "platform/settings_loader.h"

void CopyMailSettingsLines(MailSettings& mail, const Settings& settingsFile)
{
    for (int line = 1; line <= kLastLoadedLine; ++line)
        CopyMailSettingsLine(mail, line, settingsFile.Line(line));
}
