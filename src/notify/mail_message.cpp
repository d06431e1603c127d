// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/mail_message.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

#include <mutex>
#include <vmime/platforms/posix/posixHandler.hpp>
#include <vmime/vmime.hpp>

namespace {
// The library takes the time of the Date header and the host name of the
// Message-ID from its platform handler, which must be set once per process.
void UsePosixPlatform()
{
    static std::once_flag once;
    std::call_once(once, [] { vmime::platform::setHandler<vmime::platforms::posix::posixHandler>(); });
}

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

vmime::word Word(const QString& text)
{
    return vmime::word(Utf8(text), vmime::charsets::UTF_8);
}
}  // namespace

QString CutText(const QString& text, int limit)
{
    if (text.size() <= limit)
        return text;
    qsizetype end = limit;
    if (end > 0 && text.at(end - 1).isHighSurrogate())
        --end;
    return text.left(end);
}

std::optional<QByteArray> ComposeMail(const MailRequest& request, const QString& from, const QStringList& to,
                                      QString& error)
{
    UsePosixPlatform();
    try {
        vmime::messageBuilder builder;
        builder.setSubject(vmime::text(Word(request.subject)));
        if (!from.isEmpty())
            builder.setExpeditor(vmime::mailbox(Utf8(from)));
        for (const QString& address : to)
            builder.getRecipients().appendAddress(vmime::make_shared<vmime::mailbox>(Utf8(address)));
        if (request.body) {
            builder.getTextPart()->setCharset(vmime::charsets::UTF_8);
            builder.getTextPart()->setText(
                vmime::make_shared<vmime::stringContentHandler>(Utf8(CutText(*request.body, kMaxBodyCharacters))));
        }
        // The files are read here rather than by the library, so a missing or
        // unreadable file is an error of this sending with its path, and a
        // file name in any script reaches the recipient as it is.
        const QMimeDatabase types;
        for (const QString& path : request.attachments) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                error = QStringLiteral("Cannot read the attachment %1: %2").arg(path, file.errorString());
                return std::nullopt;
            }
            const QByteArray bytes = file.readAll();
            const QString type = types.mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
            auto attachment = vmime::make_shared<vmime::defaultAttachment>(
                vmime::make_shared<vmime::stringContentHandler>(bytes.toStdString()), vmime::encoding("base64"),
                vmime::mediaType(type.toStdString()), vmime::text(), Word(QFileInfo(path).fileName()));
            builder.appendAttachment(attachment);
        }
        auto message = builder.construct();
        message->getHeader()->MessageId()->setValue(vmime::messageId::generateId());
        std::string text;
        vmime::utility::outputStreamStringAdapter out(text);
        message->generate(out);
        return QByteArray::fromStdString(text);
    } catch (const vmime::exception& e) {
        error = QStringLiteral("Cannot compose the message: %1").arg(QString::fromStdString(e.what()));
    } catch (const std::exception& e) {
        error = QStringLiteral("Cannot compose the message: %1").arg(QString::fromStdString(e.what()));
    }
    return std::nullopt;
}
