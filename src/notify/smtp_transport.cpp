// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/smtp_transport.h"

#include "notify/mail_log.h"
#include "notify/mail_settings.h"
#include "platform/event_pump.h"

#include <QRegularExpression>

#include <curl/curl.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

namespace {
void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Upload {
    const QByteArray& bytes;
    qsizetype offset = 0;
};

size_t ReadMessage(char* buffer, size_t size, size_t count, void* user)
{
    auto* upload = static_cast<Upload*>(user);
    const size_t room = size * count;
    const size_t left = static_cast<size_t>(upload->bytes.size() - upload->offset);
    const size_t n = std::min(room, left);
    std::memcpy(buffer, upload->bytes.constData() + upload->offset, n);
    upload->offset += static_cast<qsizetype>(n);
    return n;
}

int TraceDialogue(CURL*, curl_infotype type, char* data, size_t size, void*)
{
    if (type == CURLINFO_HEADER_IN || type == CURLINFO_HEADER_OUT || type == CURLINFO_TEXT)
        qCDebug(lcNotify).noquote() << (type == CURLINFO_HEADER_OUT ? "> " : "< ")
                                    << QByteArray(data, static_cast<qsizetype>(size)).trimmed();
    return 0;
}

// An address goes into the SMTP dialogue between angle brackets: one with
// brackets, line breaks or other control characters could end the command
// and start another.
bool SafeAddress(const QString& address)
{
    for (const QChar c : address)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == QLatin1Char('<') || c == QLatin1Char('>'))
            return false;
    return true;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

const char* KindOf(CURLcode code)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return SmtpTransport::kConnectError;
    case CURLE_OPERATION_TIMEDOUT:
        return SmtpTransport::kTimeoutError;
    case CURLE_LOGIN_DENIED:
        return SmtpTransport::kAuthError;
    default:
        return SmtpTransport::kProtocolError;
    }
}
}  // namespace

std::optional<QString> SmtpUrl(const QString& host)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^(\[[0-9A-Fa-f:.]+\]|[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?)(:([0-9]{1,5}))?$)"));
    const QRegularExpressionMatch match = form.match(host.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    if (match.hasCaptured(4)) {
        const int port = match.captured(4).toInt();
        if (port < 1 || port > 65535)
            return std::nullopt;
    }
    return QStringLiteral("smtp://") + host.trimmed();
}

SmtpTransport::SmtpTransport(EventPump& pump, SmtpTimeouts timeouts) : m_pump(pump), m_timeouts(timeouts)
{
    InitCurlOnce();
}

std::optional<MailError> SmtpTransport::Send(const MailSettings& settings, const MailEnvelope& envelope)
{
    const std::optional<QString> url = SmtpUrl(settings.host);
    if (!url)
        return MailError{QString::fromLatin1(kSettingsError),
                         QStringLiteral("\"%1\" is not a mail server host (name or name:port)").arg(settings.host)};
    if (envelope.recipients.isEmpty())
        return MailError{QString::fromLatin1(kSettingsError), QStringLiteral("No recipient address")};
    QStringList addresses = envelope.recipients;
    addresses << envelope.from;
    for (const QString& address : addresses)
        if (!SafeAddress(address))
            return MailError{QString::fromLatin1(kSettingsError),
                             QStringLiteral("\"%1\" is not a mail address").arg(address)};

    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi)
        return MailError{QString::fromLatin1(kProtocolError), QStringLiteral("Out of memory")};

    CURL* e = easy.get();
    char errorText[CURL_ERROR_SIZE] = {};
    const QByteArray urlBytes = url->toUtf8();
    const QByteArray fromBytes = QStringLiteral("<%1>").arg(envelope.from.trimmed()).toUtf8();
    std::unique_ptr<curl_slist, ListDeleter> recipients;
    for (const QString& address : envelope.recipients) {
        curl_slist* grown = curl_slist_append(recipients.get(), QStringLiteral("<%1>").arg(address).toUtf8().constData());
        if (!grown)
            return MailError{QString::fromLatin1(kProtocolError), QStringLiteral("Out of memory")};
        (void)recipients.release();
        recipients.reset(grown);
    }
    const QByteArray user = settings.username.toUtf8();
    const QByteArray password = settings.password.toUtf8();
    Upload upload{envelope.message};
    const long total = static_cast<long>(m_timeouts.total.count()) +
                       static_cast<long>(1000 * (envelope.message.size() / std::max(1, m_timeouts.bytesPerSecond)));

    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(e, CURLOPT_URL, urlBytes.constData());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "smtp");
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_timeouts.connect.count()));
    curl_easy_setopt(e, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                     std::max(1L, static_cast<long>((m_timeouts.reply.count() + 999) / 1000)));
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, total);
    curl_easy_setopt(e, CURLOPT_MAIL_FROM, fromBytes.constData());
    curl_easy_setopt(e, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(e, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(e, CURLOPT_READFUNCTION, &ReadMessage);
    curl_easy_setopt(e, CURLOPT_READDATA, &upload);
    if (settings.authType == MailSettings::kAuthLogin) {
        curl_easy_setopt(e, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(e, CURLOPT_PASSWORD, password.constData());
        curl_easy_setopt(e, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
    }
    if (lcNotify().isDebugEnabled()) {
        curl_easy_setopt(e, CURLOPT_VERBOSE, 1L);
        curl_easy_setopt(e, CURLOPT_DEBUGFUNCTION, &TraceDialogue);
    }

    // The multi interface lets the window repaint and the Stop button and
    // the timers work while the server answers.
    curl_multi_add_handle(multi.get(), e);
    int running = 1;
    while (running > 0) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK)
            break;
        if (running == 0)
            break;
        curl_multi_poll(multi.get(), nullptr, 0, 50, nullptr);
        m_pump.ProcessMessages();
    }
    CURLcode result = CURLE_FAILED_INIT;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued))
        if (message->msg == CURLMSG_DONE && message->easy_handle == e)
            result = message->data.result;
    curl_multi_remove_handle(multi.get(), e);

    if (result == CURLE_OK) {
        qCDebug(lcNotify) << "SMTP: sent to" << envelope.recipients;
        return std::nullopt;
    }
    const QString text = errorText[0] ? QString::fromUtf8(errorText) : QString::fromUtf8(curl_easy_strerror(result));
    // A time-out before the connection stood (a resolver or a network that
    // does not answer) is a connection failure; after it, a silent server.
    curl_off_t connectedAfter = 0;
    if (result == CURLE_OPERATION_TIMEDOUT && curl_easy_getinfo(e, CURLINFO_CONNECT_TIME_T, &connectedAfter) == CURLE_OK &&
        connectedAfter == 0)
        return MailError{QString::fromLatin1(kConnectError), text};
    qCDebug(lcNotify) << "SMTP: failed" << result << text;
    return MailError{QString::fromLatin1(KindOf(result)), text};
}
