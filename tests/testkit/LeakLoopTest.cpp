// The leak loop catches what the leak tests rely on it to catch: counts that climb in some round and
// come down later, a round that fails, and the soak switch's rounds.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "GdiObjectCounter.h"
#include "LeakLoop.h"

namespace {

TEST(LeakLoop, AClimbBetweenLooksIsCaughtAtTheNextLookEvenWhenItComesDownLater) {
    int live = 0;
    int looks = 0;
    auto counts = [&] {
        ++looks;
        return live;
    };
    // One object more from round 23, gone again after round 70: the looks after rounds 30 to 70 see it.
    const ::testing::AssertionResult result = StaysFlat(counts, 100, [&](int round) {
        if (round == 23) ++live;
        if (round == 70) --live;
    });
    ASSERT_FALSE(result);
    EXPECT_NE(std::string(result.message()).find("after 30 of 100 rounds the counts are 1, before the first 0"),
              std::string::npos)
        << result.message();
    EXPECT_EQ(looks, 4) << "the start and the looks after rounds 10, 20 and 30";
}

TEST(LeakLoop, FlatCountsPassAndAreLookedAtTenTimesAndAfterTheLastRound) {
    int looks = 0;
    int rounds = 0;
    EXPECT_TRUE(StaysFlat(
        [&] {
            ++looks;
            return 5;
        },
        25, [&](int) { ++rounds; }));
    EXPECT_EQ(rounds, 25);
    // Before the first round, after every second one (25 / 10), and after the last.
    EXPECT_EQ(looks, 1 + 12 + 1);
}

TEST(LeakLoop, AFailedRoundStopsTheLoopAndSaysWhichItWas) {
    int rounds = 0;
    const ::testing::AssertionResult result = StaysFlat([] { return 0; }, 50,
                                                        [&](int round) {
                                                            ++rounds;
                                                            return round != 7;
                                                        });
    ASSERT_FALSE(result);
    EXPECT_EQ(rounds, 8);
    EXPECT_NE(std::string(result.message()).find("round 7 failed"), std::string::npos) << result.message();
}

TEST(LeakLoop, AGdiObjectKeptInOneRoundOfAHundredFailsTheLoop) {
    std::vector<HBRUSH> kept;
    const ::testing::AssertionResult result = StaysFlat(GdiObjectCounter::Count, 100, [&](int round) {
        HBRUSH brush = ::CreateSolidBrush(RGB(round, 0, 0));
        if (round == 55)
            kept.push_back(brush);
        else
            ::DeleteObject(brush);
    });
    for (HBRUSH brush : kept) ::DeleteObject(brush);
    ASSERT_FALSE(result);
    EXPECT_NE(std::string(result.message()).find("after 60 of 100 rounds"), std::string::npos) << result.message();
}

TEST(LeakLoop, TheSoakSwitchChoosesTheLongLoop) {
    const char* before = std::getenv("QUIRN_SOAK");
    const std::string saved = before != nullptr ? before : "";
    _putenv_s("QUIRN_SOAK", "1");
    EXPECT_EQ(LeakRounds(100, 1000), 1000);
    _putenv_s("QUIRN_SOAK", "0");
    EXPECT_EQ(LeakRounds(100, 1000), 100);
    _putenv_s("QUIRN_SOAK", saved.c_str());
}

}  // namespace
