// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail_options.h"

#include "notify/mail_service.h"
#include "platform/event_pump.h"
#include "platform/settings.h"
#include "platform/texts.h"
#include "platform/user_dialogs.h"
#include "workspace/workspace.h"

#include <QCommandLineParser>
#include <cstdio>

namespace {
const QCommandLineOption& TestMailOption()
{
    static const QCommandLineOption option(
        QStringLiteral("test-mail"),
        QStringLiteral("Send the test mail with the mail settings of config.cfg, print the result and exit "
                       "(0 sent, 5 not sent); the PC's mail system route runs $VIGILO_SENDMAIL, "
                       "else /usr/sbin/sendmail."));
    return option;
}

constexpr int kNotSent = 5;

// The result box of the test mail becomes the printed result.
class DropDialogs final : public UserDialogs {
public:
    void ShowMessage(const QString&) override {}
    bool AskYesNo(const QString&, const QString&) override { return false; }
    QString AskOpenFile(const FileDialogRequest&) override { return QString(); }
    QString AskSaveFile(const FileDialogRequest&) override { return QString(); }
};
}  // namespace

void AddMailOptions(QCommandLineParser& parser)
{
    parser.addOption(TestMailOption());
}

std::unique_ptr<MailService> InstallStationMail(Workspace& workspace, bool settingsLoaded)
{
    auto mail = std::make_unique<MailService>(workspace.pump, workspace.settings, workspace.dialogs);
    if (settingsLoaded)
        CopyMailSettingsLines(mail->settings, workspace.settings);
    workspace.mailer = &mail->delivery;
    return mail;
}

std::optional<int> RunTestMail(const QCommandLineParser& parser, const Settings& settings, bool settingsLoaded)
{
    if (!parser.isSet(TestMailOption()))
        return std::nullopt;
    QtEventPump pump;
    DropDialogs quiet;
    MailService mail(pump, settings, quiet);
    if (settingsLoaded)
        CopyMailSettingsLines(mail.settings, settings);
    const MailOutcome outcome = mail.delivery.TestSendMailClick();
    QString text = outcome.shownText;
    // The PC's mail system route shows nothing on success.
    if (outcome.sent && text.isEmpty())
        text = Pick(settings, texts::kMessageSent).value_or(QString());
    std::fprintf(outcome.sent ? stdout : stderr, "%s\n", text.toUtf8().constData());
    // The mail system route's message does not say why.
    if (outcome.error && !text.contains(outcome.error->text))
        std::fprintf(stderr, "%s\n", outcome.Detail().toUtf8().constData());
    return outcome.sent ? 0 : kNotSent;
}
