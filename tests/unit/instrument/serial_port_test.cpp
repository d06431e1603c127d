// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/serial_port.h"
#include "sim/virtual_clock.h"
#include "sim/sim_serial_device.h"
#include "support/qt_printers.h"
#include "support/scripted_wire.h"

#include <gtest/gtest.h>

namespace {

// One scripted instrument on COM3 unless a test attaches others.
struct PortFixture : ::testing::Test {
    PortFixture()
    {
        ports.Attach(3, wire);
        port.SelectPort(2);
    }
    void OpenConfigured()
    {
        ASSERT_TRUE(port.Open());
        port.Configure(TimeoutProfile::Standard, 115200, 8, 0, 0);
        wire->written.clear();
    }

    VirtualClock clock;
    SimPorts ports{clock};
    std::shared_ptr<ScriptedWire> wire = std::make_shared<ScriptedWire>();
    TSerialPort port{clock, ports.Factory()};
};

TEST_F(PortFixture, SelectPortNamesTheDeviceAndUsesTheNamespaceFormAboveNine)
{
    struct Case {
        int index;
        QString asked;
    };
    for (const Case& c : {Case{0, "COM1"}, Case{8, "COM9"}, Case{9, "\\\\.\\COM10"}, Case{39, "\\\\.\\COM40"}}) {
        ports.Attach(c.index + 1, std::make_shared<ScriptedWire>());
        port.SelectPort(c.index);
        ASSERT_TRUE(port.Open()) << c.index;
        EXPECT_EQ(ports.OpenRequests().last(), c.asked);
        EXPECT_EQ(port.PortName(), c.asked);
    }
}

TEST_F(PortFixture, SelectPortOutsideTheRangeKeepsTheNameButClosesThePort)
{
    port.SelectPort(4);
    port.SelectPort(40);
    EXPECT_EQ(port.PortName(), "COM5");
    port.SelectPort(-1);
    EXPECT_EQ(port.PortName(), "COM5");

    port.SelectPort(2);
    ASSERT_TRUE(port.Open());
    port.SelectPort(40);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(PortFixture, OpenFailsForAnAbsentPortAndForAPortInUse)
{
    port.SelectPort(5);
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(port.IsOpen());

    port.SelectPort(2);
    ASSERT_TRUE(port.Open());
    TSerialPort other(clock, ports.Factory());
    other.SelectPort(2);
    EXPECT_FALSE(other.Open());
    port.Close();
    EXPECT_TRUE(other.Open());
}

TEST_F(PortFixture, WriteLineCutsLongCommandsAndEndsWithCrOnly)
{
    OpenConfigured();
    QByteArray command(260, 'x');
    ASSERT_TRUE(port.WriteLine(command));
    EXPECT_EQ(command.size(), 252);
    EXPECT_EQ(wire->written, QByteArray(252, 'x') + '\r');
    EXPECT_EQ(port.BytesWritten(), 253u);

    wire->written.clear();
    ASSERT_TRUE(port.WriteLine(QByteArray()));
    EXPECT_EQ(wire->written, QByteArray("\r"));
}

TEST_F(PortFixture, ConfigureSendsStarCrInEveryCase)
{
    struct Case {
        bool unreadable;
        bool refused;
        bool result;
        bool timeoutsApplied;
    };
    for (const Case& c : {Case{false, false, true, true}, Case{false, true, true, false},
                          Case{true, false, false, false}}) {
        auto& state = ports.StateOf(3);
        state = SimSerialDevice::State{};
        state.settingsUnreadable = c.unreadable;
        state.settingsRefused = c.refused;
        state.timeouts = {1, 2, 3};
        ASSERT_TRUE(port.Open());
        wire->written.clear();
        EXPECT_EQ(port.Configure(TimeoutProfile::Short, 115200, 8, 0, 0), c.result);
        EXPECT_EQ(wire->written, QByteArray("*\r"));
        EXPECT_EQ(state.timeouts.constant == 200, c.timeoutsApplied);
        EXPECT_EQ(state.dtr && state.rts, c.timeoutsApplied);
        if (c.timeoutsApplied) {
            EXPECT_EQ(state.lineSettings.baudRate, 115200u);
            // Open purges transmit then receive; Configure does it again.
            EXPECT_EQ(state.purges, (QList<quint32>{4, 8, 4, 8}));
        }
        port.Close();
        EXPECT_FALSE(state.dtr || state.rts);
    }
}

TEST_F(PortFixture, ReceiveLineCleansAndLimitsTheLine)
{
    struct Case {
        QByteArray sent;
        QByteArray line;
        bool result;
        int leftWaiting;
    };
    const QByteArray longReply = QByteArray(300, 'a') + '\r';
    const QList<Case> cases{
        {"LV\t573\r", "LV 573", true, 0},
        {QByteArray("A\x01" "B\x7F" "C\0D\n", 8), "A B C D", true, 0},
        {"NA OM2000\r\n", "NA OM2000", true, 1},
        {longReply, QByteArray(255, 'a'), true, 300 - 256 + 1},
        {"\r", "", true, 0},
    };
    OpenConfigured();
    for (const Case& c : cases) {
        port.FlushInput();
        wire->Send(clock.ElapsedMs(), c.sent);
        QByteArray buffer("junk from before");
        EXPECT_EQ(port.ReceiveLine(buffer), c.result);
        EXPECT_EQ(buffer, c.line);
        EXPECT_EQ(wire->Waiting(clock.ElapsedMs()), c.leftWaiting) << c.sent.left(20).toStdString();
    }
}

TEST_F(PortFixture, ReceiveLineGivesUpAfterTwelveSilentReads)
{
    OpenConfigured();
    wire->Send(500, "partial");
    QByteArray buffer;
    EXPECT_FALSE(port.ReceiveLine(buffer));
    EXPECT_EQ(buffer, "partial");
    // 12 empty reads of 2 s each after the last byte.
    EXPECT_EQ(clock.ElapsedMs(), 500 + 12 * 2000);
}

TEST_F(PortFixture, ReadTimeoutsFollowTheProfile)
{
    struct Case {
        TimeoutProfile profile;
        int count;
        qint64 elapsed;  // including the block read's 100 ms pause
        QByteArray got;
    };
    // Two bytes at 100 ms, then one byte at 1000 ms (a 900 ms gap).
    for (const Case& c : {Case{TimeoutProfile::Standard, 10, 100, "ab"}, Case{TimeoutProfile::Short, 10, 100, "ab"},
                          Case{TimeoutProfile::Interval, 10, 800, "ab"}, Case{TimeoutProfile::Interval, 2, 100, "ab"}}) {
        ASSERT_TRUE(port.Open());
        port.Configure(c.profile, 115200, 8, 0, 0);
        EXPECT_EQ(ports.StateOf(3).timeouts.constant, TimeoutsOf(c.profile).constant);
        const qint64 start = clock.ElapsedMs();
        wire->Send(start + 100, "ab");
        wire->Send(start + 1000, "c");
        QByteArray buffer;
        EXPECT_EQ(port.ReadBlock(buffer, c.count), c.got.size());
        EXPECT_EQ(buffer, c.got);
        EXPECT_EQ(clock.ElapsedMs() - start, c.elapsed) << int(c.profile) << " " << c.count;
        clock.Sleep(2000);
        wire->DiscardDue(clock.ElapsedMs());
    }
    // With nothing at all: Short gives up after 200 ms, Standard after 2000 ms.
    for (auto [profile, wait] : {std::pair{TimeoutProfile::Short, 200}, std::pair{TimeoutProfile::Standard, 2000}}) {
        ASSERT_TRUE(port.Open());
        port.Configure(profile, 115200, 8, 0, 0);
        const qint64 start = clock.ElapsedMs();
        char byte = 0;
        EXPECT_FALSE(port.ReadOneByte(byte));
        EXPECT_EQ(clock.ElapsedMs() - start, wait);
    }
}

TEST_F(PortFixture, ReadBlockPausesThenTakesWhatHasArrived)
{
    OpenConfigured();
    const qint64 start = clock.ElapsedMs();
    wire->Send(start + 50, "FI=3\r");
    wire->Send(start + 400, "late");
    QByteArray buffer;
    EXPECT_EQ(port.ReadBlock(buffer, 10), 5);
    EXPECT_EQ(buffer, "FI=3\r");
    EXPECT_EQ(clock.ElapsedMs() - start, 100);
}

TEST_F(PortFixture, FlushInputDropsOnlyWhatIsAlreadyWaiting)
{
    OpenConfigured();
    wire->Send(clock.ElapsedMs(), "stale");
    wire->Send(clock.ElapsedMs() + 10, "\x11");
    port.FlushInput();
    EXPECT_TRUE(port.ReadByteIsXon());
    wire->Send(clock.ElapsedMs(), "x");
    EXPECT_FALSE(port.ReadByteIsXon());
}

TEST_F(PortFixture, AnUnpluggedDeviceFailsEveryReadAtOnce)
{
    OpenConfigured();
    wire->unplugged = true;
    QByteArray buffer;
    const qint64 start = clock.ElapsedMs();
    EXPECT_FALSE(port.ReceiveLine(buffer));
    EXPECT_EQ(clock.ElapsedMs(), start);
    EXPECT_FALSE(port.WriteLine(QByteArray("*?NA")));
}

}  // namespace
