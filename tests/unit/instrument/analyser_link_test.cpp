// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/analyser_link.h"
#include "sim/virtual_clock.h"
#include "sim/sim_serial_device.h"
#include "support/qt_printers.h"
#include "support/scripted_wire.h"
#include "support/sim_fixture.h"

#include <gtest/gtest.h>

namespace {

TEST(AnalyserLink, SendCommandRunsTheHandshakeAndTheAnalyserTakesTheSetting)
{
    SimFixture f;
    ASSERT_TRUE(f.opened);
    ASSERT_TRUE(f.link.SendCommand("*SA9"));
    ASSERT_TRUE(f.link.SendCommand("*FR0522000"));
    EXPECT_EQ(f.analyser->StandardCode(), 9);
    EXPECT_EQ(f.analyser->FrequencyKHz(), 522000);
    EXPECT_EQ(f.analyser->ReceivedCommands(), (QStringList{"*SA9", "*FR0522000"}));
    EXPECT_FALSE(f.link.SendCommand("*XX1")) << "an unknown command is refused";
}

TEST(AnalyserLink, FaultsDecideTheHandshake)
{
    struct Case {
        const char* name;
        void (*apply)(SimFaults&);
        bool accepted;
        qint64 maxElapsedMs;
    };
    const Case cases[] = {
        {"refusal after XOFF", [](SimFaults& x) { x.refuse = true; }, false, 1000},
        {"noise before XON", [](SimFaults& x) { x.noiseBeforeXon = 6; }, true, 1000},
        {"no XON", [](SimFaults& x) { x.noXon = true; }, false, 12 * 2000 + 100},
        {"silent", [](SimFaults& x) { x.silent = true; }, false, 12 * 2000 + 100},
    };
    for (const Case& c : cases) {
        SimFixture f;
        f.clock.Sleep(1000);  // stale XONs waiting are discarded by a purge …
        f.port().FlushInput();
        c.apply(f.analyser->faults);
        f.clock.Sleep(200);   // … and the fault shows on the next idle spell
        const qint64 start = f.clock.ElapsedMs();
        EXPECT_EQ(f.link.SendCommand("*SA2"), c.accepted) << c.name;
        EXPECT_LE(f.clock.ElapsedMs() - start, c.maxElapsedMs) << c.name;
    }
}

TEST(AnalyserLink, WaitForByteDiscardsStrayBytesExceptWhileAwaitingAck)
{
    VirtualClock clock;
    SimPorts ports(clock);
    auto wire = std::make_shared<ScriptedWire>();
    ports.Attach(1, wire);
    int modelCode = -1;
    AnalyserLink link(clock, ports.Factory(), modelCode);
    EXPECT_FALSE(link.WaitForByte(0x11)) << "closed port";
    link.Port().SelectPort(0);
    ASSERT_TRUE(link.Port().Open());

    wire->Send(10, "\n\x06garbage\x11");
    EXPECT_TRUE(link.WaitForByte(0x11));
    wire->Send(20, "x\x06");
    EXPECT_FALSE(link.WaitForByte(0x06)) << "the first byte decides while ACK is awaited";

    // Under the short profile more than 10 other bytes end an XON wait.
    link.Port().Configure(TimeoutProfile::Short, 115200, 8, 0, 0);
    wire->Send(clock.ElapsedMs(), QByteArray(11, 'n') + '\x11');
    EXPECT_FALSE(link.WaitForByte(0x11));
    wire->Send(clock.ElapsedMs(), QByteArray(10, 'n') + '\x11');
    EXPECT_TRUE(link.WaitForByte(0x11));
}

TEST(AnalyserLink, QueryCodeReadsHexAndTheShortReplyQuirk)
{
    struct Case {
        QByteArray query;
        QByteArray reply;  // raw bytes after ACK; empty: none
        int code;
    };
    const Case cases[] = {
        {"*?SA", "SA A\r", 10},
        {"*?SY", "SY 24\r", 0x24},
        {"*?ST", "ST 0x9\r", 9},
        {"*?ST", "ST zz\r", 0},
        {"*?SA", "\r", 10},       // empty line: the query's 4th character, A
        {"*?SA", "S\r", 10},      // one character
        {"*?SA", "SA\r", 10},     // two characters
        {"*?SA", "SAX\r", 0},     // exactly three: nothing left to read
        {"*?ST", "", 0},          // no reply: T is no hexadecimal digit
        {"*?SA", "", 10},
    };
    for (const Case& c : cases) {
        VirtualClock clock;
        SimPorts ports(clock);
        auto wire = std::make_shared<ScriptedWire>();
        wire->handshake = true;
        wire->replies = {c.reply};
        wire->Send(0, "\x11");
        ports.Attach(1, wire);
        int modelCode = -1;
        AnalyserLink link(clock, ports.Factory(), modelCode);
        link.Port().SelectPort(0);
        ASSERT_TRUE(link.Port().Open());
        wire->Send(1, "\x11");
        EXPECT_EQ(link.QueryCode(c.query), c.code) << c.query.constData() << " / " << c.reply.constData();
    }
}

TEST(AnalyserLink, QueryPausesThenReadsTheReplyLine)
{
    SimFixture f;
    f.analyser->SetChannel(522000, {57.3});
    f.analyser->SetFrequencyKHz(522000);
    f.analyser->faults.crlf = true;
    QByteArray buffer("*?SA");
    const qint64 start = f.clock.ElapsedMs();
    ASSERT_TRUE(f.link.Query(buffer));
    EXPECT_GE(f.clock.ElapsedMs() - start, 100);
    EXPECT_EQ(buffer, "SA 1");
    // The LF left by the CR LF reply is discarded by the next command's XON wait.
    buffer = "*?NA";
    ASSERT_TRUE(f.link.Query(buffer));
    EXPECT_EQ(buffer, "NA ORBIMETER HD+");

    f.analyser->faults.replyDelayMs = 3000;
    buffer = "*?LV";
    ASSERT_TRUE(f.link.Query(buffer)) << "a slow reply still arrives within the line's 12 reads";
    EXPECT_EQ(buffer.left(5), "LV = ");
    EXPECT_NEAR(buffer.mid(5).toInt(), 573, 3);

    f.analyser->faults.refuse = true;
    buffer = "*?LV";
    EXPECT_FALSE(f.link.Query(buffer));
    EXPECT_EQ(buffer, "*?LV") << "a failed command leaves the query in the buffer";
}

TEST(AnalyserLink, IdentifyAnalyserMatchesTheModelTableExactly)
{
    struct Case {
        QString reply;
        int code;
        std::optional<ModelFamily> family;
    };
    const Case cases[] = {
        {"ORBIMETER II", 0, ModelFamily::DVB},
        {"US ORBIMETER II", 4, ModelFamily::ATSC},
        {"OM2000HD ATCi", 10, ModelFamily::ATSC},
        {"ORBIMETER HD ISDB-T", 11, ModelFamily::ISDBT},
        {"ORBIMETER HD DTMB", 12, ModelFamily::DTMB},
        {"orbimeter hd+", -1, std::nullopt},
        {"ORBIMETER HD+ ", -1, std::nullopt},
        {"", -1, std::nullopt},
    };
    for (const Case& c : cases) {
        SimFixture f(1, true, std::make_shared<SimAnalyser>(c.reply));
        f.modelCode = 8;
        std::optional<ModelFamily> selected;
        f.link.selectFamily = [&](ModelFamily family) {
            selected = family;
            f.modelCode = RepresentativeModelCode(family);
        };
        QByteArray buffer("*?NA");
        EXPECT_EQ(f.link.IdentifyAnalyser(buffer), c.code >= 0) << c.reply.toStdString();
        EXPECT_EQ(f.modelCode, c.code) << c.reply.toStdString();
        EXPECT_EQ(selected, c.family) << c.reply.toStdString();
        EXPECT_EQ(buffer, c.reply.toLatin1()) << "the model name stays in the buffer";
    }
}

TEST(AnalyserLink, SendAndReadBlockReadsTheExplorationCountAndBlock)
{
    SimFixture f;
    QByteArray buffer;
    ASSERT_GE(f.link.SendAndReadBlock("*?FI02", buffer, 10), 5);
    EXPECT_TRUE(buffer.startsWith("FI=2\r"));
    ASSERT_GT(f.link.SendAndReadBlock("*?FI0200", buffer, 30), 13);
    EXPECT_EQ(buffer.mid(13, 6), "CITY-U");

    f.port().FlushInput();
    ASSERT_GT(f.link.SendAndReadBlock("*?FL02CITY-UHF", buffer, 11), 3);
    const int length = ReadHexAfter(buffer.left(buffer.indexOf('\r')), 3);
    EXPECT_EQ(length, EncodeExplorationBlock(DefaultExplorations("02").first().channels).size());
    f.port().FlushInput();
    EXPECT_EQ(f.link.SendAndReadBlock("*?FL02CITY-UHF", buffer, length), length);
    EXPECT_EQ(static_cast<quint8>(buffer[11]), 4) << "four channels";

    f.analyser->faults.refuse = true;
    f.clock.Sleep(500);
    EXPECT_EQ(f.link.SendAndReadBlock("*?FI02", buffer, 10), 0);
}

TEST(AnalyserLink, WindowEventsRunWhileALongWaitGoesOn)
{
    SimFixture f;
    f.analyser->faults.replyDelayMs = 5000;
    bool stopPressed = false;
    f.clock.At(2300, [&] { stopPressed = true; });
    QByteArray buffer("*?NA");
    ASSERT_TRUE(f.link.Query(buffer));
    EXPECT_TRUE(stopPressed);
    EXPECT_EQ(buffer, "NA ORBIMETER HD+");
}

}  // namespace
