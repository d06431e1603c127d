// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/sendmail_transport.h"

#include "notify/mail_log.h"
#include "platform/event_pump.h"

#include <QElapsedTimer>
#include <QProcess>

SendmailTransport::SendmailTransport(EventPump& pump, std::chrono::milliseconds limit) : m_pump(pump), m_limit(limit) {}

QString SendmailTransport::Program()
{
    const QString configured = qEnvironmentVariable("VIGILO_SENDMAIL");
    return configured.isEmpty() ? QStringLiteral("/usr/sbin/sendmail") : configured;
}

std::optional<MailError> SendmailTransport::Send(const MailSettings&, const MailEnvelope& envelope)
{
    const QString program = Program();
    // The sendmail interface reads lines ended by LF.
    QByteArray message = envelope.message;
    message.replace("\r\n", "\n");

    QProcess process;
    process.setProgram(program);
    // -t: the recipients come from the To: header; -i: a line with a single
    // dot is text, not the end of the message.
    process.setArguments({QStringLiteral("-t"), QStringLiteral("-i")});
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start();
    if (!process.waitForStarted(5000))
        return MailError{QString::fromLatin1(kStartError),
                         QStringLiteral("Cannot start %1: %2").arg(program, process.errorString())};
    process.write(message);
    process.closeWriteChannel();

    QElapsedTimer clock;
    clock.start();
    while (process.state() != QProcess::NotRunning) {
        if (clock.elapsed() > m_limit.count()) {
            process.kill();
            process.waitForFinished(2000);
            return MailError{QString::fromLatin1(kTimeoutError),
                             QStringLiteral("%1 did not end within %2 s").arg(program).arg(m_limit.count() / 1000)};
        }
        // Short waits that let window events run in between.
        process.waitForFinished(50);
        m_pump.ProcessMessages();
    }
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString how = process.exitStatus() != QProcess::NormalExit
                                ? QStringLiteral("crashed")
                                : QStringLiteral("ended with status %1").arg(process.exitCode());
        qCDebug(lcNotify).noquote() << program << how << output;
        return MailError{QString::fromLatin1(kExitError),
                         QStringLiteral("%1 %2%3").arg(program, how, output.isEmpty() ? QString() : QStringLiteral(": ") + output)};
    }
    qCDebug(lcNotify) << program << "took the message for" << envelope.recipients;
    return std::nullopt;
}
