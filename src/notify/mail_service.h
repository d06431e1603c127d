// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notify/mail_delivery.h"
#include "notify/mail_settings.h"
#include "notify/sendmail_transport.h"
#include "notify/smtp_transport.h"

class EventPump;
class Settings;
class UserDialogs;

// What a front end keeps for mail: the mail settings (edited by the mail
// settings window, filled from config.cfg), both routes, and the delivery
// over them that the workspace's mailer points to.
struct MailService {
    MailService(EventPump& pump, const Settings& settingsFile, UserDialogs& dialogs)
        : smtp(pump), client(pump), delivery(settings, settingsFile, dialogs, smtp, client)
    {
    }

    MailSettings settings;
    SmtpTransport smtp;
    SendmailTransport client;
    MailDelivery delivery;
};

// The mail settings of a loaded settings list, as the start-up loader copies
// them into the window (for a front end without one).
void CopyMailSettingsLines(MailSettings& mail, const Settings& settingsFile);
