#pragma once

// A generated race at a moment of the clock: its state on the results site and its prices.

#include <array>
#include <string>

#include "standin/DayGenerator.h"

namespace selvane::standin {

// The results site's state text of a race at a moment: "12:45PM" before the jump, "CLOSED" for
// the first two minutes, "INTERIM" for the next five, then placings "3,5,7", or "abnd".
enum class RaceState { NotRun, Closed, Interim, Final, Abandoned };
inline constexpr int kClosedMinutes = 2;
inline constexpr int kInterimMinutes = 5;
RaceState raceStateAt(const Race& race, const Date& raceDate, const LocalTime& now);
std::string resultsStateText(const Race& race, const Date& raceDate, const LocalTime& now);
std::string placingsText(const Race& race);  // "3,5,7"

// Price cells of one runner at a moment: the seven tote columns (n/a, scr or "3.50"), plus the
// unused ninth cell of the price row (an all-in place price). Prices drift in five-minute steps
// until the jump and then hold.
struct RunnerPrices {
    std::array<std::string, 7> tote;
    std::string allPlace;
};
RunnerPrices pricesAt(const RaceDay& day, const Meeting& meeting, const Race& race, const Runner& runner,
                      const LocalTime& now);

}  // namespace selvane::standin
