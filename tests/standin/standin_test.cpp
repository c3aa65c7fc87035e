// The stand-in services as the program meets them: over loopback HTTP through its own fetcher,
// read back by its own parsers.

#include <gtest/gtest.h>
#include <httplib.h>

#include <future>
#include <regex>
#include <set>
#include <thread>

#include "form/RaceFieldParser.h"
#include "meetings/MeetingParser.h"
#include "net/Fetcher.h"
#include "net/HtmlEngine.h"
#include "net/PageLoader.h"
#include "results/CheckResults.h"
#include "results/ResultParser.h"
#include "standin/Pages.h"
#include "standin/Server.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane::standin {
namespace {

bool has(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }
std::string engine(const std::string& raw) { return normalisePage(raw).markup + "\r\n"; }

FetchLimits limits(int totalMs = 3000, std::size_t maxBytes = 16u << 20) {
    FetchLimits l;
    l.connect = std::chrono::milliseconds(1000);
    l.total = std::chrono::milliseconds(totalMs);
    l.maxBytes = maxBytes;
    return l;
}

// The cell texts, inner tags dropped, of each row of the n-th table (from 0) of a page.
std::vector<std::vector<std::string>> tableRows(const std::string& markup, int n) {
    auto at = markup.find("<table");
    for (int i = 0; i < n; ++i) at = markup.find("<table", at + 1);
    const auto end = markup.find("</table>", at);
    std::vector<std::vector<std::string>> rows;
    for (at = markup.find("<tr", at); at < end; at = markup.find("<tr", at + 1)) {
        auto& cells = rows.emplace_back();
        for (auto c = markup.find("<td", at); c < markup.find("</tr>", at); c = markup.find("<td", c + 1)) {
            std::string& text = cells.emplace_back();
            for (auto p = markup.find('>', c) + 1, cellEnd = markup.find("</td>", c); p < cellEnd; ++p) {
                if (markup[p] == '<') p = markup.find('>', p);
                else text += markup[p];
            }
        }
    }
    return rows;
}

class StandinTest : public ::testing::Test {
protected:
    StandinTest() : server(options()) { server.start(); }
    static Options options(std::uint32_t seed = 1) {
        Options o;
        o.now = "2026-12-06T14:00";
        o.seed = seed;
        o.slowMs = 600;
        o.oversizeBytes = 300'000;
        return o;
    }
    FetchResult get(const std::string& target, const FetchLimits& l = limits()) {
        return fetchUrl(server.formGuideUrl() + target, l);
    }
    void setClock(int minutes) {
        char now[32];
        std::snprintf(now, sizeof now, "2026-12-06T%02d:%02d", minutes / 60, minutes % 60);
        server.setNow(now);
    }
    const RaceDay day = generateRaceDay(2026, 12, 6, 1);
    Server server;
};

// Weekdays and weekends, a Sandown day, month and year ends, a leap day, Christmas (no racing).
TEST_F(StandinTest, MeetingPagesReadIntoTheDayThroughTheMeetingParser) {
    EXPECT_EQ(get("/cgi-bin/tvf/access.pl").body, get("/cgi-bin/tvf/access.pl?20261206").body);
    for (const Date date : {Date{2026, 12, 6}, Date{2026, 12, 5}, Date{2026, 11, 30}, Date{2027, 1, 1},
                            Date{2028, 2, 29}, Date{2026, 12, 25}}) {
        SCOPED_TRACE(ddmmyyyy(date));
        const RaceDay d = generateRaceDay(date, 1);
        const std::string page = splitIntoLines(get("/cgi-bin/tvf/access.pl?" + yyyymmdd(date)).body);
        auto full = std::make_unique<MeetingTables>(), only = std::make_unique<MeetingTables>();
        parseMeetingList(page, *full);
        parseMeetingsOnly(page, *only);
        // A week before, then the day itself, which ends the walk (two later days follow on the page).
        std::array<std::string, MeetingTables::kDates> dates{};
        for (int i = 0; i < 8; ++i) dates[static_cast<std::size_t>(i)] = ddmmyyyy(addDays(date, i - 7));
        EXPECT_EQ(full->meetingDates, dates);
        EXPECT_EQ(full->selectedDateIndex, 7);
        for (const MeetingTables* t : {full.get(), only.get()}) {
            ASSERT_EQ(t->meetingCounter - 1, static_cast<int>(d.meetings.size()));
            for (std::size_t i = 0; i < d.meetings.size(); ++i) {
                const Meeting& m = d.meetings[i];
                EXPECT_EQ(t->meetingNames[i + 1], m.name);
                EXPECT_EQ(t->meetingLinks[i + 1], "m" + m.formCode);
                EXPECT_EQ(t->meetingLastRace[i + 1], static_cast<float>(m.races.size()));
                for (const Race& r : m.races) {
                    const RaceRow& row = t->raceTable[i + 1][static_cast<std::size_t>(r.number)];
                    EXPECT_EQ(std::tie(row.time, row.length), std::make_tuple(r.startTime(), r.lengthText()));
                    EXPECT_EQ(row.track, r.trackWords + " ");  // a bare "&" stays bare
                }
            }
        }
    }
}

// Race pages through the race field parser; price pages hold a row per starter (so fewer rows
// than the race page when it lists emergencies) and end at their PERCENTAGES row.
TEST_F(StandinTest, RaceAndPricePagesOfADay) {
    int withEmergencies = 0, firstStarters = 0;
    for (const Meeting& m : day.meetings) {
        for (const Race& race : m.races) {
            const std::string code = m.formCode + std::to_string(race.number);
            SCOPED_TRACE(code);
            RunnerTable field;
            std::string racePage = engine(get("/cgi-bin/tvf/memdeliver.pl/" + code + ".htm?tvf3").body);
            EXPECT_EQ(parseRaceField(field, racePage), FieldParseEnd::SecondRule);
            EXPECT_EQ(field.raceDetails[3], std::to_string(race.distance));
            ASSERT_EQ(field.runnerCount(), static_cast<int>(race.runners.size()));
            for (std::size_t i = 0; i < race.runners.size(); ++i) {
                const Runner& r = race.runners[i];
                const RunnerRow& row = field.runnerRows[i + 1];
                EXPECT_EQ(std::tie(row.number, row.jockey, row.weight, row.api, row.stakes),
                          std::tie(r.number, r.jockey, r.weight, r.api, r.stakes));
                EXPECT_EQ(row.form, r.form.empty() ? "\\~" : r.form);
                firstStarters += r.form.empty();
                EXPECT_EQ(row.horse, r.name + "  (" + std::to_string(r.barrier) + ")");
            }
            const std::string prices = engine(get("/cgi-bin/tvf/memdispodds.pl/" + code + "?rto").body);
            EXPECT_EQ(tableRows(prices, 0).size(), 1u);  // its "</table>" opens the odds filter's page
            const auto rows = tableRows(prices, 1);
            const auto starters = race.starters();
            withEmergencies += starters.size() < race.runners.size();
            ASSERT_EQ(rows.size(), 4 + starters.size() + 1);
            EXPECT_EQ(rows[3], (std::vector<std::string>{"#", "Name", "Bar", "Wgt", "AUS TOTE", "STAB Win", "NSW Win",
                                                         "QLD Win", "AUS PLC", "STAB PLC", "NSW PLC", "QLD PLC"}));
            EXPECT_EQ(rows.back().front(), "PERCENTAGES");
        }
    }
    EXPECT_TRUE(withEmergencies > 0 && firstStarters > 0);
}

// Over three months: what flow tests count on, and the results meeting page read back, where the
// first word of a meeting's form-guide name finds that meeting first (the results check's look-up).
TEST(Pages, EveryDayHoldsThePromisedCasesAndReadsBackFromTheResultsSite) {
    int sandownDays = 0, abandonedDays = 0;
    for (int n = 0; n < 92; ++n) {
        const RaceDay d = generateRaceDay(addDays({2026, 11, 1}, n), 1);
        SCOPED_TRACE(ddmmyyyy(d.date));
        EXPECT_EQ(d.meetings.empty(), (d.date == Date{2026, 12, 25}));
        ResultTables t;
        std::string page = splitIntoLines(resultsMeetingPage(d, LocalTime{d.date, 14 * 60 + 30, 0}));
        parseResultMeetings(t, page);
        ASSERT_EQ(t.resultMeetingCount, static_cast<int>(d.meetings.size()));
        int small = 0, ampersands = 0, abandoned = 0, sandown = 0;
        for (std::size_t i = 0; i < d.meetings.size(); ++i) {
            const Meeting& m = d.meetings[i];
            EXPECT_EQ(t.resultMeetingNames[i + 1], m.resultsName);
            EXPECT_EQ(t.resultRecords[i + 1].codes, std::vector<std::string>{m.toteCode});
            EXPECT_EQ(findResultMeeting(t, m.name.substr(0, m.name.find(' '))), static_cast<int>(i) + 1) << m.name;
            sandown += m.name == "SANDOWN-HILLSIDE" && m.resultsName == "SANDOWN (MS)";
            for (const Race& r : m.races) {
                small += r.starters().size() < 5;
                EXPECT_GE(r.starters().size(), 3u);
                ampersands += has(r.trackWords, " & ");
                EXPECT_EQ(has(r.trackWords, "&"), has(r.trackWords, " & "));
                abandoned += r.abandoned;
            }
        }
        const int one = d.meetings.empty() ? 0 : 1;
        EXPECT_EQ(std::make_tuple(small, ampersands, sandown), std::make_tuple(one, one, isSandownDay(d.date, 1) ? one : 0));
        EXPECT_LE(abandoned, 1);
        sandownDays += sandown;
        abandonedDays += abandoned;
    }
    EXPECT_TRUE(isSandownDay({2026, 12, 5}, 1) && !isSandownDay({2026, 12, 6}, 1));
    EXPECT_GT(sandownDays, 15);
    EXPECT_GT(abandonedDays, 10);
}

// Once run, a race has a page of six tables that the results copy recognises (it keeps five),
// with the placed runners in them.
TEST_F(StandinTest, ResultPagesHoldTheTablesTheResultsCopyKeeps) {
    server.setNow("2026-12-06T23:00");
    for (const Meeting& m : day.meetings) {
        for (const Race& race : m.races) {
            const std::string name = m.toteCode + (race.number < 10 ? "0" : "") + std::to_string(race.number) + ".html";
            SCOPED_TRACE(name);
            const FetchResult r = get("/tote/2026/12/06/" + name);
            ASSERT_EQ(r.status, 200);
            const std::string markup = engine(r.body);
            auto count = [&](const std::string& part) {
                int n = 0;
                for (auto at = markup.find(part); at != std::string::npos; at = markup.find(part, at + 1)) ++n;
                return n;
            };
            EXPECT_EQ(count("<table width=\"100%\" border=\"1\" cellpadding=\"0\">"), 6);
            EXPECT_EQ(count("</table>"), 6);
            for (int place : race.abandoned ? std::vector<int>{} : race.placings)
                EXPECT_TRUE(has(markup, "<td>" + race.runners[static_cast<std::size_t>(place - 1)].name + "</td>"));
        }
    }
}

TEST_F(StandinTest, MakersAdvertIsShortWithMixedLineEndsAndBlankLines) {
    const FetchResult ad = get("/maker/adsbase.html");
    EXPECT_EQ(ad.contentType, "text/html");
    EXPECT_LT(ad.body.size(), 32767u);
    EXPECT_TRUE(has(ad.body, "\r\n") && has(ad.body, "\n\n") && std::regex_search(ad.body, std::regex("\r[^\n]")));
    EXPECT_TRUE(ad.body.ends_with("</html>\n<!-- adsbase -->"));  // the last line has no line end
    EXPECT_TRUE(has(ad.body, "href=\"" + server.makerSiteUrl() + "\""));
    EXPECT_TRUE(has(get("/maker/").body, "href=\"" + server.makerSiteUrl() + "adsbase.html\""));
}

TEST_F(StandinTest, AnythingElseIsNotFoundAndOverridesWinUntilCleared) {
    const std::string code = day.meetings[0].formCode, tote = day.meetings[0].toteCode;
    const std::string missing[] = {
        "/nothing", "/cgi-bin/tvf/access.pl?20270229", "/cgi-bin/tvf/access.pl?%20%20%20%20%20%20%20%20",
        "/cgi-bin/tvf/memdeliver.pl/" + code + "11.htm?tvf3", "/cgi-bin/tvf/memdispodds.pl/" + code + "?rto",
        "/tote/2026/13/06/mtgraces.html", "/tote/2026/12/07/" + tote + "01.html",  // tomorrow: not run yet
        "/maker/other.html",
    };
    for (const std::string& t : missing) {
        EXPECT_EQ(get(t).status, 404) << t;
        EXPECT_TRUE(has(server.reply(t).body, "Not Found")) << t;
    }
    const std::string race = "/cgi-bin/tvf/memdeliver.pl/" + code + "1.htm?tvf3";
    server.setOverride(race, "gone", 404);
    server.setOverride("/extra.html", "<html>extra</html>");
    EXPECT_EQ(std::make_pair(get(race).status, server.reply(race).body), std::make_pair(404L, std::string("gone")));
    EXPECT_EQ(server.reply("/extra.html").body, "<html>extra</html>");
    server.clearOverrides();
    EXPECT_EQ(std::make_pair(get(race).status, get("/extra.html").status), std::make_pair(200L, 404L));
    // Whatever the client accepts, bodies go out uncompressed.
    httplib::Client raw("127.0.0.1", server.port());
    raw.set_decompress(false);
    const auto plain = raw.Get("/cgi-bin/tvf/access.pl", {{"Accept-Encoding", "gzip, deflate, br"}});
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->has_header("Content-Encoding"));
    EXPECT_EQ(plain->body, meetingPage(day));
}

// One row per fault mode; a fault that names a service or a page leaves the rest working.
TEST_F(StandinTest, FaultTable) {
    enum class Body { Whole, NotUtf8, Padded, None };
    struct Row {
        Fault fault;
        std::string onlyPath, target;
        FetchLimits limits;
        long status;
        std::string error;  // the fetch's cause; empty when the fetch succeeds
        Body body;
    };
    const std::string meetings = "/cgi-bin/tvf/access.pl?20261206", advert = "/maker/adsbase.html";
    const std::string race = day.meetings[0].formCode + "1", tote = "/tote/2026/12/06/mtgraces.html";
    const std::string odds = "/cgi-bin/tvf/memdispodds.pl/";
    const Row rows[] = {
        {Fault::None, "", meetings, limits(), 200, "", Body::Whole},
        {Fault::Slow, "", advert, limits(200), 0, "(timed out)", Body::None},
        {Fault::Slow, "", advert, limits(10'000), 200, "", Body::Whole},
        {Fault::Stall, "/maker/", advert, limits(300), 0, "(timed out)", Body::None},
        {Fault::Stall, "/maker/", meetings, limits(), 200, "", Body::Whole},
        {Fault::Truncate, "", meetings, limits(), 200, "(transfer cut short)", Body::None},
        {Fault::Oversize, "", meetings, limits(3000, 100'000), 200, "(page over 100000 bytes)", Body::None},
        {Fault::Oversize, "", meetings, limits(), 200, "", Body::Padded},
        {Fault::NotFound, odds, odds + race + "?rto", limits(), 404, "(HTTP 404)", Body::None},
        {Fault::NotFound, odds, "/cgi-bin/tvf/memdeliver.pl/" + race + ".htm?tvf3", limits(), 200, "", Body::Whole},
        {Fault::ServerError, "/tote/", tote, limits(), 500, "(HTTP 500)", Body::None},
        {Fault::ServerError, "/tote/", advert, limits(), 200, "", Body::Whole},
        {Fault::NotUtf8, "", meetings, limits(), 200, "", Body::NotUtf8},
        {Fault::NotUtf8, "/tote/", tote, limits(), 200, "", Body::NotUtf8},
        {Fault::NotUtf8, "/maker/", advert, limits(), 200, "", Body::NotUtf8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(faultName(row.fault) + " on " + row.onlyPath + ", " + row.target);
        const std::string whole = server.reply(row.target).body;
        EXPECT_TRUE(isValidUtf8(whole));
        server.setFault(row.fault, row.onlyPath);
        const FetchResult r = get(row.target, row.limits);
        EXPECT_EQ(r.ok, row.error.empty());
        EXPECT_EQ(r.cause, row.error) << r.error;
        EXPECT_EQ(r.status, row.status);
        if (row.body == Body::Whole) {
            EXPECT_EQ(r.body, whole);
        } else if (row.body == Body::NotUtf8) {
            EXPECT_FALSE(isValidUtf8(r.body));
        } else if (row.body == Body::Padded) {
            EXPECT_EQ(r.body.size(), 300'000u);
            EXPECT_EQ(r.body.substr(0, whole.size() + 4), whole + "<!--");
            EXPECT_TRUE(r.body.ends_with("-->\n"));
        }
    }
}

TEST(Server, StopReturnsWhileARequestIsStalled) {
    Options o;
    o.fault = Fault::Stall;
    Server server(o);
    server.start();
    auto waiting = std::async(std::launch::async, [url = server.formGuideUrl()] {
        return fetchUrl(url + "/cgi-bin/tvf/access.pl", limits(60'000));
    });
    while (server.requestCount() < 1) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    server.stop();
    const FetchResult r = waiting.get();
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.status, 200);
}

// The same date and seed give the same bytes; the clock moves a race through its states.
TEST_F(StandinTest, DeterministicDaysAndAClockThatMovesTheResults) {
    const Server again(options()), otherSeed(options(2));
    for (const std::string& t : server.dayTargets(day.date))  // the maker's pages name the port
        EXPECT_TRUE(t.starts_with("/maker/") || again.reply(t).body == server.reply(t).body) << t;
    EXPECT_NE(otherSeed.reply("/cgi-bin/tvf/access.pl").body, server.reply("/cgi-bin/tvf/access.pl").body);

    // SCONE (SC) race 1 of this day jumps at 13:10.
    const std::string result = "/tote/2026/12/06/SC01.html", prices = "/cgi-bin/tvf/memdispodds.pl/scomoqb1?rto";
    const int jump = 13 * 60 + 10;
    const std::tuple<int, std::string, long> moments[] = {
        {jump - 1, "1:10PM", 404}, {jump, "CLOSED", 200},  {jump + 1, "CLOSED", 200},
        {jump + 2, "INTERIM", 200}, {jump + 6, "INTERIM", 200}, {jump + 7, "18,17,1", 200},
    };
    for (const auto& [minutes, state, resultStatus] : moments) {
        setClock(minutes);
        ResultTables t;
        std::string page = splitIntoLines(get("/tote/2026/12/06/mtgraces.html").body);
        parseResultMeetings(t, page);
        EXPECT_EQ(std::make_pair(t.resultMeetingNames.at(1), t.resultRecords.at(1).result(1)),
                  std::make_pair(std::string("SCONE (SC)"), state));
        EXPECT_EQ(get(result).status, resultStatus) << minutes;
    }
    auto runnerRows = [&](int minutes) {  // prices move until the jump, then hold
        setClock(minutes);
        auto rows = tableRows(engine(get(prices).body), 1);
        return std::vector(rows.begin() + 4, rows.end());
    };
    EXPECT_NE(runnerRows(9 * 60), runnerRows(jump));
    EXPECT_EQ(runnerRows(jump), runnerRows(jump + 60));
    EXPECT_THROW(server.setNow("tomorrow"), std::invalid_argument);
}

// A dumped day served back from its folder gives the same bytes; nothing outside it is served.
TEST_F(StandinTest, ServesADumpedDayFromARootFolder) {
    test::TempDir dir;
    const auto targets = server.dayTargets(day.date);
    EXPECT_EQ(server.dumpDay(day.date, dir.path()), targets.size());
    test::writeFile(dir.path() / "secret.txt", "x");
    Options o = options();
    o.root = dir.path() / "cgi-bin";
    const Server inner(o);
    EXPECT_EQ(inner.reply("/tvf/access.pl?20261207").body, meetingPage(day));  // no such file: without the query
    EXPECT_EQ(inner.reply("/tvf/../../secret.txt").status, 404);
    o.root = dir.path();
    const Server whole(o);
    for (const std::string& t : targets) EXPECT_EQ(whole.reply(t).body, server.reply(t).body) << t;
}

TEST(Server, RefusesABusyPortAndABadClock) {
    test::StandinFixture web;
    Options o;
    o.port = web.server.port();
    EXPECT_THROW(Server(o).start(), std::runtime_error);
    o.now = "2026-12-06";
    EXPECT_THROW(Server{o}, std::invalid_argument);
}

}  // namespace
}  // namespace selvane::standin
