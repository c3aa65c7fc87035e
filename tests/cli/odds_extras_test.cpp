// odds --csv and odds --watch: the price table as spreadsheet records, and the board that marks
// how each best price moved between fetches.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "CliRun.h"
#include "OddsOutput.h"
#include "standin/RaceClock.h"
#include "standin/RaceDay.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

namespace sd = standin;
using test::operator+;

OddsRow row(std::string number, std::string name, std::string best) {
    return {std::move(number), std::move(name), std::move(best), {"3.5", "4.0", "n/a", "3.8", "1.5", "1.6", "1.7"}};
}

TEST(OddsCsv, QuotesNamesAndLeavesOutRowsOffThePricePage) {
    std::ostringstream out;
    cli::writeOddsCsv(out, {row("1", "Say \"When\", Ok", "4.0"), row("", "", ""), row("2", "Plain", "scr")});
    EXPECT_EQ(out.str(),
              "number,name,best,AUS TOTE,STAB Win,NSW Win,QLD Win,STAB PLC,NSW PLC,QLD PLC\r\n"
              "1,\"Say \"\"When\"\", Ok\",4.0,3.5,4.0,n/a,3.8,1.5,1.6,1.7\r\n"
              "2,Plain,scr,3.5,4.0,n/a,3.8,1.5,1.6,1.7\r\n");
}

TEST(OddsCsv, OneRecordPerRunnerOfTheStandinsPricePage) {
    test::StandinFixture web;
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    const sd::Meeting& meeting = day.meetings[0];
    const sd::Race& race = meeting.races[0];
    const std::string track = meeting.name.substr(0, meeting.name.find(' '));
    const test::CliRun run =
        test::runCli(std::vector<std::string>{"odds", track, "1", "--csv"} + test::serviceOptions(web.services()));
    ASSERT_EQ(run.code, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "number,name,best,AUS TOTE,STAB Win,NSW Win,QLD Win,STAB PLC,NSW PLC,QLD PLC\r");
    for (const sd::Runner* r : race.starters()) {
        ASSERT_TRUE(std::getline(lines, line));
        const sd::RunnerPrices p = sd::pricesAt(day, meeting, race, *r, web.server.now());
        std::string prices;
        for (const std::string& t : p.tote) prices += "," + t;
        EXPECT_TRUE(line.starts_with(r->number + ",")) << line;
        EXPECT_TRUE(line.ends_with(prices + "\r")) << line << " / " << prices;
    }
    EXPECT_FALSE(std::getline(lines, line)) << line;

    const test::CliRun both = test::runCli({"odds", track, "1", "--csv", "--json"});
    EXPECT_EQ(both.code, 2);
    EXPECT_TRUE(both.err.starts_with("selvane-cli odds: --csv and --json cannot be used together")) << both.err;
}

TEST(OddsBoard, MarksHowEachBestPriceMoved) {
    struct Case {
        const char* before;  // nullptr: the runner was not in the last fetch
        const char* now;
        const char* mark;
    };
    const Case cases[] = {
        {"4.0", "3.5", " ▼"},  {"4.0", "12.0", " ▲"},         {"9.0", "10.0", " ▲"},  // as numbers, not texts
        {"4.0", "4.0", ""},    {"4.0", "scr", "  scratched"}, {"scr", "scr", "  scratched"},
        {"-100.0", "4.0", ""}, {"4.0", "-100.0", ""},         {"", "4.0", ""},
        {nullptr, "4.0", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before ? c.before : "(none)") + " -> " + c.now);
        std::vector<OddsRow> previous;
        if (c.before) previous.push_back(row("3", "Horse", c.before));
        const std::vector<cli::BoardRow> rows = cli::oddsBoardRows(previous, {row("3", "Horse", c.now)});
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].key, "3");
        const std::string plain = "3   Horse                   " + std::string(10 - std::string(c.now).size(), ' ') +
                                  c.now + "       3.5       4.0       n/a       3.8       1.5       1.6       1.7";
        EXPECT_EQ(rows[0].text, plain + c.mark);
    }
}

TEST(OddsBoard, RunnersAreMatchedByNumberNotPlace) {
    const auto rows = cli::oddsBoardRows({row("1", "A", "3.0"), row("2", "B", "8.0")},
                                         {row("2", "B", "6.0"), row("1", "A", "3.5"), row("", "", "")});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].text.ends_with(" ▼")) << rows[0].text;
    EXPECT_TRUE(rows[1].text.ends_with(" ▲")) << rows[1].text;
    EXPECT_EQ(rows[2].key, "#2");
    EXPECT_EQ(rows[2].text, "    (not on the price page)");
}

// The real board against the stand-in, its clock moved on between two fetches before the jump.
TEST(OddsBoard, FollowsTheStandinsPrices) {
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    const sd::Meeting& meeting = day.meetings[0];
    const sd::Race& race = meeting.races[0];
    const std::string track = meeting.name.substr(0, meeting.name.find(' '));
    auto clockAt = [](int minutes) {
        char text[32];
        std::snprintf(text, sizeof text, "2026-12-06T%02d:%02d", minutes / 60, minutes % 60);
        return std::string(text);
    };
    test::StandinFixture web(clockAt(race.startMinutes - 60));
    test::TempDir work;
    std::ostringstream out, err;
    cli::Context ctx{cli::Args({track, "1"}, {}), false, work.path(), web.services(), FetchLimits{}, out, err, {}};

    // The stand-in's own best price: the largest of the seven tote prices.
    auto bestAt = [&](const sd::Runner& r) {
        double best = -1;
        for (const std::string& t : sd::pricesAt(day, meeting, race, r, web.server.now()).tote)
            if (t != "n/a" && t != "scr") best = std::max(best, std::stod(t));
        return best;
    };
    std::vector<double> before;
    for (const sd::Runner* r : race.starters()) before.push_back(bestAt(*r));

    std::vector<OddsRow> previous;
    ASSERT_TRUE(cli::oddsBoard(ctx, previous).ok);
    web.server.setNow(clockAt(race.startMinutes - 5));
    const cli::Board board = cli::oddsBoard(ctx, previous);
    ASSERT_TRUE(board.ok) << board.error;
    EXPECT_TRUE(
        board.heading.ends_with(" - #R.01\n#.  Name                     Best Odds  AUS TOTE  STAB Win   NSW Win"
                                "   QLD Win  STAB PLC   NSW PLC   QLD PLC"))
        << board.heading;

    int moved = 0;
    const auto starters = race.starters();
    ASSERT_GE(board.rows.size(), starters.size());
    for (std::size_t i = 0; i < starters.size(); ++i) {
        SCOPED_TRACE(starters[i]->number);
        const std::string& text = board.rows[i].text;
        const double after = bestAt(*starters[i]);
        if (starters[i]->scratched) {
            EXPECT_TRUE(text.ends_with("  scratched")) << text;
        } else if (after < before[i]) {
            EXPECT_TRUE(text.ends_with(" ▼")) << text;
        } else if (after > before[i]) {
            EXPECT_TRUE(text.ends_with(" ▲")) << text;
        } else {
            EXPECT_FALSE(text.ends_with("▼") || text.ends_with("▲") || text.ends_with("scratched")) << text;
        }
        moved += after != before[i];
    }
    EXPECT_GT(moved, 0) << "the stand-in's prices did not move: the case tests nothing";

    // A failed fetch leaves the last good prices to compare with.
    web.server.setFault(sd::Fault::ServerError, "/cgi-bin/tvf/memdispodds.pl/");
    const cli::Board failed = cli::oddsBoard(ctx, previous);
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.error.find("(HTTP 500)"), std::string::npos) << failed.error;
    EXPECT_EQ(previous.size(), board.rows.size());
}

}  // namespace
}  // namespace selvane
