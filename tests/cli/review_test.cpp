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
