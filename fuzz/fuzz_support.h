// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/event_pump.h"
#include "platform/serial_device.h"
#include "platform/user_dialogs.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

// Every fuzz target defines this; libFuzzer or replay_main.cpp calls it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fuzz {

inline QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Waits take no time and there are no window events.
class NullPump final : public EventPump {
public:
    void ProcessMessages() override {}
    void Sleep(int) override {}
    QDateTime Now() const override { return QDateTime::fromSecsSinceEpoch(0); }
};

// Answers every question with No and every file dialog with Cancel.
class SilentDialogs final : public UserDialogs {
public:
    void ShowMessage(const QString& text) override { last = text; }
    bool AskYesNo(const QString&, const QString&) override { return false; }
    QString AskOpenFile(const FileDialogRequest&) override { return {}; }
    QString AskSaveFile(const FileDialogRequest&) override { return {}; }
    QString last;
};

// A device whose far end sends the given bytes, `chunk` at most per read, and
// then stays silent; whatever is written to it is accepted and dropped.
class ReplayDevice final : public SerialDevice {
public:
    ReplayDevice(QByteArray bytes, int chunk) : m_bytes(std::move(bytes)), m_chunk(std::max(chunk, 1)) {}

    bool GetLineSettings(LineSettings& settings) override
    {
        settings = m_settings;
        return true;
    }
    bool SetLineSettings(const LineSettings& settings) override
    {
        m_settings = settings;
        return true;
    }
    bool SetTimeouts(const ReadTimeouts&) override { return true; }
    bool SetDtr(bool) override { return true; }
    bool SetRts(bool) override { return true; }
    // A purge would drop the bytes the far end has not "sent" yet: only what
    // a real queue could hold (one chunk) goes.
    bool Purge(quint32 flags) override
    {
        if (flags & kPurgeRxClear)
            m_at = std::min(m_bytes.size(), m_at + m_chunk);
        return true;
    }
    int BytesWaiting() override { return static_cast<int>(std::min<qsizetype>(m_chunk, Remaining())); }
    bool Read(char* data, int count, int& got) override
    {
        got = static_cast<int>(std::min<qsizetype>({count, m_chunk, Remaining()}));
        if (got > 0)
            std::memcpy(data, m_bytes.constData() + m_at, static_cast<size_t>(got));
        m_at += got;
        return true;
    }
    bool Write(const char*, int count, int& written) override
    {
        written = count;
        return true;
    }
    qsizetype Remaining() const { return m_bytes.size() - m_at; }

private:
    QByteArray m_bytes;
    qsizetype m_chunk;
    qsizetype m_at = 0;
    LineSettings m_settings;
};

// A scratch folder for targets that read files, in memory where the system
// offers it: the table engine syncs every commit.
inline const QTemporaryDir& ScratchFolder()
{
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/vigilo-fuzz-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/vigilo-fuzz-XXXXXX"));
    return dir;
}

inline QString WriteScratchFile(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = ScratchFolder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("fuzz: cannot write %s", qPrintable(path));
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return path;
}

}  // namespace fuzz
