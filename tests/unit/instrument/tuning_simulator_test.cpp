// SPDX-License-Identifier: GPL-3.0-or-later
// Tuning and readout through the real analyser link, talking the byte
// handshake to the simulated analyser on the virtual clock.
#include "instrument/measurement_readout.h"
#include "instrument/tuners.h"
#include "support/sim_fixture.h"

#include <gtest/gtest.h>

namespace {

class SimTuning : public ::testing::Test {
protected:
    SimFixture f;
    LinkCommands<AnalyserLink> commands{f.link};
    bool stop = false;
    InstrumentSession session{commands, f.clock, [this] { return stop; }};

    void SetUp() override { ASSERT_TRUE(f.opened); }

    static TestPoint Point(const char* type, const char* band, const char* mhz)
    {
        TestPoint tp;
        tp.type = QString::fromLatin1(type);
        tp.band = QString::fromLatin1(band);
        tp.freq = QString::fromLatin1(mhz);
        tp.bw = QStringLiteral("8");
        tp.guardInterval = QStringLiteral("1/8");
        tp.invSpectral = QStringLiteral("OFF");
        tp.carrier = QStringLiteral("8K");
        tp.layer = QStringLiteral("A");
        tp.symbolRate = QStringLiteral("27500");
        tp.modulation = QStringLiteral("QPSK");
        tp.codeRate = QStringLiteral("3/4");
        tp.lnb = QStringLiteral("13v");
        return tp;
    }

    // Setting commands only: the questions are the link's business.
    QStringList Settings() const
    {
        QStringList settings;
        for (const QString& line : f.analyser->ReceivedCommands())
            if (!line.startsWith(QLatin1String("*?")))
                settings << line;
        return settings;
    }
};

TEST_F(SimTuning, PreTuneAtTheBandBorders)
{
    const struct {
        const char* band;
        const char* mhz;
        QStringList frequencies;
    } cases[] = {
        {"TER", "962", {"*FR0500000", "*FR0962000"}},
        {"TER", "949.9", {"*FR0949900"}},
        {"SAT", "1000", {"*FR1500000", "*FR1000000"}},
        {"SAT", "1000.1", {"*FR1000100"}},
    };
    for (const auto& c : cases) {
        f.analyser->ClearReceivedCommands();
        const TestPoint tp = Point("DTMB", c.band, c.mhz);
        TuneFrequency(session, tp, tp.FreqKHz());
        EXPECT_EQ(Settings(), c.frequencies) << c.band << " " << c.mhz;
        EXPECT_EQ(f.analyser->FrequencyKHz(), qint64(tp.FreqKHz())) << c.mhz;
    }
}

TEST_F(SimTuning, DvbThLockedRightAfterTheSelectionGetsNoParameter)
{
    f.analyser->SetStandardCode(3);
    f.analyser->SetSettlingMs(0);
    TuneDvbTH(session, Point("DVB-T/H", "TER", "474"));
    EXPECT_EQ(Settings(), QStringList{"*SA1"});
}

TEST_F(SimTuning, DvbThNotLockedGetsEveryParameter)
{
    f.analyser->SetStandardCode(3);
    f.analyser->SetSettlingMs(60000);
    TuneDvbTH(session, Point("DVB-T/H", "TER", "474"));
    EXPECT_EQ(Settings(), (QStringList{"*SA1", "*GI1", "*BW08000", "*SI0", "*MO1"}));
    EXPECT_EQ(f.analyser->StandardCode(), 1);
    EXPECT_EQ(f.analyser->Parameter("MO"), "1");
}

TEST_F(SimTuning, IsdbtWithoutLockAfterSixSecondsGetsNoLayer)
{
    f.analyser->SetSettlingMs(60000);
    TuneIsdbT(session, Point("ISDB-T", "TER", "521"));
    EXPECT_FALSE(Settings().contains("*LYA"));
    EXPECT_EQ(f.analyser->StandardCode(), 0xA);

    f.analyser->ClearReceivedCommands();
    f.analyser->SetSettlingMs(5000);
    TuneIsdbT(session, Point("ISDB-T", "TER", "521"));
    EXPECT_EQ(Settings(), (QStringList{"*GI1", "*MO1", "*SI0", "*LYA"}));
}

TEST_F(SimTuning, DvbS2CodeRateNineTenthsIsTwelve)
{
    f.analyser->SetSettlingMs(60000);
    TestPoint tp = Point("DVB-S2", "SAT", "1750");
    tp.codeRate = QStringLiteral("9/10");
    TuneDvbS2(session, tp);
    EXPECT_TRUE(Settings().contains("*CR012"));
    EXPECT_EQ(f.analyser->Parameter("CR"), "012");
}

TEST_F(SimTuning, NtscMAlreadySetGetsNoSystemCommand)
{
    f.analyser->SetStandardCode(0);
    f.analyser->SetColourSystem(0x24);
    TuneAnalog(session, Point("Analog", "TER", "175.25"), QStringLiteral("NTSC M"), 175250.0f);
    EXPECT_TRUE(Settings().isEmpty());

    f.analyser->SetColourSystem(0x01);
    TuneAnalog(session, Point("Analog", "TER", "175.25"), QStringLiteral("NTSC M"), 175250.0f);
    EXPECT_EQ(Settings(), QStringList{"*SY24"});
    EXPECT_EQ(f.analyser->ColourSystem(), 0x24);
}

TEST_F(SimTuning, SatelliteAnalogueWithEmptyBandwidthSendsThirtyNineMegahertz)
{
    f.analyser->SetStandardCode(0);
    TestPoint tp = Point("Analog", "SAT", "1200");
    tp.bw = QString();
    TuneAnalog(session, tp, QStringLiteral("Pal BG"), tp.FreqKHz());
    EXPECT_EQ(Settings(), (QStringList{"*LB2", "*BW39000"}));
}

TEST_F(SimTuning, FmIsNeverSwitchedToTheTelevisionStandard)
{
    for (int standard : {0, 1, 7}) {
        f.analyser->ClearReceivedCommands();
        f.analyser->SetStandardCode(standard);
        TestPoint tp = Point("Analog", "TER", "98.5");
        tp.system = QStringLiteral("FM");
        TuneAnalog(session, tp, tp.system, tp.FreqKHz());
        EXPECT_FALSE(Settings().contains("*SA0")) << standard;
        EXPECT_EQ(f.analyser->StandardCode(), 8) << standard;
    }
}

TEST_F(SimTuning, EveryStandardTunesAndReadsThroughTheLink)
{
    const struct {
        const char* type;
        const char* band;
        const char* mhz;
        int standard;
        QStringList fields;
    } cases[] = {
        {"DVB-T/H", "TER", "474", 1, {"LEVEL", "C/N", "MER", "CBER", "VBER"}},
        {"DVB-T2", "TER", "482", 9, {"LEVEL", "C/N", "MER", "CBER", "LBER"}},
        {"8-VSB", "TER", "503", 5, {"LEVEL", "C/N", "MER", "CBER", "VBER"}},
        {"ISDB-T", "TER", "521", 0xA, {"LEVEL", "C/N", "MER", "CBER", "VBER"}},
        {"DVB-C", "TER", "306", 2, {"LEVEL", "C/N", "MER", "VBER"}},
        {"J-83", "TER", "333", 6, {"LEVEL", "C/N", "MER", "VBER"}},
        {"DTMB", "TER", "530", 0xB, {"LEVEL", "C/N", "MER", "LBER"}},
        {"DVB-S", "SAT", "1100", 3, {"LEVEL", "C/N", "MER", "CBER", "VBER"}},
        {"DVB-S2", "SAT", "1750", 7, {"LEVEL", "C/N", "MER", "CBER", "LBER"}},
        {"DSS", "SAT", "1300", 4, {"LEVEL", "C/N", "MER", "CBER", "VBER"}},
        {"Analog", "TER", "175.25", 0, {"LEVEL", "C/N", "V/A", "DESV FM"}},
    };
    for (const auto& c : cases) {
        TestPoint tp = Point(c.type, c.band, c.mhz);
        tp.modulation = c.standard == 7 ? QStringLiteral("8PSK") : QStringLiteral("64QAM");
        tp.system = QStringLiteral("Pal BG");
        ASSERT_TRUE(TuneTestPoint(session, tp)) << c.type;
        EXPECT_EQ(f.analyser->StandardCode(), c.standard) << c.type;
        EXPECT_EQ(f.analyser->FrequencyKHz(), qint64(tp.FreqKHz())) << c.type;

        MeasurementValues values;
        ReadMeasurements(session, tp, true, values);
        QStringList fields;
        for (const auto& entry : values.Entries())
            fields << entry.field;
        EXPECT_EQ(fields, c.fields) << c.type;
        // A locked analyser answers every query: no field fell back to "0".
        EXPECT_GT(values.Number("LEVEL").value_or(0), 0.0) << c.type;
        for (const char* ber : {"CBER", "VBER", "LBER"}) {
            if (auto text = values.Text(ber)) {
                EXPECT_TRUE(text->contains('E') && text->contains('.'))
                    << c.type << " " << ber << " " << text->toStdString();
            }
        }
    }
}

TEST_F(SimTuning, LevelReplyIsStoredInTenthsAndFeedsTheDeriverFirst)
{
    f.analyser->SetSettlingMs(0);
    f.analyser->SetChannel(474000, SimChannel{57.3});
    TestPoint tp = Point("DVB-T/H", "TER", "474");
    ASSERT_TRUE(TuneTestPoint(session, tp));

    double derived = -1;
    MeasurementValues values;
    ReadMeasurements(session, tp, false, values, [&](Quantity q, double v) {
        if (q == Quantity::Level)
            derived = v;
    });
    const double level = values.Number("LEVEL").value_or(-1);
    EXPECT_NEAR(level, 57.3, 1.5);
    EXPECT_DOUBLE_EQ(derived, level);
}

TEST_F(SimTuning, UnansweredQueriesStoreZero)
{
    TestPoint tp = Point("DVB-C", "TER", "306");
    tp.plan = QStringLiteral("CCIR");
    f.analyser->faults.refuse = true;
    MeasurementValues values;
    ReadMeasurements(session, tp, false, values);
    EXPECT_EQ(values.Number("LEVEL"), 0.0);
    EXPECT_EQ(values.Number("MER"), 0.0);
    EXPECT_EQ(values.Text("VBER"), "0");
}

TEST_F(SimTuning, NoSettlingWaitWithoutTuning)
{
    TestPoint tp = Point("DVB-T/H", "TER", "474");
    MeasurementValues values;
    const qint64 start = f.clock.ElapsedMs();
    ReadMeasurements(session, tp, false, values);
    const qint64 untuned = f.clock.ElapsedMs() - start;
    const qint64 tunedStart = f.clock.ElapsedMs();
    ReadMeasurements(session, tp, true, values);
    EXPECT_EQ(f.clock.ElapsedMs() - tunedStart - untuned, 5000);
}

}  // namespace
