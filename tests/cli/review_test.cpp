// review against the stand-in: one meeting's day settled as it is by hand, and the same output
// from the record alone.
#include <nlohmann/json.hpp>

#include "CliRun.h"

namespace selvane {
namespace {

using nlohmann::json;
using Review = test::StandinCli;

TEST_F(Review, SettlesADayAsByHandAndReadsItBackFromTheRecord) {
    const std::vector<std::string> words{"review", "--from", "05/12/2026", "--to", "05/12/2026", "--track",
                                         "cranbourne", "--races"};
    std::vector<std::string> jsonWords = words;
    jsonWords.push_back("--json");
    const test::CliRun online = cli(jsonWords);
    ASSERT_EQ(online.code, 0) << online.err;
    const json doc = json::parse(online.out);
    ASSERT_EQ(doc["races"].size(), 6u);
    // Race 4: tips 3 2 1 4 6, best bet 3; 3/6/2/1 paid $1.20 and $1.04 the winner, $2.70 the
    // quinella, $3.60 the exacta, $14.00 the trifecta, $42.80 the first four. A $1 box of five
    // tips buys 10 %, 5 %, 1/60 and 1/120 of a unit, each return rounded down to the cent.
    EXPECT_EQ(doc["races"][3], json::parse(R"({"date": "2026-12-05", "track": "CRANBOURNE", "race": 4,
        "tips": [3, 2, 1, 4, 6], "bestBet": 3, "result": [3, 6, 2, 1], "void": false,
        "bets": {"win": {"staked": 1.0, "returned": 1.2}, "eachWay": {"staked": 2.0, "returned": 2.24},
                 "quinella": {"staked": 1.0, "returned": 0.27}, "exacta": {"staked": 1.0, "returned": 0.18},
                 "trifecta": {"staked": 1.0, "returned": 0.23}, "firstFour": {"staked": 1.0, "returned": 0.35}}})"));
    // Race 6 was abandoned: void, counted apart. Quinella: race 2's 3-2 at $38.00 and race 4's.
    EXPECT_TRUE(doc["races"][5]["void"]);
    EXPECT_EQ(doc["voidRaces"], 1);
    EXPECT_EQ(doc["totals"]["quinella"], json::parse(R"({"bets": 5, "hits": 2, "staked": 5.0, "returned": 4.07,
        "profit": -0.93, "roi": -18.6, "longestLosingRun": 1, "maxDrawdown": 2.73})"));

    const test::CliRun table = cli(words);
    ASSERT_EQ(table.code, 0) << table.err;
    EXPECT_NE(table.out.find("Quinella       5     2     40.00    5.00      4.07   -0.93  -18.60           1      2.73\n"),
              std::string::npos) << table.out;
    std::vector<std::string> offline = words;
    offline.push_back("--offline");
    const Services dead{"http://127.0.0.1:1", "http://127.0.0.1:1/tote/", "http://127.0.0.1:1/maker/"};
    EXPECT_EQ(cli(offline, dead).out, table.out);
    // A second run finds the day settled in the record and fetches nothing.
    const test::CliRun again = cli(words, dead);
    EXPECT_EQ(again.code, 0) << again.err;
    EXPECT_EQ(again.out, table.out);
}

// A dead heat for first: both winners' dividends and both orders of each exotic, kept by the
// record so that a review from it settles the race as the page did.
TEST_F(Review, ADeadHeatIsRecordedAndSettlesAgainFromTheRecord) {
    std::string page = web.server.reply("/tote/2026/12/05/CR02.html").body;
    const auto swap = [&](const std::string& from, const std::string& to) {
        const std::size_t at = page.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        page.replace(at, from.size(), to);
    };
    swap("<td>$7.50</td><td>$2.60</td>", "<td>$3.70</td><td>$2.60</td>");
    swap("<td>2nd</td><td>2</td><td>FLYING BLAZE</td><td>M. Jessop</td><td>&nbsp;</td>",
         "<td>1st</td><td>2</td><td>FLYING BLAZE</td><td>M. Jessop</td><td>$4.10</td>");
    swap("<tr><td>Exacta</td><td>3/2</td><td>$74.80</td></tr>",
         "<tr><td>Exacta</td><td>3/2</td><td>$37.40</td></tr><tr><td>Exacta</td><td>2/3</td><td>$41.00</td></tr>");
    swap("<tr><td>Trifecta</td><td>3/2/4</td><td>$99.10</td></tr>",
         "<tr><td>Trifecta</td><td>3/2/4</td><td>$50.00</td></tr><tr><td>Trifecta</td><td>2/3/4</td><td>$49.00</td></tr>");
    web.server.setOverride("/tote/2026/12/05/CR02.html", page);
    const std::vector<std::string> words{"review", "--from", "05/12/2026", "--to", "05/12/2026", "--track",
                                         "cranbourne", "--races", "--json"};
    const test::CliRun online = cli(words);
    ASSERT_EQ(online.code, 0) << online.err;
    const json race = json::parse(online.out)["races"][1];
    // Tips 4 2 3 1 5: the quinella's 3-2 at $38.00 for a tenth, the exacta both ways for a twentieth.
    EXPECT_EQ(race["bets"]["quinella"]["returned"], 3.8);
    EXPECT_EQ(race["bets"]["exacta"]["returned"], 3.92);
    std::vector<std::string> offline = words;
    offline.push_back("--offline");
    const test::CliRun again = cli(offline);
    ASSERT_EQ(again.code, 0) << again.err;
    EXPECT_EQ(json::parse(again.out)["races"][1], race);
}

// --chart draws one curve a bet type with a point a race (and the start), as SVG or PNG; a chart
// that cannot be written fails the command and leaves nothing behind.
TEST_F(Review, ChartsTheRunningProfitOrFailsWhenItCannotWrite) {
    const std::vector<std::string> words{"review", "--from", "05/12/2026", "--to", "05/12/2026", "--track",
                                         "cranbourne", "--json", "--chart"};
    const auto run = [&](const std::string& file) {
        std::vector<std::string> w = words;
        w.push_back(file);
        return cli(w);
    };
    ASSERT_EQ(run(recordDir.file("c.svg")).code, 0);
    const std::string svg = test::readFile(recordDir.file("c.svg"));
    EXPECT_EQ(svg.substr(0, 4), "<svg");
    std::vector<std::size_t> points;
    for (std::size_t at = svg.find("points=\""); at != std::string::npos; at = svg.find("points=\"", at + 1))
        points.push_back(static_cast<std::size_t>(std::count(svg.begin() + static_cast<long>(at),
                                                             svg.begin() + static_cast<long>(svg.find('"', at + 8)), ',')));
    EXPECT_EQ(points, std::vector<std::size_t>(6, 7));
    ASSERT_EQ(run(recordDir.file("c.PNG")).code, 0);
    EXPECT_EQ(test::readFile(recordDir.file("c.PNG")).substr(0, 8), "\x89PNG\r\n\x1a\n");
    const test::CliRun failed = run(recordDir.file("none/c.png"));
    EXPECT_EQ(failed.code, 1);
    EXPECT_EQ(json::parse(failed.out)["error"], "cannot write c.png: No such file or directory");
    EXPECT_EQ(run("c.jpg").code, 2);
}

// Pages fetched eight at a time, in whatever order they come, give what one at a time gives.
TEST_F(Review, EightPagesAtATimeGiveWhatOneAtATimeGives) {
    const std::vector<std::string> words{"review", "--from", "04/12/2026", "--to", "05/12/2026", "--races",
                                         "--by-track", "--json", "--no-record", "--jobs"};
    std::vector<std::string> one = words, eight = words;
    one.push_back("1");
    eight.push_back("8");
    const test::CliRun byOne = cli(one);
    ASSERT_EQ(byOne.code, 0) << byOne.err;
    EXPECT_GT(json::parse(byOne.out)["races"].size(), 100u);
    EXPECT_EQ(cli(eight).out, byOne.out);
}

}  // namespace
}  // namespace selvane
