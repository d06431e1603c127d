// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/posix_serial_device.h"
#include "instrument/serial_port.h"
#include "platform/event_pump.h"
#include "sim/analyser_sim.h"
#include "sim/pty_server.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

#include <thread>

namespace {

// The simulator links its ptys into ports/ of a program folder, where the
// user's own links to real adaptors live too: it never takes one of those over.
TEST(PtyServer, LinksItsPtyButNeverReplacesTheUsersOwnPort)
{
    TempProgramFolder folder;
    QDir().mkpath(folder.File("ports"));
    const QString users = folder.File("ports/COM3");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/ttyUSB0"), users));
    const QString stale = folder.File("ports/COM4");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/pts/999"), stale));  // left by a killed simulator

    {
        PtyServer server;
        QString error;
        EXPECT_FALSE(server.Add(std::make_shared<SimAnalyser>(), users, &error));
        EXPECT_FALSE(error.isEmpty());
        ASSERT_TRUE(server.Add(std::make_shared<SimAnalyser>(), stale, &error)) << error.toStdString();
        EXPECT_EQ(QFileInfo(stale).symLinkTarget(), server.DeviceNames().value(0));
    }
    EXPECT_EQ(QFileInfo(users).symLinkTarget(), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_FALSE(QFileInfo(stale).isSymLink()) << "the simulator's own link goes with it";
}

// A served analyser in a thread of its own, its cables pulled and plugged
// back in on request or on the server's clock.
struct ServedCable {
    explicit ServedCable(const QString& link, PtyServer::Plugging plugging = {}) : link(link)
    {
        EXPECT_TRUE(server.Add(std::make_shared<SimAnalyser>(), link));
        plugging.request = &request;
        thread = std::thread([this, plugging] { server.Run(stop, plugging); });
    }
    ~ServedCable()
    {
        stop = true;
        thread.join();
    }
    // Waits (real time: the server runs on the real clock) until the link is
    // there or gone.
    bool WaitLinked(bool linked) const
    {
        QElapsedTimer timer;
        timer.start();
        while (QFileInfo::exists(link) != linked && timer.elapsed() < 5000)
            QThread::msleep(10);
        return QFileInfo::exists(link) == linked;
    }

    QString link;
    PtyServer server;
    std::atomic<bool> stop{false};
    std::atomic<int> request{PtyServer::Plugging::kNone};
    std::thread thread;
};

// The station's side of a pulled cable: its device reports the hang-up (a
// failed read, not an endless run of empty ones) and the port is closed; the
// same COM name opens the new pty once the cable is back.
TEST(PtyServer, APulledCableIsGoneAndTheSameNameWorksOncePluggedBack)
{
    TempProgramFolder folder;
    const QString link = folder.File("ports/COM7");
    ServedCable cable(link);
    QtEventPump pump;
    TSerialPort port(pump, [&pump, &link](const QString&) -> std::unique_ptr<SerialDevice> {
        return PosixSerialDevice::OpenPath(QFileInfo(link).symLinkTarget(), pump);
    });
    port.SelectPort(6);
    ASSERT_TRUE(port.Open());
    port.Configure(TimeoutProfile::Standard, 115200, 8, 0, 0);
    port.SettleAfterConfigure();
    EXPECT_TRUE(port.ReadByteIsXon());

    cable.request = PtyServer::Plugging::kPull;
    ASSERT_TRUE(cable.WaitLinked(false));
    QElapsedTimer timer;
    timer.start();
    char byte = 0;
    EXPECT_FALSE(port.ReadOneByte(byte));
    EXPECT_TRUE(port.DeviceGone());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_LT(timer.elapsed(), 1500) << "a hang-up is not waited out like a silence";
    EXPECT_FALSE(port.Reopen()) << "nothing behind the name yet";

    cable.request = PtyServer::Plugging::kPlugBack;
    ASSERT_TRUE(cable.WaitLinked(true));
    ASSERT_TRUE(port.Reopen());
    EXPECT_FALSE(port.DeviceGone());
    bool xon = false;
    for (int attempt = 0; attempt < 4 && !xon; ++attempt)
        xon = port.ReadByteIsXon();
    EXPECT_TRUE(xon) << "the analyser answers on the new pty";
}

TEST(PtyServer, TheClockPullsAndPlugsBackInOnce)
{
    TempProgramFolder folder;
    const QString link = folder.File("ports/COM8");
    PtyServer::Plugging plugging;
    plugging.unplugAfterMs = 100;
    plugging.replugAfterMs = 400;
    ServedCable cable(link, plugging);
    const QString before = QFileInfo(link).symLinkTarget();
    EXPECT_TRUE(cable.WaitLinked(false));
    EXPECT_TRUE(cable.WaitLinked(true));
    QThread::msleep(300);
    EXPECT_TRUE(QFileInfo::exists(link)) << "plugged back in for good";
    EXPECT_FALSE(before.isEmpty());
}

}  // namespace
