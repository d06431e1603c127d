// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <vector>

// A real SMTP server (Debian's python3-aiosmtpd, run by smtp_server.py) on a
// free loopback port, for the life of the object. Every message it receives
// is recorded with its envelope, decoded headers, body, attachments and the
// authentication used.
struct SmtpServerOptions {
    QString login;          // "user:password": AUTH required
    bool offerAuth = false; // AUTH offered, not required
    bool silent = false;    // accepts connections and never greets
    bool starttls = false;  // offers STARTTLS with a self-signed certificate
};

class SmtpServer {
public:
    explicit SmtpServer(const SmtpServerOptions& options = SmtpServerOptions())
    {
        QStringList arguments{QStringLiteral(VIGILO_SOURCE_DIR "/tests/support/smtp_server.py"),
                              QStringLiteral("--record"), RecordFile()};
        if (!options.login.isEmpty())
            arguments << QStringLiteral("--login") << options.login;
        if (options.offerAuth)
            arguments << QStringLiteral("--offer-auth");
        if (options.silent)
            arguments << QStringLiteral("--silent");
        if (options.starttls)
            arguments << QStringLiteral("--starttls");
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Debian's aiosmtpd belongs to the system's interpreter.
        m_process.start(QStringLiteral("/usr/bin/python3"), arguments);
        QByteArray output;
        while (m_process.waitForReadyRead(10000)) {
            output += m_process.readAllStandardOutput();
            if (output.startsWith("port ") && output.endsWith('\n')) {
                m_port = output.mid(5).trimmed().toInt();
                break;
            }
        }
    }
    ~SmtpServer()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    SmtpServer(const SmtpServer&) = delete;
    SmtpServer& operator=(const SmtpServer&) = delete;

    int Port() const { return m_port; }
    QString Host() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

    // The messages received so far, oldest first.
    std::vector<QJsonObject> Received() const
    {
        std::vector<QJsonObject> messages;
        QFile file(RecordFile());
        if (!file.open(QIODevice::ReadOnly))
            return messages;
        for (const QByteArray& line : file.readAll().split('\n'))
            if (!line.trimmed().isEmpty())
                messages.push_back(QJsonDocument::fromJson(line).object());
        return messages;
    }

    // Waits (real time: the server is another process) until `count`
    // messages have arrived or `ms` have passed.
    std::vector<QJsonObject> WaitFor(size_t count, int ms = 5000) const
    {
        QElapsedTimer clock;
        clock.start();
        auto messages = Received();
        while (messages.size() < count && clock.elapsed() < ms) {
            QThread::msleep(20);
            messages = Received();
        }
        return messages;
    }

private:
    QString RecordFile() const { return m_dir.filePath(QStringLiteral("received.jsonl")); }

    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};
