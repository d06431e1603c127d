// SPDX-License-Identifier: GPL-3.0-or-later
// Mail with real components: aiosmtpd as the server, msmtp as the PC's own
// mail system, vigilo-station --test-mail as a user runs it.
#include "notify/mail_delivery.h"
#include "notify/mail_service.h"
#include "platform/event_pump.h"
#include "platform/settings.h"
#include "support/recording_dialogs.h"
#include "support/smtp_server.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QJsonArray>
#include <QProcess>
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

#include <memory>

namespace {
QStringList Strings(const QJsonValue& value)
{
    QStringList list;
    for (const QJsonValue& v : value.toArray())
        list << v.toString();
    return list;
}

// A port nothing listens on: bound once, then released.
int ClosedPort()
{
    SmtpServer probe({QString(), false, true});
    return probe.Port();
}

class MailDeliveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.Replace(Settings::kLanguageLine, QStringLiteral("english"));
        // Short server waits keep the silent-server case quick; the delays of
        // the real limits are measured in bench/mail_faults.
        SmtpTimeouts quick;
        quick.connect = std::chrono::milliseconds(3000);
        quick.reply = std::chrono::milliseconds(1000);
        quick.total = std::chrono::milliseconds(3000);
        mail = std::make_unique<MailService>(pump, settings, dialogs);
        quickSmtp = std::make_unique<SmtpTransport>(pump, quick);
        delivery = std::make_unique<MailDelivery>(mail->settings, settings, dialogs, *quickSmtp, mail->client);
        MailSettings& m = mail->settings;
        m.firstRecipient = QStringLiteral("first@example.org");
        m.fromAddress = QStringLiteral("station@example.org");
        m.username = QStringLiteral("station");
        m.password = QStringLiteral("pass word");
    }

    TempProgramFolder folder;
    Settings settings{folder.Path()};
    QtEventPump pump;
    RecordingDialogs dialogs;
    std::unique_ptr<MailService> mail;
    std::unique_ptr<SmtpTransport> quickSmtp;
    std::unique_ptr<MailDelivery> delivery;
};

TEST_F(MailDeliveryTest, TestMailLogsInWithLoginAndReportsSent)
{
    SmtpServer server({QStringLiteral("station:pass word")});
    ASSERT_GT(server.Port(), 0);
    mail->settings.host = server.Host();

    const MailOutcome outcome = delivery->TestSendMailClick();

    EXPECT_TRUE(outcome.sent) << outcome.Detail().toStdString();
    EXPECT_EQ(dialogs.messages, QStringList{"Message sent"});
    const auto received = server.WaitFor(1);
    ASSERT_EQ(received.size(), 1u);
    const QJsonObject& m = received[0];
    EXPECT_EQ(m["subject"].toString(), "Test message from Vigilo");
    EXPECT_EQ(m["mechanism"].toString(), "LOGIN");
    EXPECT_EQ(m["auth"].toString(), "station");
    EXPECT_EQ(m["mail_from"].toString(), "station@example.org");
    EXPECT_EQ(Strings(m["rcpt_tos"]), QStringList{"first@example.org"});
    EXPECT_FALSE(m["date"].toString().isEmpty());
    EXPECT_TRUE(m["message_id"].toString().startsWith('<'));
    EXPECT_TRUE(m["attachments"].toArray().isEmpty());
}

TEST_F(MailDeliveryTest, AlarmMailGoesToEveryActiveRecipientWithItsBodyLinesAndAnEncodedSubject)
{
    SmtpServer server({QString(), true});
    MailSettings& m = mail->settings;
    m.host = server.Host();
    m.authType = MailSettings::kAuthNone;  // offered by the server, not used
    m.secondRecipient = QStringLiteral("second@example.org");
    m.thirdRecipient = QStringLiteral("third@example.org");
    m.mail2 = true;
    m.mail3 = true;
    const QString subject = QStringLiteral("Alarma: nivel mínimo en 626 MHz – ÁÉÍ");
    const QStringList lines{"Test point: 41", "Level: 38.5 dBµV", "minium: 40"};

    EXPECT_TRUE(delivery->SendAlarmMail(subject, lines));

    EXPECT_TRUE(dialogs.messages.isEmpty());  // alarm mails are silent
    const auto received = server.WaitFor(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0]["subject"].toString(), subject);
    EXPECT_TRUE(received[0]["headers"].toString().contains("Subject: =?utf-8?")) << "RFC 2047 encoded";
    EXPECT_EQ(Strings(received[0]["rcpt_tos"]),
              (QStringList{"first@example.org", "second@example.org", "third@example.org"}));
    EXPECT_EQ(received[0]["body"].toString().remove(QLatin1Char('\r')).trimmed().split('\n'), lines);
    EXPECT_TRUE(received[0]["mechanism"].isNull()) << "no AUTH with atNone";
}

TEST_F(MailDeliveryTest, ReportMailCarriesTheFilesByteForByteUnderTheirNames)
{
    SmtpServer server;
    mail->settings.host = server.Host();
    mail->settings.authType = MailSettings::kNoAuthSelected;
    QByteArray report;
    for (int i = 0; i < 70000; ++i)
        report.append(static_cast<char>(i * 7 % 256));
    const QString reportPath = folder.File(QStringLiteral("12_byAlarm_Señal.qrp"));
    const QString pdfPath = folder.File(QStringLiteral("12_byAlarm.pdf"));
    for (const auto& [path, bytes] : {std::pair{reportPath, report}, std::pair{pdfPath, QByteArray("%PDF-1.4\n")}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    EXPECT_TRUE(delivery->SendReportMail(reportPath, {pdfPath}));

    const auto received = server.WaitFor(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0]["subject"].toString(), "Report of measures of the Vigilo");
    EXPECT_TRUE(received[0]["body"].toString().trimmed().isEmpty());
    const QJsonArray attachments = received[0]["attachments"].toArray();
    ASSERT_EQ(attachments.size(), 2);
    EXPECT_EQ(attachments[0]["filename"].toString(), "12_byAlarm_Señal.qrp");
    EXPECT_EQ(QByteArray::fromBase64(attachments[0]["data"].toString().toLatin1()), report);
    EXPECT_EQ(attachments[1]["filename"].toString(), "12_byAlarm.pdf");
    EXPECT_EQ(attachments[1]["type"].toString(), "application/pdf");
}

// A server that offers STARTTLS gets a TLS connection: with a certificate
// the station cannot trust, the sending stops before any password or
// message crosses the line.
TEST_F(MailDeliveryTest, AServerOfferingStartTlsIsNeverSentThePasswordInClear)
{
    SmtpServerOptions options;
    options.login = QStringLiteral("station:pass word");
    options.starttls = true;
    SmtpServer server(options);
    ASSERT_GT(server.Port(), 0);
    mail->settings.host = server.Host();

    const MailOutcome outcome = delivery->TestSendMailClick();

    EXPECT_FALSE(outcome.sent);
    ASSERT_TRUE(outcome.error);
    EXPECT_TRUE(outcome.error->text.contains(QLatin1String("certificate"), Qt::CaseInsensitive))
        << outcome.Detail().toStdString();
    EXPECT_TRUE(server.Received().empty());
}

// Each fault fails the sending with its kind and the error's own words,
// shows them only for the test mail, and leaves the next sending working.
TEST_F(MailDeliveryTest, FaultsFailWithTheirKindAndTheNextSendingStillWorks)
{
    SmtpServer auth({QStringLiteral("station:right")});
    SmtpServer silent({QString(), false, true});
    const struct {
        const char* name;
        QString host;
        const char* kind;
        const char* words;
    } faults[] = {
        {"connection refused", QStringLiteral("127.0.0.1:%1").arg(ClosedPort()), SmtpTransport::kConnectError,
         "Couldn't connect"},
        {"unknown host", QStringLiteral("no-such-host.invalid"), SmtpTransport::kConnectError, "resolv"},
        {"wrong password", auth.Host(), SmtpTransport::kAuthError, "Login denied"},
        {"never greets", silent.Host(), SmtpTransport::kTimeoutError, "timeout"},
        {"not a host", QStringLiteral("smtp.example.org/../x"), SmtpTransport::kSettingsError, "not a mail server"},
    };
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.name);
        dialogs.messages.clear();
        mail->settings.host = fault.host;

        EXPECT_FALSE(delivery->SendAlarmMail(QStringLiteral("subject"), {QStringLiteral("line")}));
        EXPECT_TRUE(dialogs.messages.isEmpty());
        const MailOutcome outcome = delivery->TestSendMailClick();

        EXPECT_FALSE(outcome.sent);
        ASSERT_EQ(dialogs.messages.size(), 1);
        const QString shown = dialogs.messages[0];
        EXPECT_TRUE(shown.startsWith(QStringLiteral("Exception class: %1\nMessage: ").arg(fault.kind)))
            << shown.toStdString();
        EXPECT_TRUE(shown.contains(QLatin1String(fault.words), Qt::CaseInsensitive)) << shown.toStdString();
    }
    SmtpServer good;
    mail->settings.host = good.Host();
    mail->settings.authType = MailSettings::kAuthNone;
    EXPECT_TRUE(delivery->SendAlarmMail(QStringLiteral("after the faults"), {QStringLiteral("line")}));
    EXPECT_EQ(good.WaitFor(1).size(), 1u);
}

// The PC's own mail system: msmtp as sendmail, configured (through HOME) to
// relay to the test server.
class SendmailRouteTest : public MailDeliveryTest {
protected:
    void SetUp() override
    {
        MailDeliveryTest::SetUp();
        mail->settings.smtpRoute = false;
        mail->settings.clientRoute = true;
        m_home = qgetenv("HOME");
        m_sendmail = qgetenv("VIGILO_SENDMAIL");
        qputenv("HOME", home.path().toUtf8());
        qunsetenv("VIGILO_SENDMAIL");
    }
    void TearDown() override
    {
        qputenv("HOME", m_home);
        if (m_sendmail.isEmpty())
            qunsetenv("VIGILO_SENDMAIL");
        else
            qputenv("VIGILO_SENDMAIL", m_sendmail);
    }
    void RelayTo(const SmtpServer& server)
    {
        QFile rc(home.filePath(QStringLiteral(".msmtprc")));
        ASSERT_TRUE(rc.open(QIODevice::WriteOnly));
        rc.write(QStringLiteral("account default\nhost 127.0.0.1\nport %1\nfrom pc@example.org\nauth off\n"
                                "tls off\nsyslog off\ntimeout 5\n")
                     .arg(server.Port())
                     .toUtf8());
        rc.close();
        rc.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);  // msmtp insists
    }

    QTemporaryDir home;
    QByteArray m_home;
    QByteArray m_sendmail;
};

TEST_F(SendmailRouteTest, SystemSendmailDeliversToTheActiveRecipientsAndShowsNothingOnSuccess)
{
    SmtpServer server;
    RelayTo(server);
    MailSettings& m = mail->settings;
    m.host = QStringLiteral("ignored.invalid");  // this route never uses the server settings
    m.secondRecipient = QStringLiteral("second@example.org");
    m.mail2 = true;
    m.thirdRecipient = QStringLiteral("third@example.org");  // not active

    EXPECT_TRUE(delivery->TestSendMailClick().sent);
    const QString longAddress = QStringLiteral("operator.on.duty@transmitter-site-number-twelve.broadcast-example.org");
    m.firstRecipient = longAddress;
    EXPECT_TRUE(delivery->SendAlarmMail(QStringLiteral("Nivel máximo"), {QStringLiteral(". a line with a dot")}));

    EXPECT_TRUE(dialogs.messages.isEmpty());
    const auto received = server.WaitFor(2);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0]["subject"].toString(), "Test message from Vigilo");
    EXPECT_EQ(received[0]["from"].toString(), "pc@example.org");  // the mail system's own sender
    EXPECT_EQ(Strings(received[0]["rcpt_tos"]), (QStringList{"first@example.org", "second@example.org"}));
    EXPECT_EQ(received[1]["subject"].toString(), QStringLiteral("Nivel máximo"));
    EXPECT_EQ(received[1]["body"].toString().trimmed(), ". a line with a dot");
    // Cut to the route's 59 characters, never beyond.
    EXPECT_EQ(Strings(received[1]["rcpt_tos"]).first().toStdString(), longAddress.left(59).toStdString());
}

TEST_F(SendmailRouteTest, MissingOrFailingSendmailIsUnableToSend)
{
    const struct {
        const char* program;
        const char* kind;
    } cases[] = {{"/nonexistent/sendmail", SendmailTransport::kStartError},
                 {"/bin/false", SendmailTransport::kExitError}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        dialogs.messages.clear();
        qputenv("VIGILO_SENDMAIL", c.program);
        EXPECT_FALSE(delivery->SendReportMail(folder.File(QStringLiteral("missing.qrp"))));
        const MailOutcome outcome = delivery->TestSendMailClick();
        EXPECT_FALSE(outcome.sent);
        EXPECT_TRUE(outcome.Detail().startsWith(QLatin1String(c.kind))) << outcome.Detail().toStdString();
        EXPECT_EQ(dialogs.messages, QStringList{"Error: Unable to send the message"});
    }
}

// vigilo-station --test-mail reads config.cfg of its folder.
class StationTestMail : public ::testing::Test {
protected:
    struct Ended {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };
    Ended Run(const QStringList& lines)
    {
        Settings file(folder.Path());
        for (int i = 0; i < lines.size(); ++i)
            file.Replace(i, lines[i]);
        EXPECT_TRUE(file.Save());
        QProcess station;
        station.start(QStringLiteral(VIGILO_PROGRAM_DIR "/vigilo-station"),
                      {QStringLiteral("--folder"), folder.Path(), QStringLiteral("--test-mail")});
        EXPECT_TRUE(station.waitForFinished(60000));
        return {station.exitCode(), station.readAllStandardOutput(), station.readAllStandardError()};
    }
    static QStringList Lines(const QString& language, const QString& host, const QString& auth)
    {
        QStringList lines(26);
        lines[0] = language;
        lines[13] = QStringLiteral("first@example.org");
        lines[17] = QStringLiteral("station@example.org");
        lines[18] = QStringLiteral("station");
        lines[19] = QStringLiteral("secret");
        lines[20] = host;
        lines[21] = auth;
        lines[22] = QStringLiteral("true");
        lines[23] = QStringLiteral("false");
        return lines;
    }
    TempProgramFolder folder;
};

TEST_F(StationTestMail, SendsWithTheFileSettingsAndPrintsTheResult)
{
    SmtpServer server({QStringLiteral("station:secret")});
    const Ended station = Run(Lines(QStringLiteral("spanish"), server.Host(), QStringLiteral("0")));
    EXPECT_EQ(station.exitCode, 0) << station.err.toStdString();
    EXPECT_EQ(station.out.trimmed(), QByteArray("Mensaje enviado"));
    const auto received = server.WaitFor(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0]["auth"].toString(), "station");
}

TEST_F(StationTestMail, AFailureExitsNonZeroWithTheErrorText)
{
    const Ended station = Run(Lines(QStringLiteral("english"), QStringLiteral("127.0.0.1:%1").arg(ClosedPort()),
                                    QStringLiteral("1")));
    EXPECT_EQ(station.exitCode, 5);
    // Qt may warn on stderr before it (an unset XDG_RUNTIME_DIR under a service).
    EXPECT_TRUE(station.err.contains("Exception class: ESmtpConnectError\nMessage: ")) << station.err.toStdString();
    EXPECT_TRUE(station.out.isEmpty());
}
}  // namespace
