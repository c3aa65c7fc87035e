#include "standin/RaceClock.h"

#include <algorithm>
#include <cmath>

#include "standin/Decimal.h"
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
    double total = 0;
    int active = 0;
    for (const Runner& r : race.runners) {
        if (r.emergency || r.scratched) continue;
        total += r.strength;
        ++active;
    }
    // Five-minute steps of drift from 9:00 until the jump; a later day shows the opening market.
    constexpr int kMarketOpens = 9 * 60;
    int steps = 0;
    if (day.date < now.date) steps = (race.startMinutes - kMarketOpens) / 5;
    else if (day.date == now.date) steps = (std::min(now.minutes, race.startMinutes) - kMarketOpens) / 5;
    steps = std::max(0, steps);
    const std::uint64_t base = mix(daySeed(day.date, day.seed),
                                   hashText(meeting.formCode) * 131u +
                                       static_cast<std::uint64_t>(race.number * 37 + runner.num));
    double walk = 0;
    for (int k = 1; k <= steps; ++k) walk += Rng(mix(base, static_cast<std::uint64_t>(k))).uniform() * 2 - 1;
    const double drift = std::exp(0.025 * walk);
    const double share = total > 0 ? runner.strength / total : 1.0;
    const double win = std::max(1.04, 0.85 / share * drift);
    const bool placePools = active >= 5;
    Rng cell(mix(base, 0xC0FFEE));
    auto price = [](double v) { return fixed(std::max(1.01, std::round(v * 10.0) / 10.0), 2); };
    for (std::size_t c = 0; c < 7; ++c) {
        const double jitter = std::exp(0.06 * (cell.uniform() * 2 - 1));
        const bool naCell = cell.chance(0.02);
        const bool placeColumn = c >= 4;
        if (!meeting.columnOpen[c] || naCell || (placeColumn && !placePools)) {
            out.tote[c] = "n/a";
            continue;
        }
        out.tote[c] = placeColumn ? price(1.0 + (win - 1.0) / 3.5 * jitter) : price(win * jitter);
    }
    out.allPlace = placePools ? price(1.0 + (win - 1.0) / 3.6) : "n/a";
    return out;
}

}  // namespace selvane::standin
