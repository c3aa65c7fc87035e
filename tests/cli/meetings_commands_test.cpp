// The meeting commands of the CLI: saved pages and the stand-in form-guide service.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliRun.h"
#include "standin/RaceDay.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using test::operator+;

TEST(MeetingsCommands, AFailedFetchNamesTheAddressThatFailed) {
    test::StandinFixture web;
    const standin::Meeting m = standin::generateRaceDay(2026, 12, 6, 1).meetings[0];
    const std::string track = m.name.substr(0, m.name.find(' '));
    const std::string undated = web.services().formGuide + "/cgi-bin/tvf/access.pl";
    const std::string dated = undated + "?20261206";
    const std::string failed = ": the page could not be fetched from the form-guide service\n";
    struct Case {
        const char* what;
        std::vector<std::string> words;
        std::string err;
    };
    web.server.setOverride("/cgi-bin/tvf/access.pl?20261206", "<html>Not here</html>", 404);
    for (const Case& c : std::vector<Case>{
             {"today's page delivered, the dated one not", {"meetings"}, "selvane-cli meetings: " + dated + failed},
             {"a chosen date", {"meetings", "--date", "06/12/2026"}, "selvane-cli meetings: " + dated + failed},
             {"the race command", {"race", track, "1"}, "selvane-cli race: " + dated + failed},
             {"the results command", {"results", track}, "selvane-cli results: " + dated + failed},
         }) {
        SCOPED_TRACE(c.what);
        const test::CliRun run = test::runCli(c.words + test::serviceOptions(web.services()));
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }

    Services closed = web.services();
    closed.formGuide = "http://127.0.0.1:1";
    const test::CliRun run = test::runCli(std::vector<std::string>{"meetings"} + test::serviceOptions(closed));
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "selvane-cli meetings: http://127.0.0.1:1/cgi-bin/tvf/access.pl" + failed);
}

}  // namespace
}  // namespace selvane
