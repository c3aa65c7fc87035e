// The odds command against the stand-in services: the chosen race's prices as the odds window
// shows them, and no rows at all when the price page cannot be had.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "CliRun.h"
#include "standin/RaceDay.h"
#include "support/StandinFixture.h"

namespace selvane {
namespace {

namespace sd = standin;
using test::operator+;

struct OddsCommand : ::testing::Test {
    test::StandinFixture web;
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    const sd::Meeting& meeting = day.meetings[0];
    const std::string track = meeting.name.substr(0, meeting.name.find(' '));

    // The first race of the meeting with emergencies: more runners than price rows.
    const sd::Race& raceWithEmergencies() const {
        for (const sd::Race& r : meeting.races)
            if (r.starters().size() < r.runners.size()) return r;
        ADD_FAILURE() << "the meeting has no field with emergencies";
        return meeting.races[0];
    }

    std::string address(int race) const {
        return web.services().formGuide + "/cgi-bin/tvf/memdispodds.pl/" + meeting.formCode + std::to_string(race) +
               "?rto";
    }
};

TEST_F(OddsCommand, JsonRowsAreTheWindowsRowsOfTheWholeField) {
    const sd::Race& race = raceWithEmergencies();
    const test::CliRun run =
        test::runCli(std::vector<std::string>{"odds", track, std::to_string(race.number), "--json"} +
                     test::serviceOptions(web.services()));
    ASSERT_EQ(run.code, 0) << run.err;
    const nlohmann::json doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["address"], address(race.number));
    const std::string ending = std::string(" - #R.") + (race.number < 10 ? "0" : "") + std::to_string(race.number);
    EXPECT_TRUE(doc["heading"].get<std::string>().ends_with(ending)) << doc["heading"];
    const auto starters = race.starters();
    ASSERT_EQ(doc["rows"].size(), race.runners.size());
    for (std::size_t i = 0; i < race.runners.size(); ++i) {
        SCOPED_TRACE(i);
        const nlohmann::json& row = doc["rows"][i];
        if (i >= starters.size()) {
            EXPECT_EQ(row["number"], "");
            EXPECT_EQ(row["best"], "");
            continue;
        }
        const sd::RunnerPrices p = sd::pricesAt(day, meeting, race, *starters[i], web.server.now());
        EXPECT_EQ(row["number"], starters[i]->number);
        EXPECT_EQ(row["prices"], nlohmann::json(p.tote));
        if (starters[i]->scratched) {
            EXPECT_EQ(row["best"], "scr");
        }
    }
    EXPECT_EQ(doc["messages"], nlohmann::json::array());
}

TEST_F(OddsCommand, TheTableShowsTheHeadingsAndEachRunnersBestPrice) {
    const sd::Race& race = meeting.races[0];
    const test::CliRun run =
        test::runCli(std::vector<std::string>{"odds", track, "1"} + test::serviceOptions(web.services()));
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find(" - #R.01\n\n#.  Name                     Best Odds  AUS TOTE  STAB Win"), std::string::npos)
        << run.out;
    const sd::Runner& first = *race.starters()[0];
    EXPECT_NE(run.out.find("\n" + first.number + std::string(4 - first.number.size(), ' ')), std::string::npos);
}

TEST_F(OddsCommand, APricePageThatCannotBeHadExitsOneWithoutRows) {
    struct Case {
        const char* what;
        sd::Fault fault;
        const char* reason;
    };
    const Case cases[] = {
        {"404", sd::Fault::NotFound, "HTTP 404"},
        {"500", sd::Fault::ServerError, "HTTP 500"},
        {"no price table", sd::Fault::None, "the price page has no price table"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        web.server.clearOverrides();
        web.server.setFault(c.fault, "/cgi-bin/tvf/memdispodds.pl/");
        if (c.fault == sd::Fault::None)
            web.server.setOverride("/cgi-bin/tvf/memdispodds.pl/" + meeting.formCode + "2?rto",
                                   "<html><body>No prices yet</body></html>", 200);
        const test::CliRun run =
            test::runCli(std::vector<std::string>{"odds", track, "2", "--json"} + test::serviceOptions(web.services()));
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err,
                  "selvane-cli odds: " + address(2) + ": the price page could not be read (" + c.reason + ")\n");
    }
}

}  // namespace
}  // namespace selvane
