// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// One mail as the station asks for it: the same request goes by either route.
struct MailRequest {
    QString subject;
    std::optional<QString> body;  // none: the mail has no body
    QStringList attachments;      // full paths, attached in this order
};

// The longest body a mail carries; a longer body is cut there.
inline constexpr int kMaxBodyCharacters = 999;
// The longest recipient address the PC's mail system route hands over; a
// longer address is cut there.
inline constexpr int kMaxClientAddressCharacters = 59;

// `text` cut to at most `limit` characters, never inside a surrogate pair.
QString CutText(const QString& text, int limit);

// The message as RFC 5322 text with CR LF line ends: Subject (RFC 2047 when
// it is not plain ASCII), From (only when `from` is not empty), To, Date,
// Message-ID, MIME-Version; the body as UTF-8 text; each attachment as a
// base64 part named by its file name (RFC 2231 when not plain ASCII). The
// body is cut to kMaxBodyCharacters. Nothing when an attachment cannot be
// read: `error` then says which.
std::optional<QByteArray> ComposeMail(const MailRequest& request, const QString& from, const QStringList& to,
                                      QString& error);
