// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notify/mail_message.h"
#include "notify/mail_transport.h"
#include "notify/mailer.h"

#include <QString>

struct MailSettings;
class Settings;
class UserDialogs;

// What one sending came to: whether the message was handed over, the text
// the user is shown for it (empty when that route or the language shows
// nothing) and, on a failure, the error.
struct MailOutcome {
    bool sent = false;
    QString shownText;
    std::optional<MailError> error;

    QString Detail() const { return error ? error->kind + QStringLiteral(": ") + error->text : QString(); }
};

// The station's three mails (alarm, report, test) over the route the mail
// settings choose: SMTP when `sinGestorMail` is on, else the PC's own mail
// system. The settings are read at each sending. Alarm and report mails are
// silent; the test mail reports its result in the current language.
class MailDelivery final : public Mailer {
public:
    MailDelivery(const MailSettings& mail, const Settings& settings, UserDialogs& dialogs, MailTransport& smtp,
                 MailTransport& client);

    bool SendAlarmMail(const QString& subject, const QStringList& bodyLines) override;
    bool SendReportMail(const QString& reportFile, const QStringList& alsoAttach = {}) override;
    // Menu item TestSendMail: subject "Test message from Vigilo", no body,
    // the result in a message box.
    MailOutcome TestSendMailClick();

    // The two routes; `showResult` is the request's result flag.
    MailOutcome SendMailSmtp(const MailRequest& request, bool showResult);
    MailOutcome SendMailClient(const MailRequest& request, bool showResult);

private:
    MailOutcome SendMail(const MailRequest& request, bool showResult);
    void Show(const MailOutcome& outcome, bool showResult);

    const MailSettings& m_mail;
    const Settings& m_settings;
    UserDialogs& m_dialogs;
    MailTransport& m_smtp;
    MailTransport& m_client;
};
