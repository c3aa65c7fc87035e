// --watch: a board redrawn per fetch, changed rows marked, stale data never shown as fresh; and
// the odds board that marks how each best price moved.
#include <sstream>

#include "CliRun.h"
#include "OddsOutput.h"
#include "ResultsOutput.h"
#include "Watch.h"

namespace selvane {
namespace {

using namespace std::chrono_literals;

// 2026-12-06 12:00:00 as the watch's local clock; each wait moves it on.
struct FakeTime {
    std::chrono::sys_seconds now{std::chrono::seconds(1796558400)};
    std::vector<std::chrono::seconds> slept;
    std::function<void()> onSleep;
    cli::WatchOptions options(int rounds, std::chrono::seconds every = 30s) {
        return {every, rounds, false, [this] { return now; }, [this](std::chrono::seconds d) {
                    slept.push_back(d);
                    now += d;
                    if (onSleep) onSleep();
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

// On a terminal the screen is redrawn each second, so the data's age ticks.
TEST(Watch, OnATerminalTheAgeTicks) {
    FakeTime time;
    cli::WatchOptions o = time.options(2, 5s);
    o.terminal = true;
    std::ostringstream out;
    cli::runWatch(out, o, [] { return cli::Board{true, "", "H", {{"1", "A"}}}; });
    EXPECT_EQ(time.slept, std::vector<std::chrono::seconds>(5, 1s));
    EXPECT_NE(out.str().find("fetched 12:00:00, data age 4s"), std::string::npos) << out.str();
}

TEST(Watch, EveryOption) {
    for (const auto& [text, s] : {std::pair<std::optional<std::string>, long long>{std::nullopt, 30}, {"5", 5}, {"3600", 3600}})
        EXPECT_EQ(cli::everyOption(text).count(), s);
    for (const char* bad : {"4", "0", "3601", "-5", "5.5", "", "abc"})
        EXPECT_THROW(cli::everyOption(std::string(bad)), cli::UsageError) << bad;
}

OddsRow row(std::string number, std::string best) {
    return {number, "Horse", std::move(best), {"3.5", "4.0", "n/a", "3.8", "1.5", "1.6", "1.7"}};
}

TEST(OddsBoard, MarksHowEachBestPriceMoved) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // before (none: not in the last fetch), now, mark
        {"4.0", "3.5", " ▼"}, {"4.0", "12.0", " ▲"}, {"9.0", "10.0", " ▲"},  // as numbers, not texts
        {"4.0", "4.0", ""},   {"4.0", "scr", "  scratched"}, {"-100.0", "4.0", ""}, {"", "4.0", ""}, {nullptr, "4.0", ""},
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
    cli::Context ctx{cli::Args({"scone", "1"}, {}), false, work.path(), web.services(), FetchLimits{}, out, err, {}};
};

TEST_F(Boards, OddsFollowTheStandinsPricesAndAFailedFetchKeepsTheLastGoodOnes) {
    std::vector<OddsRow> previous;
    ASSERT_TRUE(cli::oddsBoard(ctx, previous).ok);
    web.server.setNow("2026-12-06T13:05");
    const cli::Board board = cli::oddsBoard(ctx, previous);
    ASSERT_EQ(board.rows.size(), 20u) << board.error;
    EXPECT_TRUE(board.heading.ends_with(" - #R.01\n#.  Name                     Best Odds  AUS TOTE  STAB Win   NSW Win"
                                        "   QLD Win  STAB PLC   NSW PLC   QLD PLC"))
        << board.heading;
    EXPECT_EQ(board.rows[1].text, "2   Little Dollar                25.70     24.90     24.10     25.70     25.30      7.90"
                                  "      7.60      7.80 ▼");
    EXPECT_TRUE(board.rows[0].text.ends_with(" 5.10") && board.rows[2].text.ends_with(" 8.10 ▲")) << board.rows[2].text;
    web.server.setFault(standin::Fault::ServerError, "/cgi-bin/tvf/memdispodds.pl/");
    EXPECT_EQ(cli::oddsBoard(ctx, previous).error.ends_with("(HTTP 500)"), true);
    EXPECT_EQ(previous.size(), 20u);
}

TEST_F(Boards, ResultsMarkTheRaceThatWasRunAndGoStaleWhenTheSiteFails) {
    FakeTime time;
    time.onSleep = [&] {
        if (time.slept.size() == 1) web.server.setNow("2026-12-06T13:20");  // race 1 run and placed
        if (time.slept.size() == 2) web.server.setFault(standin::Fault::ServerError, "/tote/");
    };
    cli::runWatch(out, time.options(3, 60s), [&] { return cli::resultsBoard(ctx, "scone", 0); });
    const std::string s = out.str();
    EXPECT_NE(s.find("fetched 12:00:00, data age 0s\n  SC    1        SCONE (SC)                1:10PM\n"), s.npos) << s;
    EXPECT_NE(s.find("fetched 12:01:00, data age 0s\n* SC    1        SCONE (SC)                18,17,1\n  SC    2 "),
              s.npos);
    EXPECT_EQ(std::count(s.begin(), s.end(), '*'), 1);
    EXPECT_TRUE(s.ends_with("\n\nstale since 12:01:00 (data age 1m 0s): the fetch at 12:02:00 failed: Page could not be "
                            "fetched: " + web.services().resultsSiteRoot + "2026/12/06/mtgraces.html (HTTP 500)\n\n"));
}

}  // namespace
}  // namespace selvane
