#include "standin/RaceDay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>

#include "net/PageLoader.h"
#include "results/CheckResults.h"
#include "results/ResultParser.h"
#include "net/PageText.h"
#include "standin/Pages.h"

namespace selvane::standin {
namespace {

using text::upper;

bool has(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

TEST(Dates, ParseAndFormat) {
    struct Case {
        const char* text;
        std::optional<Date> want;
    };
    const Case cases[] = {
        {"20261206", Date{2026, 12, 6}}, {"2026-12-06", Date{2026, 12, 6}}, {"20280229", Date{2028, 2, 29}},
        {"20270229", std::nullopt},      {"20261306", std::nullopt},        {"2026120", std::nullopt},
        {"2026 12 6", std::nullopt},     {"        ", std::nullopt},        {"2026120a", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(parseDate(c.text), c.want) << c.text;
    EXPECT_EQ(yyyymmdd({2026, 1, 5}), "20260105");
    EXPECT_EQ(ddmmyyyy({2026, 1, 5}), "05/01/2026");
    EXPECT_EQ(weekday({2026, 12, 6}), 0);
    EXPECT_EQ(weekday({1970, 1, 1}), 4);
    EXPECT_EQ(addDays({2026, 12, 31}, 1), (Date{2027, 1, 1}));
    EXPECT_EQ(addDays({2028, 3, 1}, -1), (Date{2028, 2, 29}));
}

TEST(Dates, LocalTimes) {
    EXPECT_EQ(formatLocalTime(*parseLocalTime("2026-12-06T14:05")), "2026-12-06T14:05");
    EXPECT_EQ(parseLocalTime("2026-12-06T14:05:30")->seconds, 30);
    for (const char* bad : {"2026-12-06", "2026-12-06T24:00", "2026-12-06T14:60", "2026-12-32T10:00", "x"})
        EXPECT_FALSE(parseLocalTime(bad).has_value()) << bad;
}

TEST(Codes, FormCodesCarryTheirDateAndSplitFromTheRaceNumber) {
    for (const Date d : {Date{2026, 12, 6}, Date{1999, 1, 1}, Date{2100, 6, 30}}) {
        const std::string code = formCodeFor("ran", d);
        EXPECT_EQ(code.size(), 7u);
        EXPECT_TRUE(std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; }));
        EXPECT_EQ(dateOfFormCode(code), d);
        EXPECT_EQ(dateOfFormCode(upper(code)), d);
        const auto split = splitCodeAndRace(code + "10");
        ASSERT_TRUE(split.has_value());
        EXPECT_EQ(split->first, code);
        EXPECT_EQ(split->second, 10);
    }
    for (const char* bad : {"ranabcd", "7", "ranabcd100", "ranabcd0", "ran abcd7", "ranabcd7x", ""})
        EXPECT_FALSE(splitCodeAndRace(bad).has_value()) << bad;
    EXPECT_FALSE(dateOfFormCode("ranab").has_value());
}

TEST(RaceDay, SameDateAndSeedGiveTheSameDay) {
    const Date d{2026, 12, 6};
    const RaceDay a = generateRaceDay(d, 1);
    const RaceDay b = generateRaceDay(d, 1);
    const RaceDay c = generateRaceDay(d, 2);
    const LocalTime now{d, 14 * 60, 0};
    EXPECT_EQ(meetingPage(a), meetingPage(b));
    EXPECT_EQ(resultsMeetingPage(a, now), resultsMeetingPage(b, now));
    EXPECT_EQ(pricePage(a, a.meetings[2], a.meetings[2].races[3], now),
              pricePage(b, b.meetings[2], b.meetings[2].races[3], now));
    EXPECT_NE(meetingPage(a), meetingPage(c));
}

// Over three months of days, what every flow test may count on.
TEST(RaceDay, EveryDayHoldsThePromisedCases) {
    const Date first{2026, 11, 1};
    const std::regex toteCode("[A-Z]{2}"), formFigures("[0-9x]{0,5}");
    int sandownDays = 0, abandonedDays = 0, emergencies = 0, firstStarters = 0, scratched = 0;
    for (int n = 0; n < 92; ++n) {
        const Date date = addDays(first, n);
        SCOPED_TRACE(ddmmyyyy(date));
        const RaceDay day = generateRaceDay(date, 1);
        if (date.month == 12 && date.day == 25) {
            EXPECT_TRUE(day.meetings.empty());
            continue;
        }
        ASSERT_GE(day.meetings.size(), 6u);
        ASSERT_LE(day.meetings.size(), 10u);
        int small = 0, ampersands = 0, abandoned = 0;
        std::set<std::string> toteCodes, formCodes;
        for (const Meeting& m : day.meetings) {
            EXPECT_TRUE(std::regex_match(m.toteCode, toteCode)) << m.toteCode;
            EXPECT_EQ(m.resultsName, m.track + " (" + m.toteCode + ")");
            EXPECT_TRUE(toteCodes.insert(m.toteCode).second);
            EXPECT_TRUE(formCodes.insert(m.formCode).second);
            EXPECT_EQ(dateOfFormCode(m.formCode), date);
            EXPECT_GE(m.races.size(), 6u);
            EXPECT_LE(m.races.size(), 10u);
            int previousStart = 0;
            for (const Race& r : m.races) {
                EXPECT_GT(r.startMinutes, previousStart);
                EXPECT_GE(r.startMinutes, 11 * 60 + 30);
                previousStart = r.startMinutes;
                const auto starters = r.starters();
                if (starters.size() < 5) ++small;
                EXPECT_GE(starters.size(), 3u);
                EXPECT_LE(r.runners.size(), 20u);
                ampersands += has(r.trackWords, " & ");
                EXPECT_EQ(has(r.trackWords, "&"), has(r.trackWords, " & "));
                EXPECT_FALSE(has(upper(r.trackWords), "STAKES"));
                abandoned += r.abandoned;
                const auto running = std::count_if(starters.begin(), starters.end(), [](const Runner* x) { return !x->scratched; });
                EXPECT_EQ(r.placings.size(), std::min<std::size_t>(3, static_cast<std::size_t>(running)));
                std::set<int> barriers;
                for (const Runner& rn : r.runners) {
                    EXPECT_TRUE(std::regex_match(rn.form, formFigures)) << rn.form;
                    EXPECT_TRUE(barriers.insert(rn.barrier).second);
                    EXPECT_EQ(rn.number, std::to_string(rn.num) + (rn.emergency ? "e" : ""));
                    emergencies += rn.emergency;
                    firstStarters += rn.form.empty();
                    scratched += rn.scratched;
                }
            }
            if (m.name == "SANDOWN-HILLSIDE") {
                ++sandownDays;
                EXPECT_EQ(m.resultsName, "SANDOWN (MS)");
            }
        }
        EXPECT_EQ(small, 1);
        EXPECT_EQ(ampersands, 1);
        EXPECT_LE(abandoned, 1);
        abandonedDays += abandoned;
        EXPECT_EQ(isSandownDay(date, 1), day.meetings.end() != std::find_if(day.meetings.begin(), day.meetings.end(),
                                                                            [](const Meeting& m) {
                                                                                return m.track == "SANDOWN";
                                                                            }));
    }
    EXPECT_GT(sandownDays, 15);
    EXPECT_GT(abandonedDays, 10);
    EXPECT_GT(emergencies, 100);
    EXPECT_GT(firstStarters, 100);
    EXPECT_GT(scratched, 100);
}

// The results check reads the results site's meeting page and finds a meeting by its track box
// text, the first word of its form-guide name (SANDOWN read as SANDOWN-HILLSIDE); the first hit
// must be the meeting itself.
TEST(RaceDay, FirstWordsFindTheirOwnResultsMeeting) {
    for (int n = 0; n < 120; ++n) {
        const RaceDay day = generateRaceDay(addDays({2026, 10, 1}, n), 7);
        ResultTables t;
        std::string page = splitIntoLines(resultsMeetingPage(day, LocalTime{day.date, 12 * 60, 0}));
        parseResultMeetings(t, page);
        for (std::size_t i = 0; i < day.meetings.size(); ++i) {
            const std::string& name = day.meetings[i].name;
            EXPECT_EQ(findResultMeeting(t, name.substr(0, name.find(' '))), static_cast<int>(i) + 1) << name;
        }
    }
}

TEST(RaceDay, SandownDayIsKnown) {
    EXPECT_TRUE(isSandownDay({2026, 12, 5}, 1));
    const RaceDay day = generateRaceDay(2026, 12, 5, 1);
    const auto sandown = std::find_if(day.meetings.begin(), day.meetings.end(),
                                      [](const Meeting& m) { return m.name == "SANDOWN-HILLSIDE"; });
    ASSERT_NE(sandown, day.meetings.end());
    EXPECT_EQ(sandown->resultsName, "SANDOWN (MS)");
    EXPECT_FALSE(isSandownDay({2026, 12, 6}, 1));
}

TEST(Clock, ARaceMovesThroughItsStates) {
    Race race;
    race.startMinutes = 12 * 60 + 30;
    race.placings = {3, 5, 7};
    const Date d{2026, 12, 6};
    struct Case {
        LocalTime now;
        const char* want;
    };
    const Case cases[] = {
        {{d, 9 * 60, 0}, "12:30PM"},         {{d, 12 * 60 + 29, 59}, "12:30PM"}, {{d, 12 * 60 + 30, 0}, "CLOSED"},
        {{d, 12 * 60 + 31, 0}, "CLOSED"},    {{d, 12 * 60 + 32, 0}, "INTERIM"},  {{d, 12 * 60 + 36, 0}, "INTERIM"},
        {{d, 12 * 60 + 37, 0}, "3,5,7"},     {{d, 23 * 60, 0}, "3,5,7"},         {{addDays(d, 1), 0, 0}, "3,5,7"},
        {{addDays(d, -1), 23 * 60, 0}, "12:30PM"},
    };
    for (const Case& c : cases) EXPECT_EQ(resultsStateText(race, d, c.now), c.want) << formatLocalTime(c.now);
    race.abandoned = true;
    EXPECT_EQ(resultsStateText(race, d, {d, 12 * 60, 0}), "12:30PM");
    EXPECT_EQ(resultsStateText(race, d, {d, 12 * 60 + 30, 0}), "abnd");
    race.startMinutes = 13 * 60 + 5;
    EXPECT_EQ(race.toteTime(), "1:05PM");
    EXPECT_EQ(race.startTime(), "13:05");
}

TEST(Clock, PricesDriftUntilTheJumpThenHold) {
    const RaceDay day = generateRaceDay(2026, 12, 6, 1);
    const Meeting& m = day.meetings[0];
    const Race& race = m.races.back();
    const Runner* r = race.starters()[0];
    if (r->scratched) r = race.starters()[1];
    auto at = [&](int minutes) { return pricesAt(day, m, race, *r, LocalTime{day.date, minutes, 0}).tote; };
    EXPECT_EQ(at(8 * 60), at(9 * 60));
    EXPECT_NE(at(9 * 60), at(race.startMinutes));
    EXPECT_EQ(at(race.startMinutes), at(race.startMinutes + 60));
    EXPECT_EQ(at(race.startMinutes), pricesAt(day, m, race, *r, LocalTime{addDays(day.date, 3), 0, 0}).tote);
}

}  // namespace
}  // namespace selvane::standin
