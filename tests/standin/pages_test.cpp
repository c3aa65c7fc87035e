// Every page type read the way the program reads it: the meeting page and the results site's
// meeting page stored by the line rule of downloadTRACK and read by the program's parsers, the
// race page through the HTML engine into the race field parser. The price and result pages,
// whose readers are not built yet, go through the engine into the walks of PageScanners.h.

#include <gtest/gtest.h>

#include <memory>
#include <regex>

#include "form/RaceFieldParser.h"
#include "form/RunnerList.h"
#include "meetings/MeetingParser.h"
#include "net/HtmlEngine.h"
#include "net/PageLoader.h"
#include "results/ResultParser.h"
#include "standin/Pages.h"
#include "standin/RaceDay.h"
#include "PageScanners.h"

namespace selvane::standin {
namespace {

using test::has;

std::string stored(const std::string& raw) { return splitIntoLines(raw); }
std::string engine(const std::string& raw) { return normalisePage(raw).markup + "\r\n"; }

// The runner table as choosing the race leaves it.
std::unique_ptr<RunnerTable> parsedField(const RaceDay& day, const Meeting& m, const Race& race) {
    auto table = std::make_unique<RunnerTable>();
    std::string page = engine(racePage(day, m, race));
    EXPECT_EQ(parseRaceField(*table, page), FieldParseEnd::SecondRule);
    return table;
}

// A spread of days: weekdays and weekends, a Sandown day, month and year ends, a leap day, and
// Christmas Day, which has no racing.
const Date kDays[] = {{2026, 12, 6}, {2026, 12, 5}, {2026, 11, 30}, {2027, 1, 1},
                      {2028, 2, 29}, {2026, 7, 14}, {2026, 12, 25}};

void expectMeetings(const MeetingTables& t, const RaceDay& day) {
    ASSERT_EQ(t.meetingCounter - 1, static_cast<int>(day.meetings.size()));
    for (std::size_t i = 0; i < day.meetings.size(); ++i) {
        const Meeting& m = day.meetings[i];
        EXPECT_EQ(t.meetingNames[i + 1], m.name);
        EXPECT_EQ(t.meetingLinks[i + 1], "m" + m.formCode);
        EXPECT_EQ(t.meetingLastRace[i + 1], static_cast<float>(m.races.size()));
        for (const Race& r : m.races) {
            const RaceRow& row = t.raceTable[i + 1][static_cast<std::size_t>(r.number)];
            EXPECT_EQ(row.number, std::to_string(r.number));
            EXPECT_EQ(row.time, r.startTime());
            EXPECT_EQ(row.track, r.trackWords + " ");  // a bare "&" stays bare
            EXPECT_EQ(row.length, r.lengthText());
        }
    }
}

// All three walks the program makes over a stored meeting page.
TEST(MeetingPage, ReadsIntoTheDatesAndMeetingsOfTheDay) {
    for (const Date& date : kDays) {
        SCOPED_TRACE(ddmmyyyy(date));
        const RaceDay day = generateRaceDay(date, 1);
        const std::string page = stored(meetingPage(day));
        auto full = std::make_unique<MeetingTables>(), meetingsOnly = std::make_unique<MeetingTables>(),
             firstDates = std::make_unique<MeetingTables>();
        parseMeetingList(page, *full);
        parseMeetingsOnly(page, *meetingsOnly);
        collectDateOptions(page, *firstDates);
        // The list runs on to two days ahead, but the selected day ends the full walk's dates.
        std::array<std::string, MeetingTables::kDates> dates{};
        for (int i = 0; i < 8; ++i) dates[static_cast<std::size_t>(i)] = ddmmyyyy(addDays(date, i - 7));
        EXPECT_EQ(full->meetingDates, dates);
        EXPECT_EQ(full->selectedDateIndex, 7);
        std::fill(dates.begin() + 5, dates.end(), "");
        EXPECT_EQ(firstDates->meetingDates, dates);
        expectMeetings(*full, day);
        expectMeetings(*meetingsOnly, day);
    }
}

TEST(MeetingPage, HoldsTheExactMarkersAndNoIndentation) {
    const std::string page = meetingPage(generateRaceDay(2026, 12, 6, 1));
    EXPECT_TRUE(has(page, "\n<SELECT NAME=\"DATE\" ONCHANGE=\"NEWDATE(THIS);\" SIZE=\"1\">\n") ||
                has(page, "<TD><SELECT NAME=\"DATE\" ONCHANGE=\"NEWDATE(THIS);\" SIZE=\"1\">\n"));
    EXPECT_TRUE(has(page, "<OPTION SELECTED VALUE=\"20261206\">06/12/2026\n"));
    EXPECT_TRUE(has(page, ">3. Click GO to have your data delivered to you.<"));
    EXPECT_TRUE(has(page, "\n</FORM>\n"));
    // Every line starts with a tag: a blank before it would be a text to the scanner.
    std::size_t lines = 0;
    for (std::size_t at = 0; at < page.size(); at = page.find('\n', at) + 1, ++lines) {
        if (page[at] == '\n') continue;
        if (page.compare(at, 8, "function") == 0) continue;  // the script's one line
        EXPECT_EQ(page[at], '<') << page.substr(at, page.find('\n', at) - at);
    }
    EXPECT_GT(lines, 20u);
}

TEST(RacePage, EveryRunnerRowComesOutAsTheParserFilesIt) {
    for (const Date& date : kDays) {
        const RaceDay day = generateRaceDay(date, 1);
        for (const Meeting& m : day.meetings) {
            for (const Race& race : m.races) {
                SCOPED_TRACE(m.formCode + std::to_string(race.number));
                const auto t = parsedField(day, m, race);
                EXPECT_EQ(t->raceDetails[3], std::to_string(race.distance));
                ASSERT_EQ(t->runnerCount(), static_cast<int>(race.runners.size()));
                const std::vector<RunnerEntry> entries = runnerEntries(*t);
                for (std::size_t i = 0; i < race.runners.size(); ++i) {
                    const Runner& r = race.runners[i];
                    const RunnerRow& row = t->runnerRows[i + 1];
                    EXPECT_EQ(row.number, r.number);
                    EXPECT_EQ(row.form, r.form.empty() ? "\\~" : r.form);
                    // The link rule: name, the joining blank, then " (5)" with its own blank.
                    EXPECT_EQ(row.horse, r.name + "  (" + std::to_string(r.barrier) + ")");
                    EXPECT_EQ(row.jockey, r.jockey);
                    EXPECT_EQ(row.weight, r.weight);
                    EXPECT_EQ(row.api, r.api);
                    EXPECT_EQ(row.win, std::to_string(r.wins));
                    EXPECT_EQ(row.place, std::to_string(r.places));
                    EXPECT_EQ(row.stakes, r.stakes);
                    EXPECT_EQ(entries[i].name, r.name);
                    EXPECT_EQ(entries[i].barrier, std::to_string(r.barrier));
                }
            }
        }
    }
}

TEST(RacePage, EngineMarkupHasTheHeaderCellsAndTwoRules) {
    const RaceDay day = generateRaceDay(2026, 12, 6, 1);
    const std::string markup = engine(racePage(day, day.meetings[0], day.meetings[0].races[0]));
    EXPECT_TRUE(has(markup, "<tr><th>No.</th><th>Form</th><th>Horse Name (Barrier)</th><th>Jockey</th><th>Wgt.</th>"
                            "<th>API</th><th>Win</th><th>Pl.</th><th>Stakes</th></tr>"));
    EXPECT_FALSE(has(markup, "<tbody>"));
    const auto first = markup.find("<hr>");
    const auto second = markup.find("<hr>", first + 1);
    ASSERT_NE(second, std::string::npos);
    const auto runners = markup.find("<th>No.</th>");
    EXPECT_LT(first, runners);
    EXPECT_LT(runners, second);
    EXPECT_TRUE(std::regex_search(markup, std::regex("</a> \\(\\d{1,2}\\)</td>")));
}

TEST(PricePage, FiltersIntoTwelveCellsPerStarter) {
    for (const Date& date : kDays) {
        const RaceDay day = generateRaceDay(date, 1);
        const LocalTime now{date, 13 * 60, 0};
        for (const Meeting& m : day.meetings) {
            for (const Race& race : m.races) {
                SCOPED_TRACE(m.formCode + std::to_string(race.number));
                // The runner list holds every row of the race page, emergencies included.
                const int listed = parsedField(day, m, race)->runnerCount();
                const test::OddsScan scan = test::scanPricePage(engine(pricePage(day, m, race, now)), listed);
                ASSERT_EQ(scan.failure, "");
                const auto starters = race.starters();
                EXPECT_EQ(scan.finishedByPercentages, starters.size() < race.runners.size());
                EXPECT_EQ(scan.finishedByCount, starters.size() == race.runners.size());
                for (std::size_t i = 0; i < starters.size(); ++i) {
                    const Runner& r = *starters[i];
                    const RunnerPrices p = pricesAt(day, m, race, r, now);
                    const std::array<std::string, 12> want = {r.number,   r.name,     std::to_string(r.barrier),
                                                              r.weight,   p.tote[0],  p.tote[1],
                                                              p.tote[2],  p.tote[3],  p.allPlace,
                                                              p.tote[4],  p.tote[5],  p.tote[6]};
                    EXPECT_EQ(scan.rows[i], want);
                }
                for (std::size_t i = starters.size(); i < scan.rows.size(); ++i)
                    EXPECT_EQ(scan.rows[i], (std::array<std::string, 12>{}));
            }
        }
    }
}

TEST(PricePage, CellsAreDecimalPricesOrNaOrScr) {
    const RaceDay day = generateRaceDay(2026, 12, 6, 1);
    const std::regex price("\\d+\\.\\d\\d");
    int scratched = 0, na = 0;
    for (const Meeting& m : day.meetings)
        for (const Race& race : m.races)
            for (const Runner* r : race.starters()) {
                const RunnerPrices p = pricesAt(day, m, race, *r, LocalTime{day.date, 12 * 60, 0});
                for (const std::string& cell : p.tote) {
                    EXPECT_TRUE(cell == "n/a" || cell == "scr" || std::regex_match(cell, price)) << cell;
                    scratched += cell == "scr";
                    na += cell == "n/a";
                }
                EXPECT_EQ(r->scratched, p.tote[0] == "scr");
            }
    EXPECT_GT(scratched, 0);
    EXPECT_GT(na, 0);
}

TEST(PricePage, HeadingsColoursAndPercentages) {
    const RaceDay day = generateRaceDay(2026, 12, 6, 1);
    const Meeting& m = day.meetings[0];
    const std::string markup = engine(pricePage(day, m, m.races[0], LocalTime{day.date, 15 * 60, 0}));
    EXPECT_TRUE(has(markup, "<tr><td>#</td><td>Name</td><td>Bar</td><td>Wgt</td><td>AUS TOTE</td><td>STAB Win</td>"
                            "<td>NSW Win</td><td>QLD Win</td><td>AUS PLC</td><td>STAB PLC</td><td>NSW PLC</td>"
                            "<td>QLD PLC</td></tr>"));
    EXPECT_TRUE(has(markup, "<b>PERCENTAGES</b>"));
    EXPECT_TRUE(has(markup, "bgcolor=\"#ffd700\""));
    EXPECT_TRUE(has(markup, "bgcolor=\"#87cefa\""));
    EXPECT_TRUE(has(markup, "bgcolor=\"#80ff80\""));
}

TEST(ResultsMeetingPage, ReadsIntoTheMeetingsWithTheirStates) {
    for (const Date& date : kDays) {
        SCOPED_TRACE(ddmmyyyy(date));
        const RaceDay day = generateRaceDay(date, 1);
        const LocalTime now{date, 14 * 60 + 30, 0};
        ResultTables t;
        std::string page = stored(resultsMeetingPage(day, now));
        parseResultMeetings(t, page);
        ASSERT_EQ(t.resultMeetingCount, static_cast<int>(day.meetings.size()));
        for (std::size_t i = 0; i < day.meetings.size(); ++i) {
            const Meeting& m = day.meetings[i];
            EXPECT_EQ(t.resultMeetingNames[i + 1], m.resultsName);
            EXPECT_EQ(t.resultRecords[i + 1].codes, std::vector<std::string>{m.toteCode});
            std::vector<std::string> states;
            for (const Race& r : m.races) states.push_back(resultsStateText(r, date, now));
            EXPECT_EQ(t.resultRecords[i + 1].results, states);
        }
    }
}

TEST(ResultsMeetingPage, HasTheSectionsAndCellShapes) {
    const RaceDay day = generateRaceDay(2026, 12, 6, 1);
    const std::string page = resultsMeetingPage(day, LocalTime{day.date, 12 * 60, 0});
    const auto races = page.find(">RACES<");
    const auto trots = page.find(">TROTS<");
    const auto dogs = page.find(">GREYHOUNDS<");
    ASSERT_NE(races, std::string::npos);
    EXPECT_LT(races, trots);
    EXPECT_LT(trots, dogs);
    const Meeting& m = day.meetings[0];
    EXPECT_TRUE(has(page, "<td class='location'> <a href=\"" + m.toteCode + "01.html\">" + m.resultsName + "</a></td>"));
    EXPECT_TRUE(has(page, "<a href=\"" + m.toteCode + "01.html\">" + m.races[0].toteTime() + "</a>"));
    std::size_t headers = 0;
    for (auto at = page.find("<th class=\"ROWHDR\">"); at < races + (trots - races); at = page.find("<th class=\"ROWHDR\">", at + 1))
        ++headers;
    EXPECT_EQ(headers, 13u);
    // The one blank between two tags is the name cell's; every line starts with a tag.
    const std::string joined = stored(page);
    std::size_t blanks = 0;
    const std::regex blank(">[ \t]+<");
    for (std::sregex_iterator it(joined.begin(), joined.end(), blank), end; it != end; ++it) {
        EXPECT_EQ(it->str(), "> <");
        ++blanks;
    }
    EXPECT_EQ(blanks, day.meetings.size() + day.trots.size() + day.greyhounds.size());
    for (std::size_t at = 0; at < page.size(); at = page.find('\n', at) + 1) EXPECT_EQ(page[at], '<');
}

TEST(ResultPage, CopiesFiveTablesIntoTheResultsPage) {
    const RaceDay day = generateRaceDay(2026, 12, 6, 1);
    for (const Meeting& m : day.meetings) {
        for (const Race& race : m.races) {
            SCOPED_TRACE(m.toteCode + std::to_string(race.number));
            const std::string raw = resultPage(day, m, race, LocalTime{day.date, 23 * 60, 0});
            const test::ResultPageScan scan = test::scanResultPage(engine(raw));
            EXPECT_TRUE(scan.ended);
            EXPECT_EQ(scan.tableStarts, 5);
            EXPECT_EQ(scan.lines.front(), "<table width=\"100%\" border=\"1\" cellpadding=\"0\">");
            EXPECT_EQ(scan.lines.back(), "</table>");
            EXPECT_TRUE(has(raw, "<table width=\"100%\" border=1 cellpadding=0>\n"));
            if (!race.abandoned) {
                const Runner* winner = nullptr;
                for (const Runner& r : race.runners)
                    if (!r.emergency && r.num == race.placings[0]) winner = &r;
                ASSERT_NE(winner, nullptr);
                EXPECT_NE(std::find(scan.lines.begin(), scan.lines.end(), winner->name), scan.lines.end());
            }
        }
    }
}

TEST(ResultPage, NoneBeforeTheJump) {
    const RaceDay day = generateRaceDay(2026, 12, 6, 1);
    const Race& race = day.meetings[0].races[0];
    EXPECT_EQ(resultPage(day, day.meetings[0], race, LocalTime{day.date, race.startMinutes - 1, 0}), "");
    EXPECT_NE(resultPage(day, day.meetings[0], race, LocalTime{day.date, race.startMinutes, 0}), "");
}

TEST(MakerSite, AdvertIsSmallWithBlankLinesAndMixedLineEnds) {
    const std::string ad = advertPage("http://127.0.0.1:1/maker/");
    EXPECT_LT(ad.size(), 32767u);
    EXPECT_TRUE(has(ad, "\r\n"));
    EXPECT_TRUE(has(ad, "\n\n"));
    EXPECT_TRUE(std::regex_search(ad, std::regex("\r[^\n]")));
    EXPECT_NE(ad.back(), '\n');
    EXPECT_TRUE(has(ad, "href=\"http://127.0.0.1:1/maker/\""));
    // Stored line by line, the blank lines vanish and the unterminated last line is lost.
    EXPECT_FALSE(has(stored(ad), "<!-- adsbase -->"));
    EXPECT_TRUE(has(stored(ad), "</html>\r\n"));
}

TEST(Pages, Latin1StyleIsNotUtf8AndPlainIsAscii) {
    const RaceDay day = generateRaceDay(2026, 12, 6, 1);
    const Meeting& m = day.meetings[0];
    const Race& race = m.races[0];
    const LocalTime now{day.date, 23 * 60, 0};
    const std::string pages[] = {meetingPage(day), racePage(day, m, race), pricePage(day, m, race, now),
                                 resultsMeetingPage(day, now), resultPage(day, m, race, now)};
    for (const std::string& p : pages)
        EXPECT_TRUE(std::all_of(p.begin(), p.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
    const PageStyle latin1{true};
    const std::string odd[] = {meetingPage(day, latin1), racePage(day, m, race, latin1),
                               pricePage(day, m, race, now, latin1), resultsMeetingPage(day, now, latin1),
                               resultPage(day, m, race, now, latin1)};
    for (const std::string& p : odd) EXPECT_FALSE(isValidUtf8(p));
}

}  // namespace
}  // namespace selvane::standin
