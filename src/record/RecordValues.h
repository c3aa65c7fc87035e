#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace selvane::record {

// The plain values the rooms hand the record and get back from it. Texts are the page bytes as
// the program holds them; dates are ISO 8601 ("2026-12-06"), times of fetching ISO 8601 UTC.

// One page fetch: when and from which address.
struct Fetch {
    std::string at;  // "2026-12-06T03:00:05Z"
    std::string address;
};

// A race is known by its date, its meeting's name and its number.
struct RaceKey {
    std::string date;
    std::string meeting;  // the meeting's name, as the meeting page gives it
    int race = 0;
    bool operator==(const RaceKey&) const = default;
};

struct RaceInfo {
    int number = 0;
    std::string time;
    std::string track;  // the race's name
    std::string length;
};

struct Meeting {
    std::string name;
    std::string link;      // the form-guide service's link key
    std::string toteCode;  // the results site's meeting code; empty when not known
    std::vector<RaceInfo> races;
};

// The meetings of one date as one fetch of the meeting page listed them.
struct MeetingDay {
    std::string date;
    Fetch fetch;
    std::vector<Meeting> meetings;
};

struct Runner {
    std::string number;  // "5", "19e"
    std::string form, name, jockey, weight, barrier;
    bool emergency = false;
};

// A race's field as the service gave it.
struct Field {
    RaceKey race;
    Fetch fetch;
    std::vector<Runner> runners;
};

struct Tip {
    int place = 0;       // 1..5
    std::string number;  // the runner's number
    std::string name;
    int winPercent = 0;
    double rankValue = 0;
    std::string working;  // the explanation's line
};

// One tipping of a race, over its last recorded field.
struct TipRun {
    RaceKey race;
    std::string at;
    int engineVersion = 0;
    std::vector<Tip> tips;
    std::string bestBet;  // the each-way best bet's runner number; empty when none
    std::string warning;  // the warning's title; empty when none
    std::string stopped;  // why the tipping published nothing; empty when it did
    std::vector<std::string> ticked;  // runner numbers ticked off the list
};

struct PriceRow {
    std::string number, name;
    std::string best;                   // "9.20", "scr", or empty
    std::array<std::string, 7> prices;  // AUS TOTE, STAB Win, NSW Win, QLD Win, STAB PLC, NSW PLC, QLD PLC
};

struct PriceFetch {
    RaceKey race;
    Fetch fetch;
    std::vector<PriceRow> rows;
};

// The results site's state of a race; placings only once it is official.
struct Result {
    RaceKey race;
    Fetch fetch;
    std::string toteCode;
    std::string state;  // "18,17,1", "INTERIM", "2:10PM", "ABANDONED"
    std::optional<std::vector<int>> placings;
    // The place of each of placings when runners share one ("1,1,3,4": a dead heat for first);
    // empty when each has its own.
    std::vector<int> places = {};
};

// One declared dividend: "win" and "place" name one runner, the exotics their runners in order.
struct Dividend {
    std::string bet;  // win, place, quinella, exacta, trifecta, firstFour
    std::vector<int> runners;
    std::int64_t cents = 0;  // per unit of stake
    bool operator==(const Dividend&) const = default;
};

// What a race's result page declared; a later fetch replaces an earlier one whole.
struct Dividends {
    RaceKey race;
    Fetch fetch;
    std::vector<Dividend> dividends;
    std::vector<int> scratched;
};

// What one command saw, written in one transaction.
struct Batch {
    std::vector<MeetingDay> meetingDays;
    std::vector<Field> fields;
    std::vector<TipRun> tipRuns;
    std::vector<PriceFetch> prices;
    std::vector<Result> results;
    std::vector<Dividends> dividends;
    bool empty() const {
        return meetingDays.empty() && fields.empty() && tipRuns.empty() && prices.empty() && results.empty() &&
               dividends.empty();
    }
};

// Reading back.

// A date range, both ends included; a track is matched by its meeting name's first word, letter
// case ignored; race 0 is every race.
struct RaceQuery {
    std::string from, to;
    std::string track;
    int race = 0;
};

struct RaceSummary {
    std::int64_t id = 0;
    RaceKey key;
    std::string time, track, length;
    std::vector<std::string> tips;  // the last tip run's runner numbers, first tip first
    std::string bestBet;
    std::string state;  // empty when no result was recorded
    std::optional<std::vector<int>> placings;
};


struct RaceDetail {
    RaceSummary summary;
    std::optional<Field> field;  // the last one fetched
    std::vector<TipRun> tipRuns;  // oldest first
    std::vector<PriceFetch> prices;  // oldest first
    std::optional<Result> result;
    std::optional<Dividends> dividends;
};

}  // namespace selvane::record
