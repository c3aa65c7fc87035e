// A tipped field's positions turned into the runner numbers the settlement bets on.
#include "review/TippedRace.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

// The tipping's worked example, numbered from 11: tips 13, 11, 16, 14, 17, best bet 13; the
// emergency 15e ranks last. 12 is scratched, 15e did not run.
TEST(TippedRace, PositionsBecomeNumbersAndStartersLeaveOutEmergenciesAndScratchings) {
    const std::vector<RunnerEntry> runners = {
        {"11", "3121", "A", "", "", "4"}, {"12", "0x00", "B", "", "", "1"}, {"13", "1111", "C", "", "", "2"},
        {"14", "3331", "D", "", "", "5"}, {"15e", "11", "E", "", "", "3"}, {"16", "21", "F", "", "", "6"},
        {"17", "6", "G", "", "", "9"}};
    const std::vector<TipInput> field = tipInputsOf(runners);
    RaceDividends result;
    result.scratchings = {12};
    result.placings = {{1, 13, 420, 180}};
    const RaceBets bets = betsOnTips(field, computeTips(field), result, 250);
    EXPECT_EQ(std::make_tuple(bets.tips, bets.bestBet, bets.starters, bets.nonRunners, bets.stake),
              std::make_tuple(std::vector<int>{13, 11, 16, 14, 17}, 13, 5, std::vector<int>{15}, Cents{250}));
    // Four runners publish no tips: no bets, the starters still counted.
    const std::vector<TipInput> four(field.begin(), field.begin() + 4);
    const RaceBets none = betsOnTips(four, computeTips(four), result, 100);
    EXPECT_EQ(std::make_tuple(none.tips.size(), none.bestBet, none.starters), std::make_tuple(0u, 0, 3));
}

}  // namespace
}  // namespace selvane
