// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

struct MailSettings;

// One composed message and where it goes.
struct MailEnvelope {
    QString from;           // the SMTP envelope sender; may be empty
    QStringList recipients;
    QByteArray message;     // RFC 5322 text, CR LF line ends
};

// Why a sending failed: the kind of error by name, and its text.
struct MailError {
    QString kind;
    QString text;
};

// A way for a composed message to leave the station. A sending is one
// synchronous hand-over, with no queue and no retry; it lets window events
// run while it waits and ends within a bounded time.
class MailTransport {
public:
    virtual ~MailTransport() = default;
    // Nothing when the message was handed over; the settings are read now.
    virtual std::optional<MailError> Send(const MailSettings& settings, const MailEnvelope& envelope) = 0;
};
