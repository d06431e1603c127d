// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/mail_delivery.h"
#include "notify/mail_message.h"
#include "notify/mail_settings.h"
#include "notify/mail_transport.h"
#include "platform/settings.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <ostream>

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '[' << list.join(QStringLiteral(", ")).toStdString() << ']';
}

#include <vector>

namespace {
// Records what reaches a route; fails with `error` when one is set.
class FakeTransport final : public MailTransport {
public:
    std::optional<MailError> Send(const MailSettings& settings, const MailEnvelope& envelope) override
    {
        sent.push_back(envelope);
        hosts << settings.host;
        return error;
    }
    std::optional<MailError> error;
    std::vector<MailEnvelope> sent;
    QStringList hosts;
};

class MailDeliveryRules : public ::testing::Test {
protected:
    MailDeliveryRules()
    {
        mail.firstRecipient = "first@example.org";
        mail.fromAddress = "station@example.org";
        mail.host = "smtp.example.org";
    }
    TempProgramFolder folder;
    Settings settings{folder.Path()};
    RecordingDialogs dialogs;
    MailSettings mail;
    FakeTransport smtp;
    FakeTransport client;
    MailDelivery delivery{mail, settings, dialogs, smtp, client};
};

// The test mail's message box: by route, result and the language of line 0.
TEST_F(MailDeliveryRules, TestMailShowsTheResultOfItsRouteInTheCurrentLanguage)
{
    const MailError refused{"ESmtpConnectError", "Failed to connect"};
    const struct {
        bool smtpRoute;
        bool fails;
        const char* language;
        QStringList shown;
    } cases[] = {
        {true, false, "english", {"Message sent"}},
        {true, false, "spanish", {"Mensaje enviado"}},
        {true, true, "english", {"Exception class: ESmtpConnectError\nMessage: Failed to connect"}},
        {true, true, "spanish", {"Exception class: ESmtpConnectError\nMessage: Failed to connect"}},
        {true, true, "English", {}},
        {true, false, "", {}},
        {false, false, "english", {}},
        {false, true, "english", {"Error: Unable to send the message"}},
        {false, true, "spanish", {"Error: No se puede enviar el mensaje"}},
        {false, true, "klingon", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.language) + (c.smtpRoute ? " smtp" : " client") + (c.fails ? " fails" : " ok"));
        settings.Replace(Settings::kLanguageLine, QString::fromLatin1(c.language));
        mail.smtpRoute = c.smtpRoute;
        smtp.error = client.error = c.fails ? std::optional<MailError>(refused) : std::nullopt;
        dialogs.messages.clear();
        smtp.sent.clear();
        client.sent.clear();

        const MailOutcome outcome = delivery.TestSendMailClick();

        EXPECT_EQ(outcome.sent, !c.fails);
        EXPECT_EQ(dialogs.messages, c.shown);
        EXPECT_EQ(smtp.sent.size(), c.smtpRoute ? 1u : 0u);
        EXPECT_EQ(client.sent.size(), c.smtpRoute ? 0u : 1u);
    }
}

TEST_F(MailDeliveryRules, SilentMailsNeverShowAndReportTheirResult)
{
    settings.Replace(Settings::kLanguageLine, "english");
    smtp.error = MailError{"ESmtpTimeoutError", "Operation timed out"};
    EXPECT_FALSE(delivery.SendAlarmMail("s", {"l"}));
    EXPECT_FALSE(delivery.SendReportMail(folder.File("missing.qrp")));
    smtp.error.reset();
    EXPECT_TRUE(delivery.SendAlarmMail("s", {"l"}));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    // The missing report file failed before any server was reached.
    EXPECT_EQ(smtp.sent.size(), 2u);
}

TEST_F(MailDeliveryRules, EachRouteGetsTheSettingsOfTheMomentAndItsOwnEnvelope)
{
    mail.secondRecipient = "operator.on.duty@transmitter-site-number-twelve.broadcast-example.org";
    mail.mail2 = true;
    ASSERT_TRUE(delivery.SendAlarmMail("s", {"l"}));
    mail.host = "edited.example.org";  // typed and cancelled: used from the next sending on
    mail.smtpRoute = false;
    ASSERT_TRUE(delivery.SendAlarmMail("s", {"l"}));
    ASSERT_TRUE(delivery.TestSendMailClick().sent);

    ASSERT_EQ(smtp.sent.size(), 1u);
    EXPECT_EQ(smtp.hosts, QStringList{"smtp.example.org"});
    EXPECT_EQ(smtp.sent[0].from, "station@example.org");
    EXPECT_EQ(smtp.sent[0].recipients, (QStringList{"first@example.org", mail.secondRecipient}));
    EXPECT_TRUE(smtp.sent[0].message.contains("\r\nFrom: station@example.org\r\n"));
    ASSERT_EQ(client.sent.size(), 2u);
    EXPECT_EQ(client.hosts[0], "edited.example.org");
    // The mail system picks the sender; addresses are cut to 59 characters.
    EXPECT_TRUE(client.sent[0].from.isEmpty());
    EXPECT_FALSE(client.sent[0].message.contains("\r\nFrom:"));
    EXPECT_EQ(client.sent[0].recipients[1], mail.secondRecipient.left(kMaxClientAddressCharacters));
    EXPECT_TRUE(client.sent[0].message.contains(mail.secondRecipient.left(kMaxClientAddressCharacters).toLatin1() + '\r'));
}

TEST_F(MailDeliveryRules, NoRecipientFailsBeforeAnyRoute)
{
    settings.Replace(Settings::kLanguageLine, "english");
    mail.firstRecipient = "  ";
    mail.smtpRoute = false;
    EXPECT_FALSE(delivery.TestSendMailClick().sent);
    EXPECT_EQ(dialogs.messages, QStringList{"Error: Unable to send the message"});
    EXPECT_TRUE(client.sent.empty());
}

TEST(MailMessage, BodyIsCutAt999CharactersAndNeverSplitsACharacter)
{
    EXPECT_EQ(CutText(QString(1200, 'x'), kMaxBodyCharacters).size(), 999);
    EXPECT_EQ(CutText("short", kMaxBodyCharacters), "short");
    // U+1F4E1 takes two UTF-16 units; a cut through it drops the whole character.
    const QString pair = QString(998, 'x') + QString::fromUcs4(U"\U0001F4E1");
    EXPECT_EQ(CutText(pair, kMaxBodyCharacters), QString(998, 'x'));

    QString error;
    const auto message = ComposeMail({"s", QString(1200, 'y'), {}}, {}, {"a@example.org"}, error);
    ASSERT_TRUE(message) << error.toStdString();
    const QByteArray body = message->mid(message->indexOf("\r\n\r\n") + 4);
    QByteArray text = body;
    text.replace("=\r\n", "").replace("\r\n", "");
    EXPECT_EQ(text.count('y'), 999);
}

TEST(MailMessage, ALineBreakInTheSubjectCannotStartAHeader)
{
    QString error;
    const auto message = ComposeMail({"Alarm\r\nBcc: someone@example.org", std::nullopt, {}}, {}, {"a@example.org"}, error);
    ASSERT_TRUE(message) << error.toStdString();
    const QByteArray headers = message->left(message->indexOf("\r\n\r\n") + 2);
    EXPECT_FALSE(headers.contains("\r\nBcc:")) << headers.toStdString();
}

TEST(MailMessage, UnreadableAttachmentIsAnErrorNamingTheFile)
{
    QString error;
    EXPECT_FALSE(ComposeMail({"s", std::nullopt, {"/nonexistent/report.qrp"}}, {}, {"a@example.org"}, error));
    EXPECT_TRUE(error.contains("/nonexistent/report.qrp")) << error.toStdString();
}
}  // namespace
