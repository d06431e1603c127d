// SPDX-License-Identifier: GPL-3.0-or-later
// The exploration transfer on the in-process simulated analyser and the
// virtual clock: the list, the import into a real table file, the LNB output
// correction, and the transfers that go wrong.
#include "platform/errors.h"
#include "sim/exploration_block.h"
#include "support/sim_fixture.h"
#include "support/temp_folder.h"
#include "testpoints/dataset.h"
#include "testpoints/exploration_import.h"
#include "testpoints/table_layouts.h"

#include <gtest/gtest.h>

namespace {
using I = ExplorationItem;

struct ImportFixture : testing::Test {
    ImportFixture()
    {
        table.CreateTable(TestPointFields());
        table.Open();
        f.analyser->SetXonPeriodMs(50);
    }

    QStringList Column(const char* field)
    {
        QStringList values;
        for (table.First(); !table.Eof(); table.Next())
            values << table.Text(QString::fromLatin1(field));
        return values;
    }

    ImportResult Import(TerSat band, const QString& name, const Oscillators& oscillators = {})
    {
        return importer.ImportExploration(band, name, table, oscillators);
    }

    TempProgramFolder folder;
    Dataset table{QString(), folder.File(QStringLiteral("tp.db"))};
    SimFixture f;
    ExplorationImporter importer{f.link, f.clock};
};

TEST_F(ImportFixture, TheListComesFromTheHighestIndexDownWithACountdown)
{
    QList<int> countdown;
    importer.countdown = [&](int remaining) { countdown << remaining; };
    EXPECT_EQ(importer.ReadExplorationNames(TerSat::Ter), (QStringList{"CABLE-NET", "CITY-UHF"}));
    EXPECT_EQ(countdown, (QList<int>{2, 1}));
    EXPECT_EQ(f.analyser->ReceivedCommands(),
              (QStringList{"*9417&", "*EM0", "*?FI02", "*?FI0201", "*?FI0200"}));
    EXPECT_EQ(f.analyser->AccessCode(), QStringLiteral("9417"));
    EXPECT_EQ(f.analyser->Mode(), 0);
    importer.EndTransfer();
    EXPECT_EQ(f.analyser->Mode(), 2);

    f.analyser->SetExplorations(QStringLiteral("05"), {});
    EXPECT_TRUE(importer.ReadExplorationNames(TerSat::Sat).isEmpty());
}

TEST_F(ImportFixture, NoMoreNamesAreAskedForThanTwoHexadecimalDigitsCanIndex)
{
    QList<StoredExploration> many;
    for (int i = 0; i < 300; ++i)
        many.append({QStringLiteral("E%1").arg(i), {}, {}});
    f.analyser->SetExplorations(QStringLiteral("02"), many);
    const QStringList names = importer.ReadExplorationNames(TerSat::Ter);
    ASSERT_EQ(names.size(), 256);
    EXPECT_EQ(names.first(), QStringLiteral("E255"));
    EXPECT_EQ(names.last(), QStringLiteral("E0"));
}

TEST_F(ImportFixture, ASatelliteImportIsCorrectedToTheLnbOutput)
{
    f.analyser->SetExplorations(
        QStringLiteral("05"),
        {{QStringLiteral("A-NAME-LONGER-THAN-13"),
          {{"HI", 0, 11778000, {I::Code(2, 2), I::Code(3, 2, 1), I::Number(5, 27500000), I::Code(11, 2)}},
           {"LO", 0, 10994000, {I::Code(2, 7), I::Code(3, 2, 0), I::Code(7, 6)}},
           {"IF", 0, 1200000, {I::Code(2, 2), I::Code(3, 0)}},
           {"ANA", 11495000, 11495000, {I::Code(2, 3), I::Code(3, 4, 0), I::Code(1, 0, 0)}},
           {"NONE", 0, 0, {}}},
          {}}});
    const ImportResult result = Import(TerSat::Sat, QStringLiteral("A-NAME-LONGER-THAN-13"), {"9750", "10600"});
    EXPECT_EQ(result.outcome, ImportOutcome::Imported);
    EXPECT_EQ(result.added, 5);
    EXPECT_TRUE(f.analyser->ReceivedCommands().contains(QStringLiteral("*?FL05A-NAME-LONGER-THAN-13")))
        << "the whole name goes in the command";
    EXPECT_EQ(Column("ch"), (QStringList{"HI", "LO", "IF", "ANA", "NONE"}));
    EXPECT_EQ(Column("freq"), (QStringList{"1178", "1244", "1200", "1745", ""}));
    EXPECT_EQ(Column("lnb"), (QStringList{"13v22khz", "13v", "External", "18v", ""}));
    EXPECT_EQ(Column("type"), (QStringList{"DVB-S", "DVB-S2", "DVB-S", "Analog", ""}));
    EXPECT_EQ(Column("system"), (QStringList{"", "", "", "Satellite", ""}));
    EXPECT_EQ(Column("symbol rate"), (QStringList{"27500", "", "", "", ""}));
    EXPECT_EQ(Column("band"), QStringList(5, QStringLiteral("SAT")));
    EXPECT_EQ(Column("plan"), QStringList(5, QStringLiteral("A-NAME-LONGER")));
    EXPECT_EQ(Column("alarm"), QStringList(5, QStringLiteral("OFF")));
    EXPECT_EQ(Column("maxLBER"), QStringList(5, QStringLiteral("OFF")));
    EXPECT_EQ(Column("minMER"), QStringList(5, QStringLiteral("0")));
    EXPECT_EQ(f.analyser->Mode(), 0) << "*EM2 is the caller's, once it has said what happened";
}

TEST_F(ImportFixture, OnlyTheRowsOfThisImportAreCorrected)
{
    f.analyser->SetExplorations(QStringLiteral("05"),
                                {{QStringLiteral("S"), {{"A", 0, 11000000, {I::Code(2, 2), I::Code(3, 4, 0)}}}, {}}});
    // The first import leaves its row above 2150 MHz; the second must not
    // take an oscillator off it again.
    ASSERT_EQ(Import(TerSat::Sat, QStringLiteral("S"), {"8000", "1"}).added, 1);
    ASSERT_EQ(Import(TerSat::Sat, QStringLiteral("S"), {"9000", "1"}).added, 1);
    EXPECT_EQ(Column("freq"), (QStringList{"3000", "2000"})) << "importing twice appends twice";
}

TEST_F(ImportFixture, AnOscillatorThatIsNoNumberIsRefusedBeforeAnythingIsSent)
{
    f.analyser->ClearReceivedCommands();
    EXPECT_THROW(Import(TerSat::Sat, QStringLiteral("SAT-EAST"), {"", "10600"}), VigiloError);
    EXPECT_TRUE(f.analyser->ReceivedCommands().isEmpty());
    EXPECT_EQ(table.RecordCount(), 0);
}

TEST_F(ImportFixture, ACorrectionStoppedByAnUnreadableOscillatorKeepsTheRowsBeforeIt)
{
    const ExplorationChannel high{"H", 0, 11778000, {I::Code(2, 2), I::Code(3, 2, 1)}};
    const ExplorationChannel low{"L", 0, 10994000, {I::Code(2, 2), I::Code(3, 2, 0)}};
    AppendExplorationRows(table, DecodeExplorationBlock(EncodeExplorationBlock({high, low, high})).channels,
                          QStringLiteral("X"), TerSat::Sat);
    EXPECT_THROW(CorrectToLnbOutput(table, 0, {"", "10600"}), VigiloError);
    EXPECT_FALSE(table.InTransaction());
    EXPECT_EQ(Column("freq"), (QStringList{"1178", "10994", "11778"}));
}

TEST_F(ImportFixture, TransfersThatFailAddNothing)
{
    const struct {
        const char* name;
        std::function<void(SimAnalyser&)> fault;
    } cases[] = {
        {"refused", [](SimAnalyser& a) { a.faults.refuse = true; }},
        {"unknown name", [](SimAnalyser&) {}},
        {"stalls for good after its first piece", [](SimAnalyser& a) { a.faults.blockStallMs = 600000; }},
        {"far too large",
         [](SimAnalyser& a) {
             QList<ExplorationChannel> many;
             for (int i = 0; i < 1000; ++i)
                 many.append({"C", 0, 474000, {I::Code(2, 0)}});
             a.SetExplorations(QStringLiteral("02"), {{QStringLiteral("CITY-UHF"), many, {}}});
         }},
    };
    for (const auto& c : cases) {
        SimFixture fresh;
        c.fault(*fresh.analyser);
        ExplorationImporter other(fresh.link, fresh.clock);
        const QString name = QString::fromLatin1(c.name) == QLatin1String("unknown name") ? QStringLiteral("NOPE")
                                                                                           : QStringLiteral("CITY-UHF");
        const ImportResult result = other.ImportExploration(TerSat::Ter, name, table, {});
        EXPECT_EQ(result.outcome, ImportOutcome::TransferFailed) << c.name;
        EXPECT_EQ(table.RecordCount(), 0) << c.name;
    }
}

TEST_F(ImportFixture, ABlockInPiecesWithAShortStallStillArrivesWhole)
{
    f.analyser->faults.blockPieceBytes = 16;
    f.analyser->faults.blockPieceGapMs = 300;
    f.analyser->faults.blockStallMs = 3000;
    const ImportResult result = Import(TerSat::Ter, QStringLiteral("CITY-UHF"));
    EXPECT_EQ(result.outcome, ImportOutcome::Imported);
    EXPECT_EQ(Column("ch"), (QStringList{"C27", "C30", "C35", "E6"}));
    EXPECT_EQ(Column("freq"), (QStringList{"522", "546", "586", "182.25"}));
    EXPECT_EQ(Column("system"), (QStringList{"", "", "", "Pal BG"}));
}

TEST_F(ImportFixture, ABlockThatStopsShortIsAFailedTransfer)
{
    // The analyser announces the full length but sends less: after the
    // bounded wait it is as if no byte had come.
    f.analyser->faults.blockShortBy = 20;
    EXPECT_EQ(Import(TerSat::Ter, QStringLiteral("CITY-UHF")).outcome, ImportOutcome::TransferFailed);
    EXPECT_EQ(table.RecordCount(), 0);
}

TEST_F(ImportFixture, HostileBlocksAddWhatTheyHoldAndNoMore)
{
    const QByteArray two = EncodeExplorationBlock(
        {{"ONE", 0, 474000, {I::Code(2, 0)}}, {"TWO", 0, 482000, {I::Code(2, 0), I::Number(4, 8000)}}});
    QByteArray countTooLarge = two;
    countTooLarge[11] = 9;
    QByteArray noMarker = two;
    noMarker.replace(char(0xFF), char(0x0A));
    QByteArray countZero = two;
    countZero[11] = 0;
    const struct {
        const char* name;
        QByteArray block;
        ImportOutcome outcome;
        QStringList channels;
        bool truncated;
    } cases[] = {
        {"count larger than the records", countTooLarge, ImportOutcome::Imported, {"ONE", "TWO"}, true},
        {"last record cut in its items", two.left(two.size() - 12), ImportOutcome::Imported, {"ONE"}, true},
        {"no marker", noMarker, ImportOutcome::NoMarker, {}, false},
        {"count of zero", countZero, ImportOutcome::Imported, {}, false},
        {"shorter than the head", two.left(12), ImportOutcome::NoMarker, {}, false},
    };
    for (const auto& c : cases) {
        Dataset fresh(QString(), folder.File(QStringLiteral("hostile.db")));
        fresh.CreateTable(TestPointFields());
        fresh.Open();
        SimFixture sim;
        sim.analyser->SetExplorations(QStringLiteral("02"), {{QStringLiteral("X"), {}, c.block}});
        ExplorationImporter other(sim.link, sim.clock);
        const ImportResult result = other.ImportExploration(TerSat::Ter, QStringLiteral("X"), fresh, {});
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(result.truncated, c.truncated) << c.name;
        QStringList channels;
        for (fresh.First(); !fresh.Eof(); fresh.Next())
            channels << fresh.Text(QStringLiteral("ch"));
        EXPECT_EQ(channels, c.channels) << c.name;
        fresh.Close();
    }
}

TEST(HeldOscillator, HeldBetweenOneAndTwentyThousand)
{
    const struct {
        const char* typed;
        std::optional<QString> held;
    } cases[] = {{"9750", QStringLiteral("9750")}, {"0", QStringLiteral("1")}, {"1", QStringLiteral("1")},
                 {"20000", QStringLiteral("20000")}, {"20001", QStringLiteral("20000")},
                 {"99999", QStringLiteral("20000")}, {"", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(HeldOscillator(QString::fromLatin1(c.typed)), c.held) << c.typed;
}
}  // namespace
