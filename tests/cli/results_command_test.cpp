// The results and race commands against the stand-in services.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "CliRun.h"
#include "standin/RaceDay.h"
#include "support/StandinFixture.h"

namespace selvane {
namespace {

namespace sd = standin;
using test::operator+;

struct ResultsCommand : ::testing::Test {
    test::StandinFixture web;
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    const std::string track = day.meetings[0].name.substr(0, day.meetings[0].name.find(' '));

    std::string pageAddress(const std::string& root) const { return root + "2026/12/06/mtgraces.html"; }
};

TEST_F(ResultsCommand, ShowsTheMeetingsResultStates) {
    const test::CliRun run = test::runCli(std::vector<std::string>{"results", track} + test::serviceOptions(web.services()));
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find(day.meetings[0].resultsName), std::string::npos) << run.out;
    // One fetch serves the results list and the page the window shows.
    const std::vector<std::string> log = web.server.requestLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "/tote/2026/12/06/mtgraces.html"), 1);
}

TEST_F(ResultsCommand, AResultsSiteThatDoesNotDeliverTheDaysPageIsAnError) {
    struct Case {
        const char* what;
        sd::Fault fault;
        bool closedPort;
        std::string cause;
    };
    for (const Case& c : {Case{"404", sd::Fault::NotFound, false, "(HTTP 404)"},
                          Case{"500", sd::Fault::ServerError, false, "(HTTP 500)"},
                          Case{"nothing listening", sd::Fault::None, true, "(no connection)"}}) {
        SCOPED_TRACE(c.what);
        web.server.setFault(c.fault, "/tote/");
        Services services = web.services();
        if (c.closedPort) services.resultsSiteRoot = "http://127.0.0.1:1/tote/";
        for (const std::vector<std::string>& words :
             {std::vector<std::string>{"results", track}, std::vector<std::string>{"race", track, "1"}}) {
            const test::CliRun run = test::runCli(words + test::serviceOptions(services));
            EXPECT_EQ(run.code, 1);
            EXPECT_EQ(run.err, "selvane-cli " + words[0] + ": Page could not be fetched: " +
                                   pageAddress(services.resultsSiteRoot) + " " + c.cause + "\n");
            EXPECT_EQ(run.out, "");
        }
    }
}

}  // namespace
}  // namespace selvane
