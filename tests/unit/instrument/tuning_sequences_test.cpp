// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tuners.h"
#include "instrument/tune_frequency.h"
#include "support/sample_test_point.h"
#include "tuning_scripted_analyser.h"

#include <gtest/gtest.h>

namespace {

class Tuning : public ::testing::Test {
protected:
    VirtualClock clock;
    ScriptedAnalyser analyser{clock};
    bool stop = false;
    InstrumentSession session{analyser, clock, [this] { return stop; }};

    static TestPoint Point(const char* type, const char* band = "TER") { return SampleTestPoint(type, band); }

    qint64 TimeOf(const char* command) const
    {
        for (const auto& line : analyser.Lines())
            if (!line.query && line.text == command)
                return line.atMs;
        ADD_FAILURE() << command << " not sent";
        return -1;
    }
};

TEST_F(Tuning, WaitWithStopCountsWholeStepsAndEndsOnStop)
{
    WaitWithStop(clock, [] { return false; }, 250);
    EXPECT_EQ(clock.ElapsedMs(), 200);

    bool stopped = false;
    clock.At(750, [&] { stopped = true; });
    WaitWithStop(clock, [&] { return stopped; }, 5000);
    EXPECT_EQ(clock.ElapsedMs(), 200 + 800);
    EXPECT_GE(clock.ProcessMessagesCalls(), 10);
}

struct PreTuneCase {
    const char* band;
    const char* mhz;
    QStringList commands;
};

void PrintTo(const PreTuneCase& c, std::ostream* os)
{
    *os << c.band << " " << c.mhz << " MHz";
}

class PreTune : public Tuning, public ::testing::WithParamInterface<PreTuneCase> {};

TEST_P(PreTune, MovesIntoTheBandOnlyNearTheBorder)
{
    TestPoint tp = Point("DVB-T/H", GetParam().band);
    tp.freq = QString::fromLatin1(GetParam().mhz);
    TuneFrequency(session, tp, tp.FreqKHz());
    EXPECT_EQ(analyser.Commands(), GetParam().commands);
    const qint64 expectedMs = 2500 * GetParam().commands.size();
    EXPECT_EQ(clock.ElapsedMs(), expectedMs);
}

INSTANTIATE_TEST_SUITE_P(
    Borders, PreTune,
    ::testing::Values(PreTuneCase{"TER", "962", {"*FR0500000", "*FR0962000"}},
                      PreTuneCase{"TER", "949.9", {"*FR0949900"}},
                      PreTuneCase{"TER", "950", {"*FR0500000", "*FR0950000"}},
                      PreTuneCase{"SAT", "1000", {"*FR1500000", "*FR1000000"}},
                      PreTuneCase{"SAT", "1000.1", {"*FR1000100"}},
                      PreTuneCase{"SAT", "1750", {"*FR1750000"}},
                      PreTuneCase{"", "962", {"*FR0962000"}}));

// The full sequence of each digital tuner on an analyser in another standard
// that never locks: every parameter command, in order.
struct SequenceCase {
    const char* type;
    QStringList commands;
    const char* modulation = "64QAM";
};

void PrintTo(const SequenceCase& c, std::ostream* os)
{
    *os << c.type;
}

class FullSequence : public Tuning, public ::testing::WithParamInterface<SequenceCase> {};

TEST_P(FullSequence, SendsStandardAndEveryParameterInOrder)
{
    analyser.standard = 0;
    TestPoint tp = Point(GetParam().type);
    tp.modulation = QString::fromLatin1(GetParam().modulation);
    EXPECT_TRUE(TuneStandard(session, tp, 474000.0f));
    EXPECT_EQ(analyser.Commands(), GetParam().commands);
}

TEST_P(FullSequence, SkipsTheSelectionWhenTheAnalyserIsInTheStandard)
{
    const QString select = GetParam().commands.front();
    analyser.standard = select.mid(3).toInt(nullptr, 16);
    TestPoint tp = Point(GetParam().type);
    tp.modulation = QString::fromLatin1(GetParam().modulation);
    TuneStandard(session, tp, 474000.0f);
    QStringList expected = GetParam().commands;
    expected.removeFirst();
    EXPECT_EQ(analyser.Commands(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryDigitalType, FullSequence,
    ::testing::Values(
        SequenceCase{"DVB-T/H", {"*SA1", "*GI0", "*BW08000", "*SI0", "*MO1"}},
        SequenceCase{"DVB-T2", {"*SA9", "*SI0", "*BW08000"}},
        SequenceCase{"8-VSB", {"*SA5", "*SI0"}},
        SequenceCase{"ISDB-T", {"*SAA", "*GI0", "*MO1", "*SI0"}},
        SequenceCase{"DVB-C", {"*SA2", "*BW08000", "*RA27500", "*CO05", "*SI0"}},
        SequenceCase{"J-83", {"*SA6", "*CO05", "*SI0"}},
        SequenceCase{"DTMB", {"*SAB"}},
        SequenceCase{"DVB-S", {"*SA3", "*LB2", "*CR02", "*RA27500", "*SI0"}},
        SequenceCase{"DVB-S2", {"*SA7", "*LB2", "*CR02", "*RA27500", "*CO08", "*SI0"}, "QPSK"},
        SequenceCase{"DSS", {"*SA4", "*LB2", "*CR02", "*RA27500", "*SI0"}}));

TEST_F(Tuning, DvbS2WithS2ModulationAndCodeRateNineTenths)
{
    TestPoint tp = Point("DVB-S2", "SAT");
    tp.codeRate = QStringLiteral("9/10");
    tp.modulation = QStringLiteral("8PSK");
    TuneDvbS2(session, tp);
    EXPECT_EQ(analyser.Commands(), (QStringList{"*SA7", "*LB2", "*CR012", "*RA27500", "*CO09", "*SI0"}));
}

TEST_F(Tuning, DvbThReadyRightAfterSelectionGetsNoParameter)
{
    analyser.standard = 3;
    analyser.status = [this] { return analyser.standard == 1 ? 2 : 0; };
    TuneDvbTH(session, Point("DVB-T/H"));
    EXPECT_EQ(analyser.Commands(), QStringList{"*SA1"});
    EXPECT_EQ(analyser.Queries(), (QStringList{"*?SA", "*?ST"}));
}

TEST_F(Tuning, ReadyCodeStopsTheParametersWhereItComes)
{
    // DVB-C locks after its symbol rate: modulation and inversion are not sent.
    analyser.status = [this] { return analyser.Commands().contains("*RA27500") ? 4 : 0; };
    TuneDvbC(session, Point("DVB-C"));
    EXPECT_EQ(analyser.Commands(), (QStringList{"*SA2", "*BW08000", "*RA27500"}));
}

TEST_F(Tuning, ParameterWaitsFollowTheirStandard)
{
    // Terrestrial: 500 before and 1000 after each parameter; satellite: none
    // before, 1500 after (LNB 3000). Every question costs the link's 100 ms.
    analyser.standard = 0;
    TuneDvbTH(session, Point("DVB-T/H"));
    EXPECT_EQ(TimeOf("*SA1"), 100);
    EXPECT_EQ(TimeOf("*GI0"), 100 + 3000 + 100 + 500);
    EXPECT_EQ(TimeOf("*BW08000"), TimeOf("*GI0") + 1000 + 100 + 500);

    analyser.Clear();
    const qint64 start = clock.ElapsedMs();
    TestPoint s2 = Point("DVB-S2", "SAT");
    s2.modulation = QStringLiteral("QPSK");
    TuneDvbS2(session, s2);
    EXPECT_EQ(TimeOf("*LB2"), start + 100 + 3000);
    EXPECT_EQ(TimeOf("*CR02"), TimeOf("*LB2") + 3000 + 100);
    EXPECT_EQ(TimeOf("*RA27500"), TimeOf("*CR02") + 1500 + 100);
    EXPECT_EQ(TimeOf("*SI0"), TimeOf("*CO08") + 1500 + 100);
    EXPECT_EQ(clock.ElapsedMs(), TimeOf("*SI0") + 1500);
}

TEST_F(Tuning, IsdbtSendsTheLayerOnlyWhenLockedAfterSixSeconds)
{
    TestPoint tp = Point("ISDB-T");
    tp.layer = QStringLiteral("B");
    analyser.status = [] { return 0xA; };
    TuneIsdbT(session, tp);
    EXPECT_EQ(analyser.Commands(), (QStringList{"*SAA", "*GI0", "*MO1", "*SI0", "*LYB"}));
    EXPECT_EQ(TimeOf("*LYB"), TimeOf("*SI0") + 1000 + 6000 + 100);

    analyser.Clear();
    analyser.status = [] { return 9; };
    TuneIsdbT(session, tp);
    EXPECT_EQ(analyser.Commands(), (QStringList{"*GI0", "*MO1", "*SI0"}));
}

TEST_F(Tuning, IsdbtTakesAnUnansweredStandardQuestionAsAlreadySelected)
{
    // "*?SA" without reply reads as 10, which is ISDB-T's own code.
    analyser.standardUnanswered = true;
    TuneIsdbT(session, Point("ISDB-T"));
    EXPECT_FALSE(analyser.Commands().contains("*SAA"));
    analyser.Clear();
    TuneDvbT2(session, Point("DVB-T2"));
    EXPECT_EQ(analyser.Commands().front(), "*SA9");
}

TEST_F(Tuning, ValueOutsideTheEncodingSendsNothingAndWaitsNothing)
{
    TestPoint tp = Point("J-83");
    tp.modulation = QStringLiteral("1024QAM");
    analyser.standard = 6;
    TuneJ83(session, tp);
    EXPECT_EQ(analyser.Commands(), QStringList{"*SI0"});
    EXPECT_EQ(clock.ElapsedMs(), 100 + 100 + 100 + 500 + 1000);
}

TEST_F(Tuning, RefusedCommandIsNotRetriedAndTheTunerGoesOn)
{
    analyser.refused.insert("*BW08000");
    TuneDvbT2(session, Point("DVB-T2"));
    EXPECT_EQ(analyser.Commands(), (QStringList{"*SA9", "*SI0", "*BW08000"}));
}

TEST_F(Tuning, StopDuringATunerCutsWaitsButSendsEveryCommand)
{
    clock.At(1000, [this] { stop = true; });
    TuneDvbC(session, Point("DVB-C"));
    EXPECT_EQ(analyser.Commands(), (QStringList{"*SA2", "*BW08000", "*RA27500", "*CO05", "*SI0"}));
    EXPECT_LT(clock.ElapsedMs(), 3000);
}

TEST_F(Tuning, StopDuringTheFrequencyAbandonsTheVisitBeforeTheTuner)
{
    clock.At(1200, [this] { stop = true; });
    EXPECT_FALSE(TuneTestPoint(session, Point("DVB-T/H")));
    EXPECT_EQ(analyser.Commands(), QStringList{"*FR0474000"});
    EXPECT_TRUE(analyser.Queries().isEmpty());
}

TEST_F(Tuning, TuneTestPointSetsFrequencyThenTheTypesTuner)
{
    EXPECT_TRUE(TuneTestPoint(session, Point("DTMB")));
    EXPECT_EQ(analyser.Commands(), (QStringList{"*FR0474000", "*SAB"}));
}

TEST_F(Tuning, UnknownTypeGetsNoTuner)
{
    EXPECT_FALSE(TuneStandard(session, Point("dvb-t/h"), 474000.0f));
    EXPECT_FALSE(TuneStandard(session, Point("DVB-T"), 474000.0f));
    EXPECT_TRUE(analyser.Lines().empty());
}

// ---- Analogue --------------------------------------------------------------

struct ColourCase {
    const char* system;
    int code;
    int waitMs;
};

void PrintTo(const ColourCase& c, std::ostream* os)
{
    *os << c.system;
}

class ColourSystem : public Tuning, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(ColourSystem, SendsTheSystemUnlessSetAndAlwaysWaits)
{
    TestPoint tp = Point("Analog");
    tp.system = QString::fromLatin1(GetParam().system);
    analyser.standard = 0;
    analyser.colourSystem = 0x99;
    TuneAnalog(session, tp, tp.system, 474000.0f);
    EXPECT_EQ(analyser.Commands(), QStringList{QStringLiteral("*SY%1").arg(GetParam().code, 2, 16, QLatin1Char('0'))});
    EXPECT_EQ(clock.ElapsedMs(), 200 + GetParam().waitMs);

    analyser.Clear();
    const qint64 start = clock.ElapsedMs();
    TuneAnalog(session, tp, tp.system, 474000.0f);
    EXPECT_TRUE(analyser.Commands().isEmpty());
    EXPECT_EQ(clock.ElapsedMs() - start, 200 + GetParam().waitMs);
}

INSTANTIATE_TEST_SUITE_P(EverySystem, ColourSystem,
                         ::testing::Values(ColourCase{"Pal BG", 0x01, 3000}, ColourCase{"Pal DK", 0x02, 3000},
                                           ColourCase{"Pal I", 0x03, 2000}, ColourCase{"Pal M", 0x04, 2000},
                                           ColourCase{"Pal N", 0x05, 2000}, ColourCase{"Secam BG", 0x11, 2000},
                                           ColourCase{"Secam L", 0x16, 2000}, ColourCase{"Secam DK", 0x12, 2000},
                                           ColourCase{"NTSC M", 0x24, 2000}));

TEST_F(Tuning, NtscMAlreadySetGetsNoSystemCommand)
{
    TestPoint tp = Point("Analog");
    analyser.colourSystem = 0x24;
    TuneAnalog(session, tp, QStringLiteral("NTSC M"), 474000.0f);
    EXPECT_FALSE(analyser.Commands().contains("*SY24"));
    EXPECT_TRUE(analyser.Commands().isEmpty());
}

TEST_F(Tuning, AnalogueFromAnotherStandardSelectsItAndRetunesTheFrequency)
{
    analyser.standard = 2;
    analyser.colourSystem = 0x24;
    TuneAnalog(session, Point("Analog"), QStringLiteral("Pal BG"), 962000.0f);
    EXPECT_EQ(analyser.Commands(), (QStringList{"*SA0", "*FR0500000", "*FR0962000", "*SY01"}));
}

TEST_F(Tuning, FmIsNeverSwitchedToTheTelevisionStandard)
{
    for (int reported : {0, 1, 8, 10}) {
        analyser.Clear();
        analyser.standard = reported;
        TestPoint tp = Point("Analog");
        tp.system = QStringLiteral("FM");
        TuneAnalog(session, tp, tp.system, 98000.0f);
        EXPECT_FALSE(analyser.Commands().contains("*SA0")) << reported;
        const QStringList expected =
            reported == 8 ? QStringList{} : QStringList{"*SA8", "*FR0098000"};
        EXPECT_EQ(analyser.Commands(), expected) << reported;
    }
}

TEST_F(Tuning, SatelliteAnalogueSendsLnbAndThirtyNineMegahertzForAnEmptyBandwidth)
{
    TestPoint tp = Point("Analog", "SAT");
    tp.bw = QString();
    tp.lnb = QStringLiteral("18v");
    analyser.standard = 0;
    TuneAnalog(session, tp, QStringLiteral("Pal BG"), 1200000.0f);
    EXPECT_EQ(analyser.Commands(), (QStringList{"*LB4", "*BW39000"}));
    EXPECT_FALSE(analyser.Queries().contains("*?SY"));
}

TEST_F(Tuning, AnalogueWithAnUnknownSystemOnlySelectsTheStandard)
{
    analyser.standard = 1;
    TuneAnalog(session, Point("Analog"), QStringLiteral("Pal X"), 474000.0f);
    EXPECT_EQ(analyser.Commands(), (QStringList{"*SA0", "*FR0474000"}));
}

}  // namespace
