#pragma once

// The chances of a race and what the tote pays on them.
//
// Every runner has a chance weight exp(1.5 form - 0.4 (barrier - 1) / 10 + 2 ability): form is
// the form line's score (the latest run weighs most, a win most of all), barrier the draw
// (inside is better), ability a hidden draw the form does not show but the market knows. The
// result is drawn one place at a time in proportion to the weights of the runners still to
// place, so the chance of a finishing order is the product of those shares. The favourite wins
// about a third of its races. The tote pays (1 - take) / chance for every pool, rounded down to
// 10 cents and never less than $1.04: win and place with a take of 15 %, the exotics 20 %.
// Prices on the price page wander before the jump and meet the win dividend at it.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "standin/DayGenerator.h"

namespace selvane::standin {

inline constexpr double kWinTake = 0.15;     // win and place pools
inline constexpr double kExoticTake = 0.20;  // quinella, exacta, trifecta, first four

double chanceWeight(const std::string& form, int barrier, double ability);

// Places paid: none up to 4 starters, two up to 7, else three.
int placesPaid(int starters);

// The runners that run (neither emergencies nor scratched) and their chances of winning.
struct RaceChances {
    std::vector<const Runner*> runners;
    std::vector<double> win;  // sums to 1

    std::size_t indexOf(int number) const;  // runners.size() when it does not run
    // The chance that these runners fill the first places in this order.
    double orderChance(std::initializer_list<std::size_t> order) const;
    // The chance that runner i finishes within the first `places`.
    double placeChance(std::size_t i, int places) const;
};
RaceChances raceChances(const Race& race);

// What the tote pays per $1 on a chance, in cents.
std::int64_t toteCents(double chance, double take);

// What the tote declares on a run race, in cents per $1; 0 where a pool has no dividend (a place
// outside the places paid, a pool the field is too small for).
struct OfficialDividends {
    std::vector<int> order;           // the first four finishers (fewer in tiny fields)
    std::int64_t win = 0;             // on order[0]
    std::vector<std::int64_t> place;  // per finisher in order
    std::int64_t quinella = 0, exacta = 0, trifecta = 0, firstFour = 0;
};
OfficialDividends officialDividends(const Race& race);

// Runner numbers in finishing order, drawn by the chances.
std::vector<int> drawFinish(const RaceChances& chances, std::uint64_t seed);

// "1,234.50"; without thousands separators "1234.50", as the price page writes prices.
std::string dollarsText(std::int64_t cents, bool thousands = true);

}  // namespace selvane::standin
