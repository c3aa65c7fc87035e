// The meeting commands of the CLI: saved pages and the stand-in form-guide service.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CliRun.h"
#include "standin/RaceDay.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using test::operator+;

// A meeting page as access.html holds it: CR LF after every line.
std::string meetingPage(const std::string& raceText) {
    return "<FORM METHOD=\"POST\">\r\n"
           "<SELECT NAME=\"date\" onChange=\"newdate(this);\" SIZE=\"1\">\r\n"
           "<option value=\"1\">05/12/2026\r\n<OPTION SELECTED VALUE=\"2\">06/12/2026\r\n</SELECT>\r\n"
           "<P>3. Click GO to have your data delivered to you.</P>\r\n"
           "<SELECT NAME=\"M1\">\r\n<OPTION VALUE=\"\">ASCOT\r\n</SELECT>\r\n"
           "<SELECT NAME=\"N1\" SIZE=\"1\">\r\n<OPTION VALUE=\"1\">" +
           raceText + "\r\n</SELECT>\r\n</FORM>\r\n";
}

TEST(MeetingsCommands, LastRaceIsTheFloatsShortestText) {
    struct Case {
        std::string race;
        std::string lastRace;
    };
    for (const Case& c : std::vector<Case>{{"R4.6 12:00 ASCOT 1000m", "4.6"}, {"R7 12:00 ASCOT 1000m", "7"},
                                           {"R1.25 12:00 ASCOT 1000m", "1.25"}}) {
        SCOPED_TRACE(c.race);
        test::TempDir dir;
        test::writeFile(dir.file("access.html"), meetingPage(c.race));
        const test::CliRun run = test::runCli({"parse", "meetings", dir.file("access.html"), "--json"});
        ASSERT_EQ(run.code, 0);
        EXPECT_NE(run.out.find("\"lastRace\": " + c.lastRace + ",\n"), std::string::npos) << run.out;
    }
}

TEST(MeetingsCommands, APageSavedWithOtherLineEndsReadsAsStored) {
    const std::string stored = meetingPage("R1 12:00 ASCOT 1000m");
    std::string lf, cr, oneLine;
    for (char c : stored) {
        if (c != '\r') lf += c;
        if (c != '\n') cr += c;
        if (c != '\r' && c != '\n') oneLine += c;
    }
    for (const std::vector<std::string>& command : {std::vector<std::string>{"parse", "meetings"},
                                                    std::vector<std::string>{"parse", "meetings", "--json"},
                                                    std::vector<std::string>{"parse", "dates"}}) {
        test::TempDir dir;
        test::writeFile(dir.file("stored.html"), stored);
        const test::CliRun want = test::runCli(command + std::vector<std::string>{dir.file("stored.html")});
        ASSERT_EQ(want.code, 0);
        for (const std::string& page : {lf, cr, oneLine, stored + "\r\n\r\n"}) {
            test::writeFile(dir.file("saved.html"), page);
            const test::CliRun run = test::runCli(command + std::vector<std::string>{dir.file("saved.html")});
            EXPECT_EQ(run.code, 0);
            EXPECT_EQ(run.out, want.out);
        }
    }
}

TEST(MeetingsCommands, AFailedFetchNamesTheAddressThatFailed) {
    test::StandinFixture web;
    const standin::Meeting m = standin::generateRaceDay(2026, 12, 6, 1).meetings[0];
    const std::string track = m.name.substr(0, m.name.find(' '));
    const std::string undated = web.services().formGuide + "/cgi-bin/tvf/access.pl";
    const std::string dated = undated + "?20261206";
    const std::string failed = "Page could not be fetched: ";
    struct Case {
        const char* what;
        std::vector<std::string> words;
        std::string err;
    };
    web.server.setOverride("/cgi-bin/tvf/access.pl?20261206", "<html>Not here</html>", 404);
    for (const Case& c : std::vector<Case>{
             {"today's page delivered, the dated one not", {"meetings"}, "selvane-cli meetings: " + failed + dated + " (HTTP 404)\n"},
             {"a chosen date", {"meetings", "--date", "06/12/2026"}, "selvane-cli meetings: " + failed + dated + " (HTTP 404)\n"},
             {"the race command", {"race", track, "1"}, "selvane-cli race: " + failed + dated + " (HTTP 404)\n"},
             {"the results command", {"results", track}, "selvane-cli results: " + failed + dated + " (HTTP 404)\n"},
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
    EXPECT_EQ(run.err, "selvane-cli meetings: " + failed + "http://127.0.0.1:1/cgi-bin/tvf/access.pl (no connection)\n");
}

// Link codes from the meeting page are data: "/" and "?" in them never change the path requested.
// A race page that cannot be fetched still prints the placeholder tips and the warning, exit 1.
TEST(MeetingsCommands, ACraftedLinkCodeStaysInItsPath) {
    test::StandinFixture web;
    std::string page = meetingPage("R3 12:00 ASCOT 1000m");
    page.replace(page.find("NAME=\"M1\""), 9, "NAME=\"M../../../../tmp/x?\"");
    web.server.setOverride("/cgi-bin/tvf/access.pl", page);
    web.server.setOverride("/cgi-bin/tvf/access.pl?20261206", page);
    const test::CliRun run = test::runCli(std::vector<std::string>{"race", "ascot", "3"} + test::serviceOptions(web.services()));

    const std::string target = "/cgi-bin/tvf/memdeliver.pl/..%2F..%2F..%2F..%2Ftmp%2Fx%3F3.htm?tvf3";
    const std::vector<std::string> log = web.server.requestLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), target), 1);
    for (const std::string& t : log) EXPECT_EQ(t.find("/tmp"), std::string::npos) << t;
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "selvane-cli race: Page could not be fetched: " + web.services().formGuide + target + " (HTTP 404)\n");
    EXPECT_NE(run.out.find("Race's Data Error"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace selvane
