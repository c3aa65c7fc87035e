// The punter's commands against the stand-in services over loopback: what they print (the
// stand-in's day is fixed by its seed), their CSV, their failures with the exact texts, and
// --watch: a board per fetch, changed rows and moved prices marked, stale data never fresh.
#include <algorithm>

#include "CliRun.h"
#include "OddsOutput.h"
#include "PunterJson.h"
#include "ResultsOutput.h"
#include "Watch.h"

namespace selvane {
namespace {

using Commands = test::StandinCli;
const std::string kPriceHeading =
    "#.  Name                     Best Odds  AUS TOTE  STAB Win   NSW Win   QLD Win  STAB PLC   NSW PLC   QLD PLC";

TEST_F(Commands, EachCommandPrintsItsTable) {
    const struct {
        std::vector<std::string> words;
        std::string part;
    } cases[] = {
        // The results rows come first, to count their fetches.
        {{"results", "Scone", "--race", "1"},
         "SC    1        SCONE (SC)                5,10,13\nSC    2        SCONE (SC)                1,3,4\n"
         "SC    3        SCONE (SC)                2:10PM\n"},
        {{"results", "scone", "--race", "1"}, "\nRace result: 5 - 10 - 13\n"},
        {{"results", "scone", "--csv"}, "link,race,track,result\r\nSC,1,SCONE (SC),\"5,10,13\"\r\n"},
        {{"meetings"},
         "\n\n1. SCONE  [mscomoqb]\n   Race  Time    Track                       Length\n"
         "   1     13:10   CITY HOTEL 3YO HCP          2000m\n   2     13:40   CLASS 3 HCP                 1000m\n"},
        {{"race", "scone", "1"},
         "\nTips\n  Tip   Horse Name            Win   Barrier\n   1st   11.  COUNTRY CHARM    45%  5\n"
         "   2nd   9.  STONY LEGEND      32%  2\n   3rd   17.  FLYING SUNRISE   30%  1\n"
         "   4th   8.  CAPTAIN SUNRISE   23%  4\n   5th   15.  IRON RAIN        11%  3\n"},
        {{"odds", "scone", "5"}, "MAIN STREET MAIDEN HCP - #R.05\n\n" + kPriceHeading + "\n"},
        {{"odds", "scone", "5"},
         "\n9   High Express                  7.00       n/a      7.00      6.80      6.70      2.40      2.40"
         "      2.50\n10  Northern Moon                  scr       scr       scr       scr       scr       scr"},
        // The emergencies are runner list rows without a price.
        {{"odds", "scone", "1"}, "\n    (not on the price page)\n    (not on the price page)\n"},
        {{"meetings", "--csv"},
         "date,meeting,race,time,track,length\r\n06/12/2026,SCONE,1,13:10,\"CITY HOTEL 3YO HCP \",2000m\r\n"},
        {{"race", "scone", "1", "--csv"},
         "number,form,name,jockey,weight,barrier,tip,win,bestBet\r\n1,63,IRON PRINCESS,L. Tully,60.0,17,,,\r\n"},
        {{"race", "scone", "1", "--csv"},
         "\n17,767,FLYING SUNRISE,A. Norcott,54.0,1,3,30,yes\r\n18,3,SUMMER SPIRIT,K. Fenwick,54.0,20,,,\r\n19e,"},
        {{"odds", "scone", "1", "--csv"},
         "number,name,best,AUS TOTE,STAB Win,NSW Win,QLD Win,STAB PLC,NSW PLC,QLD PLC\r\n"
         "1,Iron Princess,30.10,30.10,28.70,29.10,28.90,9.00,8.40,9.30\r\n"},
    };
    long resultsRuns = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words[0] + " " + c.part);
        const test::CliRun run = cli(c.words);
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find(c.part), std::string::npos) << run.out;
        // One fetch serves the results list and the page the window shows.
        const std::vector<std::string> log = web.server.requestLog();
        if (c.words[0] == "results") {
            EXPECT_EQ(std::count(log.begin(), log.end(), "/tote/2026/12/06/mtgraces.html"), ++resultsRuns);
        }
    }
    // A command's five pages come over one kept-alive connection (at most: one may be left open).
    const std::size_t requests = web.server.requestCount(), connections = web.server.connectionCount();
    EXPECT_EQ(cli({"race", "scone", "2"}).code, 0);
    EXPECT_EQ(web.server.requestCount() - requests, 5u);
    EXPECT_LE(web.server.connectionCount() - connections, 1u);
}

TEST_F(Commands, AServiceThatFailsIsNamedWithItsCauseAndExitOne) {
    const std::string guide = web.services().formGuide + "/cgi-bin/tvf/", tote = web.services().resultsSiteRoot;
    const std::string odds = guide + "memdispodds.pl/scomoqb2?rto: the price page could not be read (";
    const struct {
        standin::Fault fault;
        std::string where;  // the fault's path, or an override's: "=path"
        std::vector<std::string> words;
        std::string err;
        std::string out = "";  // a part of what is printed all the same, or nothing
    } cases[] = {
        {standin::Fault::NotFound, "/cgi-bin/tvf/access.pl?20261206", {"meetings"},
         "meetings: Page could not be fetched: " + guide + "access.pl?20261206 (HTTP 404)"},
        {standin::Fault::ServerError, "/tote/", {"results", "scone"},
         "results: Page could not be fetched: " + tote + "2026/12/06/mtgraces.html (HTTP 500)"},
        {standin::Fault::NotFound, "/tote/", {"race", "scone", "1"},
         "race: Page could not be fetched: " + tote + "2026/12/06/mtgraces.html (HTTP 404)"},
        {standin::Fault::NotFound, "/cgi-bin/tvf/memdispodds.pl/", {"odds", "scone", "2"},
         "odds: " + odds + "HTTP 404)"},
        // With --json the error is also the document's.
        {standin::Fault::None, "=/cgi-bin/tvf/memdispodds.pl/scomoqb2?rto", {"odds", "scone", "2", "--json"},
         "odds: " + odds + "the price page has no price table)",
         "{\n  \"error\": \"" + odds + "the price page has no price table)\",\n  \"warnings\": []\n}\n"},
        // A race page that cannot be fetched still gives the placeholder tips and the warning.
        {standin::Fault::NotFound, "/cgi-bin/tvf/memdeliver.pl", {"race", "scone", "1"},
         "race: Page could not be fetched: " + guide + "memdeliver.pl/scomoqb1.htm?tvf3 (HTTP 404)",
         "Message \"Race's Data Error\": Could not access any data for race's CITY HOTEL 3YO HCP\n"
         "This is probably due to data error or no data available.\n\n"
         "No bets should be made due to insufficient form data\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        web.server.clearOverrides();
        web.server.setFault(c.fault, c.where);
        if (c.where[0] == '=') web.server.setOverride(c.where.substr(1), "<html><body>No prices yet</body></html>");
        const test::CliRun run = cli(c.words);
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.err, "selvane-cli " + c.err + "\n");
        EXPECT_EQ(c.out.empty() ? run.out.empty() : run.out.find(c.out) != std::string::npos, true) << run.out;
    }
    Services closed = web.services();
    closed.formGuide = "http://127.0.0.1:1";
    EXPECT_EQ(cli({"meetings"}, closed).err, "selvane-cli meetings: Page could not be fetched: "
                                             "http://127.0.0.1:1/cgi-bin/tvf/access.pl (no connection)\n");
}

// The punter commands' JSON is data: numbers, ISO dates and times, names without padding.
TEST_F(Commands, JsonCarriesData) {
    using nlohmann::json;
    const auto doc = [&](std::vector<std::string> words) {
        words.push_back("--json");
        const test::CliRun run = cli(words);
        EXPECT_EQ(run.code, 0) << run.err;
        return json::parse(run.out);
    };
    const json race = doc({"race", "scone", "1"});
    const json meetings = doc({"meetings"});
    const json odds = doc({"odds", "scone", "5"});
    const json results = doc({"results", "scone", "--race", "1"});
    const std::pair<json, json> cases[] = {
        {race["race"], json::parse(R"({"number":1,"time":"13:10","name":"CITY HOTEL 3YO HCP","length":2000})")},
        {race["date"], "2026-12-06"},
        {race["tips"][0], json::parse(R"({"tip":1,"number":11,"name":"COUNTRY CHARM","win":45,"barrier":5})")},
        {race["bestBet"], json::parse(R"({"tip":3,"number":17,"name":"FLYING SUNRISE"})")},
        {race["field"][0], json::parse(R"({"number":1,"emergency":false,"name":"IRON PRINCESS","form":"63",
                                          "jockey":"L. Tully","weight":60.0,"barrier":17})")},
        {race["field"][18]["emergency"], true},
        {race["results"][2], json::parse(R"({"race":3,"state":"upcoming","placings":[],"time":"14:10"})")},
        {race["warnings"], json::array()},
        {meetings["meetings"][0]["races"][1],
         json::parse(R"({"number":2,"time":"13:40","name":"CLASS 3 HCP","length":1000})")},
        {meetings["dates"].back(), "2026-12-06"},
        {odds["runners"][8], json::parse(R"({"number":9,"name":"High Express","onPricePage":true,"best":7.0,
            "scratched":false,"prices":{"ausTote":null,"stabWin":7.0,"nswWin":6.8,"qldWin":6.7,"stabPlace":2.4,
            "nswPlace":2.4,"qldPlace":2.5}})")},
        {odds["runners"][9]["scratched"], true},
        {odds["runners"][9]["best"], nullptr},
        {results["result"], json::parse(R"({"race":1,"placings":[5,10,13]})")},
        {results["results"][0], json::parse(R"({"race":1,"state":"result","placings":[5,10,13],"time":null})")},
        {results["meeting"], "SCONE"},
        {results["error"], nullptr},
    };
    for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
    const std::pair<const char*, json> times[] = {
        {"2:10PM", "14:10"}, {"12:05AM", "00:05"}, {"12:30PM", "12:30"}, {"13:25", "13:25"},
        {"13:25PM", nullptr}, {"24:00", nullptr}, {"1:5PM", nullptr}, {"CLOSED", nullptr},
    };
    for (const auto& [text, want] : times) EXPECT_EQ(cli::isoTime(text), want) << text;
}

// odds names its race page's failure as race does: without the field there are no prices.
TEST_F(Commands, OddsFailsWithItsRacePage) {
    const std::string page = web.services().formGuide + "/cgi-bin/tvf/memdeliver.pl/scomoqb2.htm?tvf3";
    const std::pair<standin::Fault, std::string> cases[] = {
        {standin::Fault::NotFound, "HTTP 404"},        {standin::Fault::ServerError, "HTTP 500"},
        {standin::Fault::Stall, "timed out"},          {standin::Fault::Truncate, "transfer cut short"},
        {standin::Fault::Oversize, "page over 16 MB"},
    };
    for (const auto& [fault, cause] : cases) {
        web.server.setFault(fault, "/cgi-bin/tvf/memdeliver.pl/");
        for (const char* watch : {"", "--watch"}) {
            SCOPED_TRACE(cause + " " + watch);
            if (*watch) {
                // One fetch of the watch's board.
                test::TempDir work;
                std::ostringstream out, err;
                cli::Context ctx{cli::Args({"scone", "2"}, {}), false, work.path(), web.services(),
                                 FetchLimits{std::chrono::seconds(1), std::chrono::seconds(1)}, out, err, {}, "odds"};
                std::vector<OddsRow> previous;
                EXPECT_EQ(cli::oddsBoard(ctx, previous).error, "Page could not be fetched: " + page + " (" + cause + ")");
                continue;
            }
            const test::CliRun run = cli({"odds", "scone", "2", "--timeout", "1"});
            EXPECT_EQ(run.code, 1);
            EXPECT_EQ(run.err, "selvane-cli odds: Page could not be fetched: " + page + " (" + cause + ")\n");
            EXPECT_EQ(run.out, "");
        }
    }
}

// Page texts and arguments reach tables, boards and error lines with their control characters
// escaped; a NUL no longer ends the line. A meeting whose race line cannot be read is left out
// and said; the others are listed.
TEST_F(Commands, PageTextNeverDrivesTheTerminalAndABadMeetingIsLeftOut) {
    for (const std::string& target : {std::string("/cgi-bin/tvf/access.pl"), std::string("/cgi-bin/tvf/access.pl?20261206")}) {
        std::string page = web.server.reply(target).body;
        page.replace(page.find(">SCONE"), 6, std::string(">S\x1b[2J\0CONE", 11));
        page.replace(page.find(">R3 13:55 "), 4, ">R99999 ");  // BENDIGO's race 3
        web.server.setOverride(target, page);
    }
    const std::string shownName = "S\\x1b[2J\\x00CONE";
    const std::string leftOut =
        ": Meeting BENDIGO left out: its race line \"R99999 13:55 CLASS 2 HCP 1400m\" cannot be read\n";
    const struct {
        std::vector<std::string> words;
        int code;
        std::string out, err;
    } cases[] = {
        {{"meetings"}, 0, "\n1. " + shownName + "  [mscomoqb]\n", "selvane-cli meetings" + leftOut},
        {{"meetings", "--csv"}, 0, "\r\n06/12/2026," + shownName + ",1,13:10,", "selvane-cli meetings" + leftOut},
        {{"race", "\x1b]0;x\x07", "1"}, 1, "",
         "selvane-cli race" + leftOut + "selvane-cli race: \\x1b]0;x\\x07: no such meeting on 06/12/2026 (meetings: " +
             shownName + ", EAGLE, "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words[0]);
        const test::CliRun run = cli(c.words);
        EXPECT_EQ(run.code, c.code);
        EXPECT_TRUE(run.err.starts_with(c.err)) << run.err;
        EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
        EXPECT_EQ((run.out + run.err).find_first_of(std::string("\x1b\x07\0", 3)), std::string::npos);
    }
    // A result state on the watch board (the results page is read as it comes, not through the engine).
    const std::string results = "/tote/2026/12/06/mtgraces.html";
    std::string page = web.server.reply(results).body;
    // The race's state cell, after the meeting's name cell that links the same page.
    const std::size_t state = page.find("EF01.html\">", page.find("EF01.html\">") + 1) + 11;
    page.replace(state, page.find('<', state) - state, "2,11\x1b[2J");
    web.server.setOverride(results, page);
    test::TempDir work;
    std::ostringstream out, err;
    cli::Context ctx{cli::Args({}, {}), false, work.path(), web.services(), FetchLimits{}, out, err, {}, "results"};
    const cli::Board board = cli::resultsBoard(ctx, "eagle", 0);
    ASSERT_FALSE(board.rows.empty()) << board.error;
    EXPECT_TRUE(board.rows[0].text.ends_with(" 2,11\\x1b[2J")) << board.rows[0].text;
}

// Link codes from the meeting page are data: "/" and "?" in them never change the path requested.
TEST_F(Commands, ACraftedLinkCodeStaysInItsPath) {
    const std::string page =
        "<FORM METHOD=\"POST\">\r\n<SELECT NAME=\"date\" onChange=\"newdate(this);\" SIZE=\"1\">\r\n"
        "<OPTION SELECTED VALUE=\"2\">06/12/2026\r\n</SELECT>\r\n"
        "<P>3. Click GO to have your data delivered to you.</P>\r\n"
        "<SELECT NAME=\"M../../../../tmp/x?\">\r\n<OPTION VALUE=\"\">ASCOT\r\n</SELECT>\r\n"
        "<SELECT NAME=\"N1\" SIZE=\"1\">\r\n<OPTION VALUE=\"1\">R3 12:00 ASCOT 1000m\r\n</SELECT>\r\n</FORM>\r\n";
    web.server.setOverride("/cgi-bin/tvf/access.pl", page);
    web.server.setOverride("/cgi-bin/tvf/access.pl?20261206", page);
    const test::CliRun run = cli({"race", "ascot", "3"});
    const std::string target = "/cgi-bin/tvf/memdeliver.pl/..%2F..%2F..%2F..%2Ftmp%2Fx%3F3.htm?tvf3";
    const std::vector<std::string> log = web.server.requestLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), target), 1);
    EXPECT_EQ(run.err, "selvane-cli race: Page could not be fetched: " + web.services().formGuide + target +
                           " (HTTP 404)\n");
}

using namespace std::chrono_literals;

// 2026-12-06 12:00:00 as the watch's local clock; each wait moves it on.
struct FakeTime {
    std::chrono::sys_seconds now{std::chrono::seconds(1796558400)};
    std::vector<std::chrono::seconds> slept;
    cli::WatchOptions options(int rounds, std::chrono::seconds every = 30s) {
        return {every, rounds, false, [this] { return now; }, [this](std::chrono::seconds d) {
                    slept.push_back(d);
                    now += d;
                    return true;
                }};
    }
};

TEST(Watch, PlainBlocksMarkChangesAndStaleness) {
    const std::vector<cli::Board> boards = {
        {false, "down", "", {}},
        {true, "", "HEAD", {{"1", "R1 1:05PM"}, {"2", "R2 1:35PM"}}},
        {true, "", "HEAD", {{"1", "R1 3,5,7"}, {"2", "R2 1:35PM"}}},
        {false, "http://x/: the page could not be fetched", "", {}},
        {false, "still down", "", {}},
        {true, "", "HEAD", {{"1", "R1 3,5,7"}, {"2", "R2 CLOSED"}, {"3", "R3 2:05PM"}}},
    };
    std::size_t next = 0;
    FakeTime time;
    std::ostringstream out;
    cli::runWatch(out, time.options(6), [&] { return boards[next++]; });
    EXPECT_EQ(out.str(),
              "no data: the fetch at 12:00:00 failed: down\n\n"
              "HEAD\nfetched 12:00:30, data age 0s\n  R1 1:05PM\n  R2 1:35PM\n\n"
              "HEAD\nfetched 12:01:00, data age 0s\n* R1 3,5,7\n  R2 1:35PM\n\n"
              "stale since 12:01:00 (data age 30s): the fetch at 12:01:30 failed: http://x/: the page could not be "
              "fetched\n\n"
              "stale since 12:01:00 (data age 1m 0s): the fetch at 12:02:00 failed: still down\n\n"
              // Changes are counted against the last good fetch, not the failed ones.
              "HEAD\nfetched 12:02:30, data age 0s\n  R1 3,5,7\n* R2 CLOSED\n* R3 2:05PM\n\n");
    EXPECT_EQ(time.slept, std::vector<std::chrono::seconds>(5, 30s));
}

// On a terminal: the alternate screen, each frame drawn over the last from the top left, cut to
// the terminal's size with the heading and the status line kept; no colour under NO_COLOR.
TEST(Watch, ATerminalFrameFitsTheScreenAndKeepsTheStatusLine) {
    const std::vector<cli::Board> boards = {
        {true, "", "HEAD", {{"1", "R1 1:05PM"}, {"2", "R2 1:35PM"}, {"3", "R3 2:05PM"}}},
        {false, "down", "", {}},
        {false, "the last fetch: not drawn", "", {}},
    };
    std::size_t next = 0;
    FakeTime time;
    cli::WatchOptions options = time.options(3, 1s);
    options.terminal = true;
    options.colour = false;
    options.size = [] { return cli::ScreenSize{6, 24}; };
    std::ostringstream out;
    cli::runWatch(out, options, [&] { return boards[next++]; });
    EXPECT_EQ(out.str(),
              "\x1b[?1049h\x1b[?25l"
              "\x1b[HHEAD\x1b[K\r\n\x1b[1mfetched 12:00:00, data a\x1b[0m\x1b[K\r\n  R1 1:05PM\x1b[K\r\n"
              "\x1b[2m  ... 2 more rows: a tal\x1b[0m\x1b[K\r\n\x1b[K\r\nCtrl-C ends the watch.\x1b[K\x1b[J"
              "\x1b[HHEAD\x1b[K\r\n\x1b[1mstale since 12:00:00 (da\x1b[0m\x1b[K\r\n\x1b[2m  R1 1:05PM\x1b[0m\x1b[K\r\n"
              "\x1b[2m  ... 2 more rows: a tal\x1b[0m\x1b[K\r\n\x1b[K\r\nCtrl-C ends the watch.\x1b[K\x1b[J"
              "\x1b[?25h\x1b[?1049l");
}

OddsRow row(std::string number, std::string best) {
    return {number, "Horse", std::move(best), {"3.5", "4.0", "n/a", "3.8", "1.5", "1.6", "1.7"}};
}

TEST(OddsBoard, MarksHowEachBestPriceMoved) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // before (none: not in the last fetch), now, mark
        {"4.0", "3.5", " ▼"}, {"4.0", "12.0", " ▲"}, {"9.0", "10.0", " ▲"},  // as numbers, not texts
        {"4.0", "4.0", ""},   {"4.0", "scr", "  scratched"}, {"-100.0", "4.0", ""},
        {"", "4.0", ""},      {nullptr, "4.0", ""},
    };
    for (const auto& [before, now, mark] : cases) {
        SCOPED_TRACE(std::string(before ? before : "(none)") + " -> " + now);
        std::vector<OddsRow> previous;
        if (before) previous.push_back(row("3", before));
        const std::vector<cli::BoardRow> rows = cli::oddsBoardRows(previous, {row("3", now)});
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].text, "3   Horse                   " + std::string(10 - std::string(now).size(), ' ') + now +
                                    "       3.5       4.0       n/a       3.8       1.5       1.6       1.7" + mark);
    }
    // Runners are matched by number, not place.
    const auto rows = cli::oddsBoardRows({row("1", "3.0"), row("2", "8.0")}, {row("2", "6.0"), row("1", "3.5")});
    EXPECT_TRUE(rows[0].text.starts_with("2 ") && rows[0].text.ends_with(" ▼")) << rows[0].text;
    EXPECT_TRUE(rows[1].text.starts_with("1 ") && rows[1].text.ends_with(" ▲")) << rows[1].text;
}

// The real boards against the stand-in, its clock moved on between fetches.
struct Boards : test::StandinCli {
    Boards() : StandinCli("2026-12-06T12:10") {}
    test::TempDir work;
    std::ostringstream out, err;
    cli::Context ctx{cli::Args({"scone", "1"}, {}), false, work.path(), web.services(), FetchLimits{}, out, err, {}, "odds"};
};

TEST_F(Boards, OddsFollowTheStandinsPricesAndAFailedFetchKeepsTheLastGoodOnes) {
    std::vector<OddsRow> previous;
    ASSERT_TRUE(cli::oddsBoard(ctx, previous).ok);
    web.server.setNow("2026-12-06T13:05");
    const cli::Board board = cli::oddsBoard(ctx, previous);
    ASSERT_EQ(board.rows.size(), 20u) << board.error;
    EXPECT_TRUE(board.heading.ends_with(" - #R.01\n" + kPriceHeading)) << board.heading;
    EXPECT_EQ(board.rows[1].text, "2   Little Dollar                90.20     88.40     90.20     84.40     85.90"
                                  "     24.80     25.70     25.20 ▲");
    EXPECT_TRUE(board.rows[0].text.ends_with(" 9.20") && board.rows[2].text.ends_with(" 20.00 ▼"));
    web.server.setFault(standin::Fault::ServerError, "/cgi-bin/tvf/memdispodds.pl/");
    EXPECT_EQ(cli::oddsBoard(ctx, previous).error.ends_with("(HTTP 500)"), true);
    EXPECT_EQ(previous.size(), 20u);
}

}  // namespace
}  // namespace selvane
