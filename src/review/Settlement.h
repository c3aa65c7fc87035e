#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "results/RaceDividends.h"

namespace selvane {

// The six bets a review lays on every tipped race, in the order they are reported.
enum class BetType { Win, EachWay, Quinella, Exacta, Trifecta, FirstFour };
inline constexpr std::size_t kBetTypes = 6;
inline constexpr std::array<BetType, kBetTypes> kAllBetTypes = {BetType::Win,      BetType::EachWay,
                                                               BetType::Quinella, BetType::Exacta,
                                                               BetType::Trifecta, BetType::FirstFour};
// "win", "eachWay", "quinella", "exacta", "trifecta", "firstFour"
const char* betKey(BetType t);
// "Win", "Each way", "Quinella", "Exacta", "Trifecta", "First four"
const char* betName(BetType t);

enum class BetOutcome {
    NoBet,       // nothing to bet on: no tips, no best bet, a pool the field cannot fill
    Refunded,    // scratched runners left nothing of the bet standing: its stake comes back
    Lost,
    Paid,
    Unsettled,   // the page does not settle it: a winner without a declared dividend, a pool the
                 // placings cannot decide, or a page with a row the reader could not take
};

// Staked is what stayed at risk after refunds; NoBet, Refunded and Unsettled stake nothing.
struct BetResult {
    BetOutcome outcome = BetOutcome::NoBet;
    Cents staked = 0;
    Cents returned = 0;
    bool operator==(const BetResult&) const = default;
};

struct RaceBets {
    std::vector<int> tips;  // runner numbers, the 1st tip first
    int bestBet = 0;        // runner number of the each-way best bet; 0 for none
    int starters = 0;       // runners that went to the post: the each-way terms
    // Tipped runners that did not run besides the page's scratchings (an emergency without a run).
    std::vector<int> nonRunners;
    Cents stake = 100;      // per bet type
};

struct SettledRace {
    bool isVoid = false;  // no official result: nothing staked, counted apart
    std::array<BetResult, kBetTypes> bets{};
    const BetResult& operator[](BetType t) const { return bets[static_cast<std::size_t>(t)]; }
    bool operator==(const SettledRace&) const = default;
};

// Settles one race's bets at the declared dividends; the rules are the README's "Review:
// settlement rules". Every amount paid back is rounded down to the cent.
SettledRace settleRace(const RaceBets& race, const RaceDividends& result);

}  // namespace selvane
