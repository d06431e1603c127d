// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

class Settings;

// The mail settings of config.cfg (lines 13 and 15 to 25). The mail settings
// window edits this object as the user types, and every sending reads it at
// the moment it sends, so a Cancel keeps what was typed for later sendings
// while the file keeps what was last accepted. Headless tools fill it from
// the file alone.
struct MailSettings {
    // Entries of the authentication list, by index as the file stores them.
    static constexpr int kAuthLogin = 0;  // "atLogin"
    static constexpr int kAuthNone = 1;   // "atNone"
    static constexpr int kNoAuthSelected = -1;

    // Lines of config.cfg.
    static constexpr int kFirstRecipientLine = 13;
    static constexpr int kSecondRecipientLine = 15;
    static constexpr int kThirdRecipientLine = 16;
    static constexpr int kFromLine = 17;
    static constexpr int kUsernameLine = 18;
    static constexpr int kPasswordLine = 19;
    static constexpr int kHostLine = 20;
    static constexpr int kAuthTypeLine = 21;
    static constexpr int kSmtpRouteLine = 22;
    static constexpr int kClientRouteLine = 23;
    static constexpr int kMail2Line = 24;
    static constexpr int kMail3Line = 25;

    // The window's defaults, which stay when config.cfg cannot be opened.
    QString firstRecipient;
    QString secondRecipient;
    QString thirdRecipient;
    QString fromAddress;
    QString username;
    QString password;
    QString host;  // "name" or "name:port"; port 25 when none is given
    int authType = kAuthLogin;
    bool smtpRoute = true;     // sinGestorMail: the station talks to the server itself
    bool clientRoute = false;  // conGestorMail: the PC's own mail system
    bool mail2 = false;
    bool mail3 = false;
};

// Copies one line of config.cfg into its setting; false for a line that is
// not a mail setting. Line 21 that is not a whole decimal number naming an
// entry leaves no entry selected; lines 22 to 25 are on exactly when "true".
bool CopyMailSettingsLine(MailSettings& mail, int line, const QString& text);

// What Accept writes: lines 13 and 15 to 25, in ascending order.
std::vector<std::pair<int, QString>> MailSettingsLines(const MailSettings& mail);

// The addresses every mail goes to: the first always, the second while Mail2
// is on, the third while Mail3 is on (also when a hand-edited file turned it
// on without Mail2: the window shows it active, so the user expects it used).
// An address left blank is no recipient and is skipped.
QStringList ActiveRecipients(const MailSettings& mail);
