// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/mail_delivery.h"

#include "notify/mail_log.h"
#include "notify/mail_settings.h"
#include "notify/mail_transport.h"
#include "platform/settings.h"
#include "platform/texts.h"
#include "platform/user_dialogs.h"

namespace {
// A composing error is reported as the transports report theirs.
const char* const kComposeError = "EMailComposeError";
}  // namespace

MailDelivery::MailDelivery(const MailSettings& mail, const Settings& settings, UserDialogs& dialogs,
                           MailTransport& smtp, MailTransport& client)
    : m_mail(mail), m_settings(settings), m_dialogs(dialogs), m_smtp(smtp), m_client(client)
{
}

bool MailDelivery::SendAlarmMail(const QString& subject, const QStringList& bodyLines)
{
    return SendMail({subject, bodyLines.join(QStringLiteral("\r\n")), {}}, false).sent;
}

bool MailDelivery::SendReportMail(const QString& reportFile, const QStringList& alsoAttach)
{
    return SendMail({texts::kReportMailSubject.English(), std::nullopt, QStringList{reportFile} + alsoAttach}, false)
        .sent;
}

MailOutcome MailDelivery::TestSendMailClick()
{
    return SendMail({texts::kTestMailSubject.English(), std::nullopt, {}}, true);
}

MailOutcome MailDelivery::SendMail(const MailRequest& request, bool showResult)
{
    return m_mail.smtpRoute ? SendMailSmtp(request, showResult) : SendMailClient(request, showResult);
}

MailOutcome MailDelivery::SendMailSmtp(const MailRequest& request, bool showResult)
{
    MailEnvelope envelope{m_mail.fromAddress.trimmed(), ActiveRecipients(m_mail), {}};
    QString composeError;
    std::optional<MailError> error;
    if (auto message = ComposeMail(request, envelope.from, envelope.recipients, composeError)) {
        envelope.message = std::move(*message);
        error = m_smtp.Send(m_mail, envelope);
    } else {
        error = MailError{QString::fromLatin1(kComposeError), composeError};
    }
    MailOutcome outcome;
    outcome.sent = !error;
    outcome.error = error;
    if (error) {
        const auto exceptionClass = Pick(m_settings, texts::kMailExceptionClass);
        const auto message = Pick(m_settings, texts::kMailExceptionMessage);
        if (exceptionClass && message)
            outcome.shownText = *exceptionClass + error->kind + *message + error->text;
    } else {
        outcome.shownText = Pick(m_settings, texts::kMessageSent).value_or(QString());
    }
    Show(outcome, showResult);
    return outcome;
}

MailOutcome MailDelivery::SendMailClient(const MailRequest& request, bool showResult)
{
    // The mail system picks the sender itself; the addresses are cut to the
    // length this route has always handed over.
    QStringList recipients = ActiveRecipients(m_mail);
    for (QString& address : recipients)
        address = CutText(address, kMaxClientAddressCharacters);
    MailEnvelope envelope{QString(), recipients, {}};
    QString composeError;
    std::optional<MailError> error;
    if (recipients.isEmpty()) {
        error = MailError{QString::fromLatin1(kComposeError), QStringLiteral("No recipient address")};
    } else if (auto message = ComposeMail(request, QString(), recipients, composeError)) {
        envelope.message = std::move(*message);
        error = m_client.Send(m_mail, envelope);
    } else {
        error = MailError{QString::fromLatin1(kComposeError), composeError};
    }
    MailOutcome outcome;
    outcome.sent = !error;
    outcome.error = error;
    if (error) {
        outcome.shownText = Pick(m_settings, texts::kUnableToSendMessage).value_or(QString());
    }
    Show(outcome, showResult);
    return outcome;
}

void MailDelivery::Show(const MailOutcome& outcome, bool showResult)
{
    // A silent mail's failure is seen nowhere else.
    if (!outcome.sent && !showResult)
        qCWarning(lcNotify).noquote() << "mail not sent:" << outcome.Detail();
    // Nothing is shown when line 0 names neither language.
    if (showResult && !outcome.shownText.isEmpty())
        m_dialogs.ShowMessage(outcome.shownText);
}
