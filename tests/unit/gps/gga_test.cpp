// SPDX-License-Identifier: GPL-3.0-or-later
#include "gps/gga_reader.h"
#include "gps/serial_gps.h"
#include "sim/virtual_clock.h"
#include "sim/gps_sim.h"
#include "sim/sim_serial_device.h"
#include "support/qt_printers.h"
#include "support/scripted_wire.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kExample = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";

TEST(GgaSentence, ChecksAndCutsTheSentence)
{
    struct Case {
        QByteArray line;
        bool valid;
    };
    QByteArray noFix = NmeaSentence("GPGGA,123519,4807.038,N,01131.000,E,0,08,0.9,545.4,M,46.9,M,,");
    noFix.chop(2);
    QByteArray lower = NmeaSentence("GPGGA,123520,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", true);
    lower.chop(2);
    QByteArray emptyQuality = NmeaSentence("GPGGA,123519,4807.038,N,01131.000,E,,08,0.9,545.4,M,46.9,M,,");
    emptyQuality.chop(2);
    QByteArray rmc = NmeaSentence("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
    rmc.chop(2);
    const Case cases[] = {
        {kExample, true},
        {lower, true},
        {noFix, false},
        {emptyQuality, false},
        {QByteArray(kExample).replace("*47", "*48"), false},
        {rmc, false},
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08", false},           // ends before its fields
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", false},  // no '*'
        {"$GPGGA", false},
        {"", false},
        {"GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", false},
    };
    for (const Case& c : cases) {
        GpsFix fix;
        EXPECT_EQ(ParseGgaFix(c.line, fix), c.valid) << c.line.toStdString();
        if (c.valid) {
            EXPECT_EQ(fix, (GpsFix{"4807.038", "N", "01131.000", "E"}));
        }
    }
    // A sentence whose fields run past the 100th character is refused, not overrun.
    GpsFix fix;
    EXPECT_FALSE(ParseGgaFix("$GPGGA," + QByteArray(120, '1') + ",N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", fix));
}

struct GpsPort : ::testing::Test {
    GpsPort()
    {
        ports.Attach(9, receiver);
        port.SelectPort(8);
        EXPECT_TRUE(port.Open());
        port.Configure(TimeoutProfile::Standard, 4800, 8, 0, 0);
    }
    VirtualClock clock;
    SimPorts ports{clock};
    std::shared_ptr<SimGpsReceiver> receiver = std::make_shared<SimGpsReceiver>();
    TSerialGPS port{clock, ports.Factory()};
};

TEST_F(GpsPort, ReadsAFixFromTheReceiverSkippingOtherSentences)
{
    EXPECT_EQ(receiver->written, "*\r");
    EXPECT_EQ(port.PortName(), "COM9");
    GpsFix fix;
    // The first line after the flush may be a tail or an RMC sentence; a few tries find the GGA.
    bool valid = false;
    for (int attempt = 0; attempt < 4 && !valid; ++attempt)
        valid = ReadGpsFix(port, fix);
    ASSERT_TRUE(valid);
    EXPECT_EQ(fix, (GpsFix{"4807.038", "N", "01131.000", "E"}));

    receiver->mode = SimGpsReceiver::Mode::BadChecksum;
    for (int attempt = 0; attempt < 4; ++attempt)
        EXPECT_FALSE(ReadGpsFix(port, fix));
}

TEST_F(GpsPort, LinesEndAtLfAndOverLongLinesAreRefused)
{
    auto wire = std::make_shared<ScriptedWire>();
    ports.Attach(2, wire);
    TSerialGPS other(clock, ports.Factory());
    other.SelectPort(1);
    ASSERT_TRUE(other.Open());
    wire->Send(clock.ElapsedMs(), "ab\tc\rxyz\nnext");
    QByteArray line;
    bool overLong = true;
    EXPECT_TRUE(other.ReceiveLine(line, &overLong));
    EXPECT_EQ(line, "ab c");
    EXPECT_FALSE(overLong);

    wire->Send(clock.ElapsedMs(), QByteArray(150, 'x') + kExample + "\r\n");
    EXPECT_TRUE(other.ReceiveLine(line, &overLong));
    EXPECT_TRUE(overLong);
    EXPECT_EQ(line.size(), 99);
    wire->Send(clock.ElapsedMs(), QByteArray(150, 'x') + kExample + "\r\n");
    GpsFix fix;
    other.FlushInput();
    wire->Send(clock.ElapsedMs() + 1, QByteArray(150, 'x') + kExample + "\r\n");
    EXPECT_FALSE(ReadGpsFix(other, fix));
}

struct ScriptedReader final : GpsReader {
    bool ReceptionEnabled() const override { return enabled; }
    bool ReadGpsFix(GpsFix& fix) override
    {
        ++reads;
        if (reads < succeedOn)
            return false;
        fix = {"1", "N", "2", "W"};
        return true;
    }
    bool enabled = true;
    int succeedOn = 1000;
    int reads = 0;
};

TEST(GpsPosition, TheRunTriesTwentyTimesThenWritesDashes)
{
    ScriptedReader off;
    off.enabled = false;
    EXPECT_FALSE(ReadPositionForMeasurement(off).has_value());
    EXPECT_EQ(off.reads, 0);

    ScriptedReader failing;
    EXPECT_EQ(ReadPositionForMeasurement(failing), (GpsFix{"--", "--", "--", "--"}));
    EXPECT_EQ(failing.reads, 20);

    ScriptedReader late;
    late.succeedOn = 20;
    EXPECT_EQ(ReadPositionForMeasurement(late), (GpsFix{"1", "N", "2", "W"}));
}

}  // namespace
