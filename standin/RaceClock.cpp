#include "standin/RaceClock.h"

#include <algorithm>
#include <cmath>

#include "standin/Decimal.h"
#include "standin/RaceModel.h"
#include "standin/SeededRandom.h"

namespace selvane::standin {

RaceState raceStateAt(const Race& race, const Date& raceDate, const LocalTime& now) {
    long elapsed;  // minutes since the jump
    if (raceDate < now.date) elapsed = 24 * 60;
    else if (now.date < raceDate) elapsed = -24 * 60;
    else elapsed = now.minutes - race.startMinutes;
    if (elapsed < 0) return RaceState::NotRun;
    if (race.abandoned) return RaceState::Abandoned;
    if (elapsed < kClosedMinutes) return RaceState::Closed;
    if (elapsed < kClosedMinutes + kInterimMinutes) return RaceState::Interim;
    return RaceState::Final;
}

std::string placingsText(const Race& race) {
    std::string out;
    for (int n : race.placings) {
        if (!out.empty()) out += ',';
        out += std::to_string(n);
    }
    return out;
}

std::string resultsStateText(const Race& race, const Date& raceDate, const LocalTime& now) {
    switch (raceStateAt(race, raceDate, now)) {
        case RaceState::NotRun: return race.toteTime();
        case RaceState::Closed: return "CLOSED";
        case RaceState::Interim: return "INTERIM";
        case RaceState::Abandoned: return "abnd";
        case RaceState::Final: return placingsText(race);
    }
    return {};
}

RunnerPrices pricesAt(const RaceDay& day, const Meeting& meeting, const Race& race, const Runner& runner,
                      const LocalTime& now) {
    RunnerPrices out;
    if (runner.scratched) {
        out.tote.fill("scr");
        out.allPlace = "scr";
        return out;
    }
    const RaceChances chances = raceChances(race);
    const std::size_t index = chances.indexOf(runner.num);
    const double win = index < chances.win.size() ? chances.win[index] : 1.0;
    const int places = placesPaid(static_cast<int>(chances.runners.size()));
    const double place = index < chances.win.size() && places > 0 ? chances.placeChance(index, places) : 1.0;

    // Five-minute steps from 9:00 to the jump; a later day shows the opening market. The market
    // is off the chances by the steps still to come, so it meets them at the jump.
    constexpr int kMarketOpens = 9 * 60;
    const int allSteps = std::max(0, (race.startMinutes - kMarketOpens) / 5);
    int steps = 0;
    if (day.date < now.date) steps = allSteps;
    else if (day.date == now.date) steps = std::max(0, (std::min(now.minutes, race.startMinutes) - kMarketOpens) / 5);
    const std::uint64_t base = mix(daySeed(day.date, day.seed),
                                   hashText(meeting.formCode) * 131u +
                                       static_cast<std::uint64_t>(race.number * 37 + runner.num));
    double toCome = 0;
    for (int k = steps + 1; k <= allSteps; ++k)
        toCome += Rng(mix(base, static_cast<std::uint64_t>(k))).uniform() * 2 - 1;
    const double drift = std::exp(0.025 * toCome);

    const bool placePools = places > 0;
    Rng cell(mix(base, 0xC0FFEE));
    // The all-Australian tote (the first column and the unused place cell) pays the dividends;
    // the state totes' pools differ from it a little.
    auto price = [&](double chance, double jitter) {
        return dollarsText(toteCents(chance * jitter / drift, kWinTake), false);
    };
    for (std::size_t c = 0; c < 7; ++c) {
        const double drawn = std::exp(0.06 * (cell.uniform() * 2 - 1));
        const double jitter = c == 0 ? 1.0 : drawn;
        const bool naCell = cell.chance(0.02);
        const bool placeColumn = c >= 4;
        if (!meeting.columnOpen[c] || naCell || (placeColumn && !placePools)) {
            out.tote[c] = "n/a";
            continue;
        }
        out.tote[c] = price(placeColumn ? place : win, jitter);
    }
    out.allPlace = placePools ? price(place, 1.0) : "n/a";
    return out;
}

}  // namespace selvane::standin
