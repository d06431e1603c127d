// SPDX-License-Identifier: GPL-3.0-or-later
#include "gps/gga_reader.h"
#include "gps/serial_gps.h"
#include "sim/virtual_clock.h"
#include "sim/gps_sim.h"
#include "sim/sim_options.h"
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

// The sentence as the parser sees it: checksum added, line end removed.
QByteArray Sentence(const QByteArray& body)
{
    QByteArray line = NmeaSentence(body);
    line.chop(2);
    return line;
}

// Every talker of today's receivers: "GP" GPS only, "GN" combined, "GL"
// GLONASS, "GA" Galileo, "GB" and "BD" BeiDou, "GQ" QZSS. The rules other
// than the name are the same for all of them.
TEST(GgaSentence, EveryTalkerGivesItsFixUnderTheSameRules)
{
    const GpsFix expected{"4807.038", "N", "01131.000", "E"};
    for (const QByteArray talker : {"GP", "GN", "GL", "GA", "GB", "BD", "GQ"}) {
        SCOPED_TRACE(talker.toStdString());
        const QByteArray tail = ",123519,4807.038,N,01131.000,E,%Q,08,0.9,545.4,M,46.9,M,,";
        const QByteArray withFix = Sentence(talker + "GGA" + QByteArray(tail).replace("%Q", "1"));
        const QByteArray dgps = Sentence(talker + "GGA" + QByteArray(tail).replace("%Q", "2"));
        const QByteArray noFix = Sentence(talker + "GGA" + QByteArray(tail).replace("%Q", "0"));
        QByteArray wrongSum = withFix;
        wrongSum[wrongSum.size() - 1] = wrongSum.back() == '0' ? '1' : '0';

        GpsFix fix;
        EXPECT_TRUE(ParseGgaFix(withFix, fix));
        EXPECT_EQ(fix, expected);
        fix = {};
        EXPECT_TRUE(ParseGgaFix(dgps, fix));
        EXPECT_EQ(fix, expected);
        EXPECT_FALSE(ParseGgaFix(noFix, fix));
        EXPECT_FALSE(ParseGgaFix(wrongSum, fix));
    }
}

// Shapes seen from multi-constellation receivers (positions and times are
// made up; checksums are the sentences' own).
TEST(GgaSentence, ReceiversOfTodayGiveTheTextsAsTheyStand)
{
    struct Case {
        const char* what;
        QByteArray line;
        bool valid;
        GpsFix fix;
    };
    const Case cases[] = {
        {"five decimals, an eleven-character longitude",
         "$GNGGA,093512.00,5130.12345,N,00007.54321,W,1,11,0.87,35.2,M,45.4,M,,*62", true,
         {"5130.12345", "N", "00007.54321", "W"}},
        {"millisecond time",
         "$GNGGA,101500.200,4023.45678,N,00342.12345,W,1,14,0.9,650.5,M,51.2,M,,*52", true,
         {"4023.45678", "N", "00342.12345", "W"}},
        {"BeiDou talker with a station number",
         "$BDGGA,031522.000,2232.5100,N,11403.8800,E,1,07,1.1,45.0,M,-2.1,M,,0000*60", true,
         {"2232.5100", "N", "11403.8800", "E"}},
        {"a field beyond the fourteenth stays inside the last one",
         "$GNGGA,031523.000,2232.5102,N,11403.8801,E,2,09,1.0,45.3,M,-2.1,M,,0000,1.8*69", true,
         {"2232.5102", "N", "11403.8801", "E"}},
        {"cold start, no position yet", "$GNGGA,031519.000,,,,,0,00,,,M,0.0,M,,0000,*6B", false, {}},
        {"the same with its checksum off by one",
         "$GNGGA,093512.00,5130.12345,N,00007.54321,W,1,11,0.87,35.2,M,45.4,M,,*63", false, {}},
    };
    for (const Case& c : cases) {
        GpsFix fix;
        EXPECT_EQ(ParseGgaFix(c.line, fix), c.valid) << c.what;
        if (c.valid) {
            EXPECT_EQ(fix, c.fix) << c.what;
        }
    }
}

TEST(GgaSentence, OnlyAGgaSentenceOfATwoLetterTalkerCounts)
{
    const QByteArray fields = ",123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
    const QByteArray refused[] = {
        // Other sentence types of the same receivers, checksums correct.
        "$GNRMC,093512.00,A,5130.12345,N,00007.54321,W,0.021,,101226,,,A*75",
        "$GNGSA,A,3,05,13,15,18,20,24,29,,,,,,1.52,0.87,1.25*16",
        "$GPGSV,3,1,11,05,34,068,31,13,27,291,22,15,61,198,38,18,12,042,17*7A",
        "$GNVTG,,T,,M,0.021,N,0.039,K,A*34",
        "$GNGLL,5130.12345,N,00007.54321,W,093512.00,A,A*69",
        // Names that only resemble a GGA one.
        Sentence("GNGGAX" + fields),
        Sentence("GGA" + fields),
        Sentence("NGGA" + fields),
        Sentence("XGNGGA" + fields),
        Sentence("gnGGA" + fields),
        Sentence("G1GGA" + fields),
        Sentence("GNgga" + fields),
        "!" + Sentence("GNGGA" + fields).mid(1),
    };
    for (const QByteArray& line : refused) {
        GpsFix fix;
        EXPECT_FALSE(ParseGgaFix(line, fix)) << line.toStdString();
    }
}

TEST(GgaSentence, NinetyNineCharactersAtMost)
{
    // The station number is padded until the whole line has the wanted length.
    const auto ofLength = [](int length) {
        const QByteArray head = "GNGGA,093512.00,5130.12345,N,00007.54321,W,1,11,0.87,35.2,M,45.4,M,,";
        return Sentence(head + QByteArray(length - 4 - head.size(), '7'));
    };
    GpsFix fix;
    ASSERT_EQ(ofLength(99).size(), 99);
    EXPECT_TRUE(ParseGgaFix(ofLength(99), fix));
    EXPECT_EQ(fix, (GpsFix{"5130.12345", "N", "00007.54321", "W"}));
    ASSERT_EQ(ofLength(100).size(), 100);
    EXPECT_FALSE(ParseGgaFix(ofLength(100), fix));
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

// One second of a combined receiver at 9600 bit/s: its GGA sentence sits
// between satellite, course and minimum-data sentences of several talkers.
TEST_F(GpsPort, ACombinedReceiverIsReadBetweenItsOtherSentences)
{
    auto wire = std::make_shared<ScriptedWire>();
    ports.Attach(3, wire);
    TSerialGPS other(clock, ports.Factory());
    other.SelectPort(2);
    ASSERT_TRUE(other.Open());
    const QByteArray second = "$GLGSV,2,1,07,66,37,078,27,67,62,349,26,68,20,296,25,75,04,018,*6E\r\n"
                              "$GNGLL,5130.12345,N,00007.54321,W,093512.00,A,A*69\r\n"
                              "$GNRMC,093512.00,A,5130.12345,N,00007.54321,W,0.021,,101226,,,A*75\r\n"
                              "$GNVTG,,T,,M,0.021,N,0.039,K,A*34\r\n"
                              "$GNGGA,093512.00,5130.12345,N,00007.54321,W,1,11,0.87,35.2,M,45.4,M,,*62\r\n"
                              "$GNGSA,A,3,05,13,15,18,20,24,29,,,,,,1.52,0.87,1.25*16\r\n"
                              "$GPGSV,3,1,11,05,34,068,31,13,27,291,22,15,61,198,38,18,12,042,17*7A\r\n";
    const qint64 start = clock.ElapsedMs();
    for (int s = 0; s < 3; ++s)
        wire->Send(start + 100 + 1000 * s, second, 10000.0 / 9600);
    GpsFix fix;
    int attempts = 0;
    bool valid = false;
    while (!valid && attempts < kGpsReadAttempts) {
        ++attempts;
        valid = ReadGpsFix(other, fix);
    }
    ASSERT_TRUE(valid);
    EXPECT_GT(attempts, 1) << "the first line read is not the GGA sentence";
    EXPECT_EQ(fix, (GpsFix{"5130.12345", "N", "00007.54321", "W"}));
}

TEST_F(GpsPort, TheSimulatedReceiverSpeaksForEitherTalker)
{
    for (const QByteArray talker : {"GP", "GN"}) {
        receiver->talker = talker;
        EXPECT_TRUE(receiver->GgaBody(0).startsWith(talker + "GGA,"));
        GpsFix fix;
        bool valid = false;
        for (int attempt = 0; attempt < 4 && !valid; ++attempt)
            valid = ReadGpsFix(port, fix);
        EXPECT_TRUE(valid) << talker.toStdString();
        EXPECT_EQ(fix, (GpsFix{"4807.038", "N", "01131.000", "E"}));
    }
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

// The receiver's adaptor pulled out: reads fail at once (no 24-second
// silences), the device is reported gone, and the first read after it is back
// under the same COM name opens and configures it again.
TEST_F(GpsPort, AReceiverPulledOutIsOpenedAgainWhenItIsBack)
{
    GpsFix fix;
    receiver->unplugged = true;
    const qint64 before = clock.ElapsedMs();
    for (int attempt = 0; attempt < kGpsReadAttempts; ++attempt)
        EXPECT_FALSE(ReadGpsFix(port, fix));
    EXPECT_TRUE(port.DeviceGone());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_LT(clock.ElapsedMs() - before, 2000) << "a missing device costs no time-outs";

    receiver->unplugged = false;
    receiver->written.clear();
    bool valid = false;
    for (int attempt = 0; attempt < 4 && !valid; ++attempt)
        valid = ReadGpsFix(port, fix);
    EXPECT_TRUE(valid);
    EXPECT_FALSE(port.DeviceGone());
    EXPECT_EQ(port.PortName(), "COM9");
    EXPECT_EQ(receiver->written, "*\r") << "configured again";
    EXPECT_EQ(ports.StateOf(9).lineSettings.baudRate, 4800u);
}

TEST(SimulatedGpsOptions, TalkerAndPositionAreCheckedBeforeUse)
{
    struct Case {
        QString talker;
        QString position;
        bool valid;
    };
    const Case cases[] = {
        {"GP", "4807.038,N,01131.000,E", true},
        {"GN", "5130.12345,S,00007.54321,W", true},
        {"GL", "4807.038,N,01131.000,E", false},
        {"gn", "4807.038,N,01131.000,E", false},
        {"GN", "4807.038,X,01131.000,E", false},
        {"GN", "4807.038,N,1131.000,E", false},   // longitude needs three degree digits
        {"GN", "4807.038,N,01131.000", false},
        {"GN", "4807,N,01131.000,E", false},
    };
    for (const Case& c : cases) {
        SimGpsReceiver receiver;
        QString error;
        const bool ok = ParseGpsTalker(c.talker, receiver, &error) && ParseGpsPosition(c.position, receiver, &error);
        EXPECT_EQ(ok, c.valid) << c.talker.toStdString() << " " << c.position.toStdString();
        EXPECT_EQ(error.isEmpty(), c.valid);
        if (c.valid) {
            // The sentence carries the position as given, after the time.
            const QByteArray head = c.talker.toLatin1() + "GGA,000000," + c.position.toLatin1() + ",1,";
            EXPECT_EQ(receiver.GgaBody(0).left(head.size()), head);
        }
    }
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
