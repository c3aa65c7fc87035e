#include "review/ReviewTotals.h"

#include <algorithm>
#include <cmath>

namespace selvane {
namespace {

// numerator × 10000 ÷ denominator, halves away from zero. In long double (a 64-bit mantissa),
// as a season of large stakes times 10000 would pass the 64-bit integers.
std::int64_t hundredthsOf(std::int64_t numerator, std::int64_t denominator) {
    if (denominator <= 0) return 0;
    return std::llround(static_cast<long double>(numerator) * 10'000 / static_cast<long double>(denominator));
}

}  // namespace

void BetTotals::add(const BetResult& bet) {
    if (bet.outcome == BetOutcome::Unsettled) ++unsettled;
    if (bet.outcome != BetOutcome::Lost && bet.outcome != BetOutcome::Paid) return;
    ++bets;
    staked += bet.staked;
    returned += bet.returned;
    if (bet.outcome == BetOutcome::Paid) {
        ++hits;
        losingRun_ = 0;
    } else {
        longestLosingRun = std::max(longestLosingRun, ++losingRun_);
    }
    peak_ = std::max(peak_, profit());
    maxDrawdown = std::max(maxDrawdown, peak_ - profit());
}

std::int64_t BetTotals::strikeHundredths() const { return hundredthsOf(hits, bets); }

std::int64_t BetTotals::roiHundredths() const { return hundredthsOf(profit(), staked); }

void ReviewTotals::add(const SettledRace& race) {
    if (race.isVoid) {
        ++voidRaces;
        return;
    }
    ++races;
    for (std::size_t i = 0; i < kBetTypes; ++i) byType[i].add(race.bets[i]);
}

std::string twoDecimals(std::int64_t hundredths) {
    const std::uint64_t magnitude =
        hundredths < 0 ? 0 - static_cast<std::uint64_t>(hundredths) : static_cast<std::uint64_t>(hundredths);
    std::string cents = std::to_string(magnitude % 100);
    if (cents.size() < 2) cents.insert(0, "0");
    return (hundredths < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." + cents;
}

}  // namespace selvane
