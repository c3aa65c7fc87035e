#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

#include "net/Context.h"
#include "net/Fetcher.h"
#include "record/RecordValues.h"
#include "results/RaceDividends.h"
#include "review/ReviewTotals.h"
#include "review/Settlement.h"

namespace selvane {

// What to review: every race of a date range (or of one track), tipped by the engine and settled.
struct ReviewRequest {
    std::string from, to;  // "2026-12-05": both ends included
    std::string track;     // a meeting name's first word, letter case ignored; empty: every track
    Cents stake = 100;     // per bet type
    int jobs = 4;          // pages fetched at once, at most this many connections per service (1 to 16)
    bool offline = false;  // the record alone, nothing fetched
    Services services;
    FetchLimits limits;
    std::filesystem::path recordFile;  // read first, and what is fetched is written to it; empty: none
};

// One race as the review settled it.
struct ReviewedRace {
    record::RaceKey key;  // the meeting's name without the blanks around it
    RaceBets bets;
    RaceDividends result;
    SettledRace settled;
};

struct ReviewResult {
    std::vector<ReviewedRace> races;             // by date, meeting and race
    ReviewTotals totals;                         // over races, in that order
    std::map<std::string, ReviewTotals> tracks;  // the same by meeting name
    int pendingRaces = 0;                        // run or fetched without an official result yet
    std::vector<std::string> failures;           // "address (cause)" of each page that could not be fetched
    std::vector<std::string> recordNotices;      // a damaged record set aside (names it and the new file)
    std::string recordFailure;                   // why the record could not be written; empty when it was
    bool cancelled = false;                      // stopped early: the races and totals cover what was done
};

// A review that cannot run at all: --offline and a record that cannot be read.
struct ReviewError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Races done and races to do, as the review goes; to do is known once each day's meetings are.
using ReviewProgress = std::function<void(int done, int toDo)>;

// Reads the record first and fetches only what it lacks (and records it, a day at a time).
// progress is called on the calling thread. A stop is seen between pages: the pages in flight
// end, what was fetched is recorded, and the result says cancelled. A second run resumes from
// the record. Throws ReviewError.
ReviewResult runReview(const ReviewRequest& request, const ReviewProgress& progress = {}, std::stop_token stop = {});

// Every date of a range, both ends included: "2026-12-05" for each.
std::vector<std::string> datesFromTo(const std::string& from, const std::string& to);

// The running profit in cents of one bet type after each race, in the order of races.
std::vector<Cents> runningProfit(const std::vector<ReviewedRace>& races, BetType type);

// The placings of an official result, first first; none otherwise.
std::vector<int> resultOrder(const RaceDividends& result);

// The races as CSV records, the header first: date, track (UTF-8), race, tips and result as
// numbers between blanks, the best bet, "yes" when void, then each bet type's staked and returned.
// The CLI's --races --csv and the Review window's export write the same.
std::vector<std::vector<std::string>> raceRecords(const std::vector<ReviewedRace>& races);

}  // namespace selvane
