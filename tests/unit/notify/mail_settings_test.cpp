// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/mail_service.h"
#include "notify/mail_settings.h"
#include "platform/settings.h"
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

namespace {
MailSettings Loaded(const std::vector<std::pair<int, QString>>& lines)
{
    MailSettings mail;
    for (const auto& [line, text] : lines)
        CopyMailSettingsLine(mail, line, text);
    return mail;
}

TEST(MailSettings, AuthenticationLineSelectsAnEntryOnlyForAWholeNumberNamingOne)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {{"0", MailSettings::kAuthLogin}, {"1", MailSettings::kAuthNone}, {"-1", MailSettings::kNoAuthSelected},
                 {"", MailSettings::kNoAuthSelected}, {"2", MailSettings::kNoAuthSelected},
                 {" 0", MailSettings::kNoAuthSelected}, {"0x0", MailSettings::kNoAuthSelected},
                 {"atLogin", MailSettings::kNoAuthSelected}, {"1.0", MailSettings::kNoAuthSelected}};
    for (const auto& c : cases)
        EXPECT_EQ(Loaded({{21, QString::fromLatin1(c.text)}}).authType, c.expected) << c.text;
}

TEST(MailSettings, RouteAndRecipientSwitchesAreOnExactlyForTrue)
{
    const struct {
        const char* smtp;
        const char* client;
        bool smtpRoute;
        bool clientRoute;
    } cases[] = {{"true", "false", true, false},
                 {"false", "true", false, true},
                 {"", "", false, false},       // a file the company window wrote alone
                 {"True", "TRUE", false, false},
                 {"true", "true", false, true}};  // the later click wins
    for (const auto& c : cases) {
        const MailSettings mail = Loaded({{22, QString::fromLatin1(c.smtp)}, {23, QString::fromLatin1(c.client)}});
        EXPECT_EQ(mail.smtpRoute, c.smtpRoute) << c.smtp << "/" << c.client;
        EXPECT_EQ(mail.clientRoute, c.clientRoute) << c.smtp << "/" << c.client;
    }
}

TEST(MailSettings, AcceptedLinesLoadBackToTheSameSettingsAndLeaveLine14Alone)
{
    MailSettings mail;
    mail.firstRecipient = "a@example.org";
    mail.secondRecipient = "b@example.org";
    mail.thirdRecipient = "c@example.org";
    mail.fromAddress = "station@example.org";
    mail.username = "user";
    mail.password = "a pass word";
    mail.host = "smtp.example.org:587";
    mail.authType = MailSettings::kAuthNone;
    mail.smtpRoute = false;
    mail.clientRoute = true;
    mail.mail2 = true;
    const auto lines = MailSettingsLines(mail);
    std::vector<int> numbers;
    for (const auto& [line, text] : lines)
        numbers.push_back(line);
    EXPECT_EQ(numbers, (std::vector<int>{13, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}));

    TempProgramFolder folder;
    Settings file(folder.Path());
    file.Replace(14, "measure point");
    for (const auto& [line, text] : lines)
        file.Replace(line, text);
    ASSERT_TRUE(file.Save());
    Settings again(folder.Path());
    ASSERT_EQ(again.Load(), Settings::LoadResult::Loaded);
    MailSettings back;
    CopyMailSettingsLines(back, again);
    EXPECT_EQ(MailSettingsLines(back), lines);
    EXPECT_EQ(again.Line(14), "measure point");
    EXPECT_EQ(again.Line(21), "1");
    EXPECT_EQ(again.Line(24), "true");
}

TEST(MailSettings, ActiveRecipientsFollowTheSwitchesAndSkipBlankAddresses)
{
    const struct {
        bool mail2;
        bool mail3;
        const char* second;
        QStringList expected;
    } cases[] = {
        {false, false, "b@x", {"a@x"}},
        {true, false, "b@x", {"a@x", "b@x"}},
        {true, true, "b@x", {"a@x", "b@x", "c@x"}},
        {false, true, "b@x", {"a@x", "c@x"}},  // a hand-edited file: shown active, so used
        {true, true, "  ", {"a@x", "c@x"}},
    };
    for (const auto& c : cases) {
        MailSettings mail;
        mail.firstRecipient = " a@x ";
        mail.secondRecipient = QString::fromLatin1(c.second);
        mail.thirdRecipient = "c@x";
        mail.mail2 = c.mail2;
        mail.mail3 = c.mail3;
        EXPECT_EQ(ActiveRecipients(mail), c.expected) << c.mail2 << c.mail3 << c.second;
    }
}
}  // namespace
