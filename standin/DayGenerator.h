#pragma once

// A race day of the stand-in services as plain values, generated deterministically from the date
// and a seed. What every generated day holds (flow tests rely on it):
//   - 6 to 10 meetings on Australian tracks, 6 to 10 races each, start times through the afternoon;
//   - exactly one race with fewer than five runners (3 or 4, no emergencies);
//   - exactly one race whose track words hold a bare " & " (the raw meeting page does not encode it);
//   - fields of 14 or more carry one or two emergencies numbered after the field ("15e");
//   - first starters (empty form), scratchings, forms of up to five figures with "0" and "x";
//   - results drawn by chances that follow form, barrier and a hidden ability (RaceModel.h);
//   - a Sandown day (isSandownDay) lists "SANDOWN-HILLSIDE" on the form guide, "SANDOWN (MS)" on
//     the results site; about one day in three has one abandoned race (results "abnd").
// 25 December is a day without racing: no meetings at all.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "standin/RaceDates.h"

namespace selvane::standin {

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
    double ability = 0;   // hidden, 0 to 1: what the form does not show
    double strength = 1;  // chance weight (RaceModel.h): prices and the result follow it
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
    std::vector<int> finish;      // runner numbers of every runner that ran, in finishing order
    std::vector<int> placings;    // the first three of them (fewer in tiny fields)
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

}  // namespace selvane::standin
