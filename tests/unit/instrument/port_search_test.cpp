// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/port_search.h"
#include "support/qt_printers.h"
#include "support/sim_fixture.h"

#include <gtest/gtest.h>

namespace {

struct Search {
    explicit Search(std::initializer_list<std::pair<int, std::shared_ptr<SimAnalyser>>> analysers)
    {
        for (const auto& [com, analyser] : analysers)
            f.ports.Attach(com, analyser);
    }
    PortSearchResult Run()
    {
        return SearchAnalyserPort(f.link, [this](int index) { shown.append(index); });
    }
    SimFixture f{1, false, std::make_shared<SimAnalyser>()};
    QList<int> shown;
};

TEST(PortSearch, TheFirstAnalyserFoundWins)
{
    auto second = std::make_shared<SimAnalyser>("ORBIMETER SE");
    auto fifth = std::make_shared<SimAnalyser>("OM2000");
    Search s{{2, second}, {5, fifth}};
    s.f.ports.Detach(1);
    const PortSearchResult result = s.Run();
    ASSERT_TRUE(result.found);
    EXPECT_EQ(result.portIndex, 1);
    EXPECT_EQ(result.modelName, "ORBIMETER SE");
    EXPECT_EQ(s.f.modelCode, 2);
    EXPECT_EQ(s.shown, (QList<int>{0, 1}));
    EXPECT_TRUE(s.f.port().IsOpen());
    EXPECT_EQ(s.f.port().PortName(), "COM2");
    EXPECT_EQ(second->ReceivedCommands(), (QStringList{"*", "*?NA"}));
    EXPECT_TRUE(fifth->ReceivedCommands().isEmpty());
}

TEST(PortSearch, PortsThatDoNotAnswerAreSkippedSilently)
{
    auto noisy = std::make_shared<SimAnalyser>();
    noisy->faults.noiseBeforeXon = 3;  // SendCommand would cope; the search gives it 4 reads only
    auto unknown = std::make_shared<SimAnalyser>("ORBIMETER 9000");
    auto mute = std::make_shared<SimAnalyser>();
    mute->faults.silent = true;
    auto isdb = std::make_shared<SimAnalyser>("ORBIMETER HD ISDB-T");
    Search s{{3, noisy}, {4, unknown}, {7, mute}, {12, isdb}};
    s.f.ports.Detach(1);
    std::optional<ModelFamily> family;
    s.f.link.selectFamily = [&](ModelFamily selected) { family = selected; };

    const PortSearchResult result = s.Run();
    ASSERT_TRUE(result.found);
    EXPECT_EQ(result.portIndex, 11);
    EXPECT_EQ(s.f.port().PortName(), "\\\\.\\COM12");
    EXPECT_EQ(s.f.modelCode, 11);
    EXPECT_EQ(family, ModelFamily::ISDBT);
    EXPECT_EQ(noisy->ReceivedCommands(), QStringList{"*"});
    EXPECT_EQ(unknown->ReceivedCommands(), (QStringList{"*", "*?NA"}));
    // Absent ports cost nothing; the silent one costs its 4 reads of 2 s.
    EXPECT_GE(s.f.clock.ElapsedMs(), 8000);
    EXPECT_LT(s.f.clock.ElapsedMs(), 9000);
}

TEST(PortSearch, NoAnalyserReportsNothingFoundAfterTryingEveryPort)
{
    auto mute = std::make_shared<SimAnalyser>();
    mute->faults.noXon = true;
    Search s{{6, mute}};
    s.f.ports.Detach(1);
    const PortSearchResult result = s.Run();
    EXPECT_FALSE(result.found);
    EXPECT_EQ(s.shown.size(), 40);
    EXPECT_EQ(s.f.modelCode, -1) << "no identification was even tried";
    EXPECT_EQ(mute->ReceivedCommands(), QStringList{"*"});
    // Selecting the next port closed COM6; COM40 never opened.
    EXPECT_FALSE(s.f.port().IsOpen());
    EXPECT_EQ(s.f.port().PortName(), "\\\\.\\COM40");
}

}  // namespace
