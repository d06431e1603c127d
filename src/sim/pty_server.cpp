// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/pty_server.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr qint64 kMaxSleepMs = 20;
}

PtyServer::PtyServer() = default;

PtyServer::~PtyServer()
{
    for (Served& served : m_served)
        Unplug(served);
}

bool PtyServer::Add(std::shared_ptr<SimWire> wire, const QString& linkPath, QString* error)
{
    QDir().mkpath(QFileInfo(linkPath).absolutePath());
    // Only a link left behind by an earlier simulator (to a pty) is replaced:
    // anything else there is the user's own port and must survive.
    const QFileInfo existing(linkPath);
    if ((existing.exists() || existing.isSymLink()) &&
        (!existing.isSymLink() || !existing.symLinkTarget().startsWith(QLatin1String("/dev/pts/")))) {
        if (error)
            *error = QStringLiteral("%1 already exists and is not a simulator's link").arg(linkPath);
        return false;
    }
    Served served{std::move(wire), linkPath, QString(), -1, -1, {}};
    if (!Plug(served, error))
        return false;
    m_served.push_back(std::move(served));
    return true;
}

bool PtyServer::Plug(Served& served, QString* error)
{
    int master = -1;
    int slave = -1;
    char name[128] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        if (error)
            *error = QStringLiteral("openpty failed: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);

    QFile::remove(served.link);
    if (!QFile::link(QString::fromLocal8Bit(name), served.link)) {
        if (error)
            *error = QStringLiteral("cannot link %1 to %2").arg(served.link, QString::fromLocal8Bit(name));
        ::close(master);
        ::close(slave);
        return false;
    }
    served.device = QString::fromLocal8Bit(name);
    served.master = master;
    served.slave = slave;
    served.unsent.clear();
    served.wire->unplugged = false;
    return true;
}

QStringList PtyServer::DeviceNames() const
{
    QStringList names;
    for (const Served& served : m_served)
        names.append(served.device);
    return names;
}

void PtyServer::Unplug(Served& served)
{
    if (served.master < 0)
        return;
    served.wire->unplugged = true;
    QFile::remove(served.link);
    ::close(served.master);
    ::close(served.slave);
    served.master = served.slave = -1;
}

void PtyServer::Run(const std::atomic<bool>& stop, const Plugging& plugging)
{
    QElapsedTimer clock;
    clock.start();
    std::vector<pollfd> fds(m_served.size());
    bool pulledOnClock = false;
    bool pluggedOnClock = false;
    while (!stop.load()) {
        const qint64 now = clock.elapsed();
        int request = plugging.request ? plugging.request->exchange(Plugging::kNone) : Plugging::kNone;
        if (!pulledOnClock && plugging.unplugAfterMs >= 0 && now >= plugging.unplugAfterMs) {
            pulledOnClock = true;
            request = Plugging::kPull;
        } else if (pulledOnClock && !pluggedOnClock && plugging.replugAfterMs >= 0 && now >= plugging.replugAfterMs) {
            pluggedOnClock = true;
            request = Plugging::kPlugBack;
        }
        for (Served& served : m_served) {
            if (request == Plugging::kPull) {
                Unplug(served);
            } else if (request == Plugging::kPlugBack && served.master < 0) {
                // What the instrument had queued went nowhere while unplugged.
                served.wire->DiscardDue(now);
                (void)Plug(served, nullptr);
            }
        }
        qint64 sleep = kMaxSleepMs;
        for (size_t i = 0; i < m_served.size(); ++i) {
            Served& served = m_served[i];
            fds[i] = {served.master, POLLIN, 0};
            if (served.master < 0)
                continue;
            char data[512];
            for (;;) {
                const ssize_t n = ::read(served.master, data, sizeof data);
                if (n <= 0)
                    break;
                served.wire->Receive(QByteArray(data, static_cast<int>(n)), clock.elapsed());
            }
            // What the station's purge would drop is the station's business:
            // the bytes are handed to the pty as they fall due.
            served.unsent += served.wire->Take(clock.elapsed());
            while (!served.unsent.isEmpty()) {
                const ssize_t n = ::write(served.master, served.unsent.constData(), static_cast<size_t>(served.unsent.size()));
                if (n <= 0)
                    break;
                served.unsent.remove(0, static_cast<int>(n));
            }
            if (served.unsent.size() > 65536)
                served.unsent.clear();  // nobody reads: drop rather than grow
            const qint64 next = served.wire->NextOutputAt(clock.elapsed());
            if (next >= 0)
                sleep = std::min(sleep, std::max<qint64>(0, next - clock.elapsed()));
        }
        ::poll(fds.data(), static_cast<nfds_t>(fds.size()), static_cast<int>(sleep));
    }
}
