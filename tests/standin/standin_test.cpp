// The stand-in's pages over loopback HTTP read back by the program's parsers; its faults; its determinism.
#include <gtest/gtest.h>

#include "form/RaceFieldParser.h"
#include "meetings/MeetingParser.h"
#include "net/Fetcher.h"
#include "net/HtmlEngine.h"
#include "net/PageLoader.h"
#include "net/PageText.h"
#include "odds/LiveOdds.h"
#include "results/CheckResults.h"
#include "results/DividendParser.h"
#include "results/ResultParser.h"
#include "standin/RaceModel.h"
#include "standin/Server.h"
#include "support/TestSupport.h"

namespace selvane::standin {
namespace {

Options options(std::uint32_t seed = 1) {
    Options o;
    o.now = "2026-12-06T14:00", o.seed = seed, o.slowMs = 600, o.oversizeBytes = 300'000;
    return o;
}

// The dividends the model declares on a race, as the result page should give them to a reader.
RaceDividends declared(const Race& race) {
    RaceDividends d;
    d.status = race.abandoned ? ResultStatus::Abandoned : ResultStatus::Official;
    for (const Runner& r : race.runners)
        if (r.scratched) d.scratchings.push_back(r.num);
    if (race.abandoned) return d;
    const OfficialDividends o = officialDividends(race);
    auto declared = [](std::int64_t cents) { return cents > 0 ? std::optional<Cents>(cents) : std::nullopt; };
    for (std::size_t i = 0; i < o.order.size(); ++i)
        d.placings.push_back({static_cast<int>(i) + 1, o.order[i], declared(i == 0 ? o.win : 0), declared(o.place[i])});
    const std::int64_t pools[] = {o.quinella, o.exacta, o.trifecta, o.firstFour};
    for (std::size_t p = 0; p < kPools; ++p)
        if (pools[p] > 0)
            d.exotics[p].push_back({{o.order.begin(), o.order.begin() + poolRunners(static_cast<Pool>(p))}, pools[p]});
    return d;
}

struct StandinTest : ::testing::Test {
    StandinTest() { server.start(); }
    FetchResult get(const std::string& target, int ms = 3000, std::size_t maxBytes = 16u << 20) {
        return fetchUrl(server.formGuideUrl() + target, {.total = std::chrono::milliseconds(ms), .maxBytes = maxBytes});
    }
    std::string lines(const std::string& target) { return splitIntoLines(get(target).body); }  // as stored
    std::string engine(const std::string& target) { return normalisePage(get(target).body).markup + "\r\n"; }
    void setClock(const Date& date, int minutes) { server.setNow(formatLocalTime({date, minutes, 0})); }
    const RaceDay day = generateRaceDay(2026, 12, 6, 1);
    Server server{options()};
    test::TempDir dir;
};

// A Sandown day, the year's turn, a leap day, Christmas (no racing), after their last race; the
// meeting page lists a week before the day, then the day, which ends the walk.
TEST_F(StandinTest, PagesReadBackThroughTheProgramsParsers) {
    for (const Date date : {Date{2026, 12, 5}, Date{2027, 1, 1}, Date{2028, 2, 29}, Date{2026, 12, 25}}) {
        const RaceDay d = generateRaceDay(date, 1);
        SCOPED_TRACE(ddmmyyyy(date));
        const std::string tote = "/tote/" + yyyymmdd(date).insert(6, "/").insert(4, "/") + "/";
        setClock(date, 23 * 60);
        auto t = std::make_unique<MeetingTables>();
        parseMeetingList(lines("/cgi-bin/tvf/access.pl?" + yyyymmdd(date)), *t);
        EXPECT_EQ(std::tie(t->meetingDates[0], t->meetingDates[7], t->meetingDates[8], t->selectedDateIndex),
                  std::make_tuple(ddmmyyyy(addDays(date, -7)), ddmmyyyy(date), "", 7.0f));
        ResultTables r;
        std::string meetings = lines(tote + "mtgraces.html");
        parseResultMeetings(r, meetings);
        const int count = static_cast<int>(d.meetings.size());
        ASSERT_EQ(std::make_pair(t->meetingCounter - 1, int{r.resultMeetingCount}), std::make_pair(count, count));
        for (std::size_t i = 0; i < d.meetings.size(); ++i) {
            const Meeting& m = d.meetings[i];
            EXPECT_EQ(std::tie(t->meetingNames[i + 1], t->meetingLinks[i + 1], t->meetingLastRace[i + 1]),
                      std::make_tuple(m.name, "m" + m.formCode, static_cast<float>(m.races.size())));
            EXPECT_EQ(std::tie(r.resultMeetingNames[i + 1], r.resultRecords[i + 1].codes),
                      std::make_tuple(m.resultsName, std::vector<std::string>{m.toteCode}));
            // Found by the first word of its form-guide name; SANDOWN-HILLSIDE is SANDOWN (MS) there.
            EXPECT_EQ(findResultMeeting(r, m.name.substr(0, m.name.find(' '))), static_cast<int>(i) + 1) << m.name;
            for (const Race& race : m.races) {
                const std::string code = m.formCode + std::to_string(race.number);
                SCOPED_TRACE(code);
                const RaceRow& row = t->raceTable[i + 1][static_cast<std::size_t>(race.number)];
                EXPECT_EQ(std::tie(row.time, row.length, row.track),  // a bare "&" stays bare
                          std::make_tuple(race.startTime(), race.lengthText(), race.trackWords + " "));
                EXPECT_EQ(r.resultRecords[i + 1].result(race.number), resultsStateText(race, date, server.now()));

                const std::string number = (race.number < 10 ? "0" : "") + std::to_string(race.number);
                EXPECT_EQ(parseDividends(server.reply(tote + m.toteCode + number + ".html").body), declared(race));

                RunnerTable field;
                std::string page = engine("/cgi-bin/tvf/memdeliver.pl/" + code + ".htm?tvf3");
                EXPECT_EQ(parseRaceField(field, page), FieldParseEnd::SecondRule);
                ASSERT_EQ(std::make_pair(field.raceDetails[3], field.runnerCount()),
                          std::make_pair(std::to_string(race.distance), static_cast<int>(race.runners.size())));
                for (std::size_t k = 0; k < race.runners.size(); ++k) {
                    const Runner& x = race.runners[k];
                    const RunnerRow& got = field.runnerRows[k + 1];
                    EXPECT_EQ(std::tie(got.number, got.jockey, got.weight, got.api, got.stakes, got.horse, got.form),
                              std::make_tuple(x.number, x.jockey, x.weight, x.api, x.stakes, x.name + "  (" +
                                              std::to_string(x.barrier) + ")", x.form.empty() ? "\\~" : x.form));
                }

                const OddsOutcome o = oddsFromPage(engine("/cgi-bin/tvf/memdispodds.pl/" + code + "?rto"),
                                                   static_cast<int>(race.runners.size()), dir.path());
                const auto starters = race.starters();
                const bool emergencies = starters.size() < race.runners.size();  // they have no price row
                EXPECT_EQ(o.end, emergencies ? OddsPageEnd::Percentages : OddsPageEnd::RunnerRows);
                ASSERT_EQ(o.rows.size(), race.runners.size());
                for (std::size_t k = 0; k < starters.size(); ++k)
                    EXPECT_EQ(std::make_tuple(o.rows[k].number, text::upper(o.rows[k].name), o.rows[k].prices),
                              std::make_tuple(starters[k]->number, starters[k]->name,
                                              pricesAt(d, m, race, *starters[k], server.now()).tote));
            }
        }
    }
}

// Over two months the favourite (the shortest price on the all-Australian tote at the jump)
// wins about a third of its races, and a unit on every runner gets back the win pool less its take.
TEST(StandinModel, TheFavouriteWinsAboutAThirdAndTheWinPoolKeepsItsTake) {
    int races = 0, favouriteWins = 0, bets = 0;
    std::int64_t returned = 0;
    for (Date date{2026, 1, 1}; date < Date{2026, 3, 1}; date = addDays(date, 1)) {
        for (const Meeting& m : generateRaceDay(date, 1).meetings)
            for (const Race& race : m.races) {
                if (race.abandoned) continue;
                const RaceChances chances = raceChances(race);
                std::int64_t shortest = INT64_MAX;
                int favourite = 0;
                for (std::size_t i = 0; i < chances.runners.size(); ++i)
                    if (toteCents(chances.win[i], kWinTake) < shortest)
                        shortest = toteCents(chances.win[i], kWinTake), favourite = chances.runners[i]->num;
                ++races;
                bets += static_cast<int>(chances.runners.size());
                favouriteWins += race.finish.at(0) == favourite;
                returned += officialDividends(race).win;
            }
    }
    EXPECT_GT(races, 3500);
    EXPECT_NEAR(100.0 * favouriteWins / races, 33, 3);
    // 15 % taken, a little more by rounding down to 10 cents; a long shot's win moves it a little.
    EXPECT_NEAR(returned / 100.0 / bets, 0.845, 0.03);
}

// A fault aimed at a service or a page leaves the rest working; stalled requests end with the server.
TEST_F(StandinTest, FaultTable) {
    enum Body { Whole, NotUtf8, Padded, None };
    const std::string meetings = "/cgi-bin/tvf/access.pl?20261206", advert = "/maker/adsbase.html";
    const std::string race = day.meetings[0].formCode + "1", tote = "/tote/2026/12/06/mtgraces.html";
    const std::string odds = "/cgi-bin/tvf/memdispodds.pl/";
    struct Row {  // cause: empty when the fetch succeeds
        Fault fault; std::string onlyPath, target; long status; std::string cause; Body body;
        int ms = 3000; std::size_t maxBytes = 16u << 20; };
    const Row rows[] = {
        {Fault::None, "", meetings, 200, "", Whole},
        {Fault::None, "", "/cgi-bin/tvf/access.pl?20270229", 404, "(HTTP 404)", None},
        {Fault::Slow, "", advert, 0, "(timed out)", None, 200},
        {Fault::Slow, "", advert, 200, "", Whole, 10'000},
        {Fault::Stall, "/maker/", advert, 0, "(timed out)", None, 300},
        {Fault::Stall, "/maker/", meetings, 200, "", Whole},
        {Fault::Truncate, "", meetings, 200, "(transfer cut short)", None},
        {Fault::Oversize, "", meetings, 200, "(page over 100000 bytes)", None, 3000, 100'000},
        {Fault::Oversize, "", meetings, 200, "", Padded},
        {Fault::NotFound, odds, odds + race + "?rto", 404, "(HTTP 404)", None},
        {Fault::NotFound, odds, "/cgi-bin/tvf/memdeliver.pl/" + race + ".htm?tvf3", 200, "", Whole},
        {Fault::ServerError, "/tote/", tote, 500, "(HTTP 500)", None},
        {Fault::NotUtf8, "", meetings, 200, "", NotUtf8},
        {Fault::NotUtf8, "/tote/", tote, 200, "", NotUtf8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(faultName(row.fault) + " on " + row.onlyPath + ", " + row.target);
        const std::string whole = server.reply(row.target).body;
        server.setFault(row.fault, row.onlyPath);
        const FetchResult r = get(row.target, row.ms, row.maxBytes);
        EXPECT_EQ(std::tie(r.ok, r.status, r.cause), std::make_tuple(row.cause.empty(), row.status, row.cause));
        const bool pad = r.body.size() == 300'000u && r.body.starts_with(whole + "<!--") && r.body.ends_with("-->\n");
        EXPECT_EQ(std::make_tuple(r.body == whole, isValidUtf8(r.body), pad),
                  std::make_tuple(row.body == Whole, row.body != NotUtf8, row.body == Padded));
    }
}

// The same date, seed and clock give the same bytes; the clock moves a race through its states.
TEST_F(StandinTest, DeterministicDaysAndAClockThatMovesTheResults) {
    const Server again(options()), otherSeed(options(2));
    for (const std::string& t : server.dayTargets(day.date))  // the maker's pages name the port
        EXPECT_TRUE(t.starts_with("/maker/") || again.reply(t).body == server.reply(t).body) << t;
    EXPECT_NE(otherSeed.reply("/cgi-bin/tvf/access.pl").body, server.reply("/cgi-bin/tvf/access.pl").body);
    EXPECT_THROW(server.setNow("tomorrow"), std::invalid_argument);

    ASSERT_EQ(day.meetings[0].resultsName, "SCONE (SC)");  // its race 1 jumps at 13:10
    const int jump = 13 * 60 + 10;
    const std::tuple<int, std::string, long> moments[] = {
        {jump - 1, "1:10PM", 404},  {jump, "CLOSED", 200},      {jump + 1, "CLOSED", 200},
        {jump + 2, "INTERIM", 200}, {jump + 6, "INTERIM", 200}, {jump + 7, "5,10,13", 200},
    };
    for (const auto& [minutes, state, resultStatus] : moments) {
        setClock(day.date, minutes);
        ResultTables t;
        std::string page = lines("/tote/2026/12/06/mtgraces.html");
        parseResultMeetings(t, page);
        EXPECT_EQ(std::make_pair(t.resultRecords.at(1).result(1), get("/tote/2026/12/06/SC01.html").status),
                  std::make_pair(state, resultStatus)) << minutes;
    }
}

// A dumped day served back from its folder gives the same bytes; nothing outside it is served.
TEST_F(StandinTest, ServesADumpedDayFromItsFolderOnly) {
    const auto targets = server.dayTargets(day.date);
    ASSERT_EQ(server.dumpDay(day.date, dir.path()), targets.size());
    test::writeFile(dir.path() / "secret.txt", "x");
    Options o = options();
    o.root = dir.path() / "cgi-bin";
    EXPECT_EQ(Server(o).reply("/tvf/../../secret.txt").status, 404);
    o.root = dir.path();
    const Server whole(o);
    for (const std::string& t : targets) EXPECT_EQ(whole.reply(t).body, server.reply(t).body) << t;
}

}  // namespace
}  // namespace selvane::standin
