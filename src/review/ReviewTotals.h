#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "review/Settlement.h"

namespace selvane {

// One bet type over a run of races, added in race order (date, meeting, race: the caller sorts,
// so the totals never depend on the order pages arrived in). Lost and paid bets count; refunds,
// no-bets and unsettled bets do not, the last are counted apart.
class BetTotals {
public:
    void add(const BetResult& bet);

    int bets = 0;
    int hits = 0;
    int unsettled = 0;
    Cents staked = 0;
    Cents returned = 0;
    int longestLosingRun = 0;  // most lost bets in a row
    Cents maxDrawdown = 0;     // largest fall of the running profit from its highest point (0 at the start)

    Cents profit() const { return returned - staked; }
    // Percentages in hundredths, rounded half away from zero; 0 without a bet.
    std::int64_t strikeHundredths() const;
    std::int64_t roiHundredths() const;

private:
    int losingRun_ = 0;
    Cents peak_ = 0;
};

struct ReviewTotals {
    std::array<BetTotals, kBetTypes> byType{};
    int races = 0;      // settled races, void ones not included
    int voidRaces = 0;

    void add(const SettledRace& race);
    const BetTotals& operator[](BetType t) const { return byType[static_cast<std::size_t>(t)]; }
};

// Cents or hundredths with two decimals and a leading minus when negative: "-12.05".
std::string twoDecimals(std::int64_t hundredths);

}  // namespace selvane
