#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "kit/ChosenRace.h"
#include "net/Context.h"
#include "odds/OddsPrices.h"

namespace selvane {

struct MainWindow;


// What the live odds command keeps between runs: the runner list's count of the last command
// that had one, used when the list is empty.
struct OddsState {
    int oddsRunnerCount = 0;
};

// The price page of race raceNumber of the meeting whose race list key is meetingKey ("m" and
// the meeting code).
std::string oddsAddress(std::string_view formGuide, std::string_view meetingKey, std::string_view raceNumber);

// How a live odds command ended; the window itself is shown through ctx.ports.modal.
struct LiveOddsRun {
    enum class End { Nothing, NoRaceSelected, Unavailable, Inaccessible, Shown };
    End end = End::Nothing;
    std::string address;  // the price page asked for
    std::string cause;    // Unavailable: why, one line, without the address
    std::vector<OddsRow> rows;
};

// cmdLiveOdds: fetches the chosen race's price page, cuts and reads it, and shows the prices in
// a fresh odds window; returns when the user has closed it. rto.html and realodds.html are
// removed first, so a failed fetch or a page without a price table says "Odds unvailable"
// instead of showing an earlier race's prices.
LiveOddsRun liveOdds(Context& ctx, MainWindow& w, const ChosenRace& chosen, OddsState& state);

}  // namespace selvane
