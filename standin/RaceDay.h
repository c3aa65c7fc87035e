#pragma once

// A race day of the stand-in services as plain values, generated deterministically from the date
// and a seed. What every generated day holds (flow tests rely on it):
//   - 6 to 10 meetings on Australian tracks, 6 to 10 races each, start times through the afternoon;
//   - exactly one race with fewer than five runners (3 or 4, no emergencies);
//   - exactly one race whose track words hold a bare " & " (the raw meeting page does not encode it);
//   - fields of 14 or more carry one or two emergencies numbered after the field ("15e");
//   - first starters (empty form), scratchings, forms of up to five figures with "0" and "x";
//   - a Sandown day (isSandownDay) lists "SANDOWN-HILLSIDE" on the form guide, "SANDOWN (MS)" on
//     the results site; about one day in three has one abandoned race (results "abnd").
// 25 December is a day without racing: no meetings at all.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace selvane::standin {

struct Date {
    int year = 2026;
    int month = 1;
    int day = 1;
    friend bool operator==(const Date&, const Date&) = default;
    friend auto operator<=>(const Date&, const Date&) = default;
};

// Days since 1970-01-01 (proleptic Gregorian) and back.
long daysFromCivil(const Date& d);
Date civilFromDays(long days);
bool isValidDate(const Date& d);
Date addDays(const Date& d, long n);
int weekday(const Date& d);  // 0 = Sunday

// "yyyymmdd" or "yyyy-mm-dd"; nullopt when it is not a real date.
std::optional<Date> parseDate(std::string_view text);
std::string yyyymmdd(const Date& d);
std::string ddmmyyyy(const Date& d);  // "06/12/2026", as the meeting page's date list shows it

// A local wall-clock moment: the day and the minute of that day.
struct LocalTime {
    Date date;
    int minutes = 0;  // 0..1439
    int seconds = 0;
};
// "2026-12-06T14:00" or "2026-12-06T14:00:30"
std::optional<LocalTime> parseLocalTime(std::string_view text);
LocalTime systemLocalTime();
std::string formatLocalTime(const LocalTime& t);  // "2026-12-06T14:00"

struct Runner {
    std::string number;  // "7"; emergencies "15e"
    int num = 0;
    bool emergency = false;
    std::string form;    // "" for a first starter
    std::string name;    // upper case
    int barrier = 0;
    std::string jockey;
    std::string weight;  // "58.5"
    std::string api;     // average prize per start, whole dollars
    int wins = 0;
    int places = 0;
    std::string stakes;  // "$125,400"
    bool scratched = false;
    double strength = 1;  // market share before margin, used for prices and the result
};

// The seven tote price columns of the price page, in page order.
inline constexpr std::array<const char*, 7> kToteColumns = {"AUS TOTE", "STAB Win", "NSW Win", "QLD Win",
                                                            "STAB PLC", "NSW PLC", "QLD PLC"};

struct Race {
    int number = 0;
    int startMinutes = 0;     // minutes after local midnight
    std::string trackWords;   // "MAIDEN PLATE", the race list's middle words
    int distance = 1200;      // metres
    std::vector<Runner> runners;  // starters by number, then emergencies
    bool abandoned = false;
    std::vector<int> placings;    // runner numbers, first to third (fewer in tiny fields)
    std::string prizemoney;       // "$35,000"

    std::string startTime() const;    // "12:45" (24-hour), the meeting page's form
    std::string toteTime() const;     // "12:45PM", the results site's form
    std::string lengthText() const;   // "1200m"
    std::vector<const Runner*> starters() const;  // not emergencies
};

struct Meeting {
    std::string name;          // form guide meeting name, "MOONEE VALLEY", "SANDOWN-HILLSIDE"
    std::string track;         // full track name for pages, "MOONEE VALLEY", "SANDOWN"
    std::string state;         // "VIC"
    std::string formCode;      // letters only, lower case: the race page is formCode + race number
    std::string resultsName;   // "SANDOWN (MS)"
    std::string toteCode;      // "MS", unique within the day
    std::string going;         // "GOOD 4"
    std::string rail;
    std::vector<Race> races;   // race k at index k - 1
    std::array<bool, 7> columnOpen{};  // a tote that has no pool on this meeting shows "n/a"
};

// A trots or greyhound meeting of the results site: only listed there.
struct OtherMeeting {
    std::string resultsName;  // "MENANGLE (NM)"
    std::string toteCode;
    std::vector<int> startMinutes;
};

struct RaceDay {
    Date date;
    std::uint32_t seed = 1;
    std::vector<Meeting> meetings;
    std::vector<OtherMeeting> trots;
    std::vector<OtherMeeting> greyhounds;

    const Meeting* findByFormCode(std::string_view code) const;  // letter case ignored
    const Meeting* findByToteCode(std::string_view code) const;  // letter case ignored
};

RaceDay generateRaceDay(int year, int month, int day, std::uint32_t seed);
RaceDay generateRaceDay(const Date& date, std::uint32_t seed);

// One day in four, by date and seed; "2026-12-05 with seed 1" is one.
bool isSandownDay(const Date& date, std::uint32_t seed);

// Form guide meeting codes carry their date, so a race page address (which has no date) names
// one day: three track letters and four letters for the day number.
std::string formCodeFor(std::string_view trackLetters, const Date& date);
std::optional<Date> dateOfFormCode(std::string_view code);

// Splits "ranbdfa7" into code and race number; nullopt when it is not letters then 1 or 2 digits.
std::optional<std::pair<std::string, int>> splitCodeAndRace(std::string_view text);

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
