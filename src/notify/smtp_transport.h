// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notify/mail_transport.h"

#include <chrono>

class EventPump;

// The time a sending may take. A sending never waits longer than `connect`
// for the connection, `reply` for any one reply of the server (a server
// that accepts the connection and never greets costs `reply`), and `total`
// plus one second per `bytesPerSecond` of message for the whole dialogue.
struct SmtpTimeouts {
    std::chrono::milliseconds connect{10000};
    std::chrono::milliseconds reply{10000};
    std::chrono::milliseconds total{15000};
    int bytesPerSecond = 16 * 1024;
};

// SMTP through libcurl: one connection per sending to Host ("name" or
// "name:port", port 25 by default), STARTTLS whenever the server offers it
// (with the server's certificate checked), AUTH LOGIN when the
// authentication entry is "atLogin" and no authentication otherwise, one
// RCPT per recipient.
class SmtpTransport final : public MailTransport {
public:
    explicit SmtpTransport(EventPump& pump, SmtpTimeouts timeouts = {});
    std::optional<MailError> Send(const MailSettings& settings, const MailEnvelope& envelope) override;

    // The kinds of error a sending reports.
    static inline const char* const kSettingsError = "ESmtpSettingsError";
    static inline const char* const kConnectError = "ESmtpConnectError";
    static inline const char* const kTimeoutError = "ESmtpTimeoutError";
    static inline const char* const kAuthError = "ESmtpAuthError";
    static inline const char* const kProtocolError = "ESmtpProtocolError";

private:
    EventPump& m_pump;
    SmtpTimeouts m_timeouts;
};

// The URL of `host` as typed in the settings, or nothing when it is not a
// host name, an address or either with ":port" (blanks, paths, user parts
// and other schemes are refused, so the setting cannot redirect a sending
// to another protocol).
std::optional<QString> SmtpUrl(const QString& host);
