// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notify/mail_transport.h"

#include <chrono>

class EventPump;

// The PC's own mail system through the standard sendmail interface
// (msmtp-mta, postfix, exim and nullmailer all provide it): the program is
// started without a shell as `sendmail -t -i`, takes the message on its
// standard input and finds the recipients in its To: header. A program that
// cannot be started, that ends with a non-zero status, or that has not ended
// within the time limit (it is then killed) is a failed sending.
class SendmailTransport final : public MailTransport {
public:
    // The program is $VIGILO_SENDMAIL when set, else /usr/sbin/sendmail.
    explicit SendmailTransport(EventPump& pump, std::chrono::milliseconds limit = std::chrono::seconds(30));
    std::optional<MailError> Send(const MailSettings& settings, const MailEnvelope& envelope) override;

    static QString Program();

    static inline const char* const kStartError = "ESendmailStartError";
    static inline const char* const kExitError = "ESendmailExitError";
    static inline const char* const kTimeoutError = "ESendmailTimeoutError";

private:
    EventPump& m_pump;
    std::chrono::milliseconds m_limit;
};
