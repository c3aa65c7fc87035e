// The tables of the text output: page bytes as UTF-8, columns counted in characters.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>

#include "CliRun.h"
#include "standin/RaceDay.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using test::operator+;

// The same texts written as Latin-1 bytes and as UTF-8 must print alike.
struct Spelling {
    const char* what;
    std::string e;  // E with an acute accent
};
const Spelling kSpellings[] = {{"Latin-1", "\xC9"}, {"UTF-8", "\xC3\x89"}};

TEST(TextOutput, TipsTableCountsCharacters) {
    for (const Spelling& s : kSpellings) {
        SCOPED_TRACE(s.what);
        test::TempDir dir;
        test::writeFile(dir.file("field.txt"), "1\t11\tCAF" + s.e + " ROYAL\t1\n2\t12\tB\t2\n3\t13\tC\t3\n"
                                                   "4\t14\tD\t4\n5\t15\tE\t5\n6\t16\tF\t6\n");
        const test::CliRun run = test::runCli({"tips", dir.file("field.txt")});
        ASSERT_EQ(run.code, 0);
        EXPECT_EQ(run.out.substr(0, run.out.find("   3rd")),
                  "Tips\n"
                  "  Tip   Horse Name       Win   Barrier\n"
                  "   1st   1.  CAF\xC3\x89 ROYAL   78%  1\n"
                  "   2nd   2.  B            61%  2\n");
        EXPECT_NE(run.out.find("Status: Tip each way best bet #  1.  CAF\xC3\x89 ROYAL\n"), std::string::npos);
    }
}

std::string line(const std::string& s) { return s + "\r\n"; }

// A results meeting page as downloadTRACK stores it, with one meeting of one race.
std::string resultsPage(const std::string& name, const std::string& code, const std::string& result) {
    std::string page = line("<h3>RACES</h3><table><tr>");
    for (int i = 0; i < 13; ++i) page += line("<th class=\"rowhdr\">R" + std::to_string(i) + "</th>");
    page += line("</tr><tr><td class='location'> <a href=\"" + code + ".html\">" + name + "</a></td>");
    page += line("<td><a href=\"" + code + "01.html\">" + result + "</a></td>");
    return page + line("</tr></table><h3>TROTS</h3>");
}

TEST(TextOutput, ParseResultsTablesCountCharacters) {
    for (const Spelling& s : kSpellings) {
        SCOPED_TRACE(s.what);
        test::TempDir dir;
        test::writeFile(dir.file("mtgraces.html"), resultsPage("B" + s.e + "NDIGO (BE)", "BE", "1,2,3 " + s.e));
        const test::CliRun run = test::runCli({"parse", "results", dir.file("mtgraces.html"), "--track", "b"});
        ASSERT_EQ(run.code, 0);
        EXPECT_EQ(run.out,
                  "Meetings on the page: 1 (counted: 1)\n"
                  "   1  B\xC3\x89NDIGO (BE)             BE  R1: 1,2,3 \xC3\x89\n"
                  "\n"
                  "link  Race #.  Track Name                Results\n"
                  "BE    1        B\xC3\x89NDIGO (BE)              1,2,3 \xC3\x89\n"
                  "Ticker: #R.1  [ 1,2,3 \xC3\x89 ];      \n"
                  "Race result: \n");
    }
}

TEST(TextOutput, RaceMessagesPrintTheirLineBreaksPlainly) {
    test::StandinFixture web;
    const standin::RaceDay day = standin::generateRaceDay(2026, 12, 6, 1);
    const standin::Meeting& m = day.meetings[0];
    web.server.setFault(standin::Fault::NotFound, "/cgi-bin/tvf/memdeliver.pl");
    const test::CliRun run = test::runCli(std::vector<std::string>{"race", m.name.substr(0, m.name.find(' ')), "1"} +
                                          test::serviceOptions(web.services()));
    // A race page that cannot be fetched is an error, printed after the placeholder tips and warning.
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "selvane-cli race: Page could not be fetched: " + web.services().formGuide +
                           "/cgi-bin/tvf/memdeliver.pl/" + m.formCode + "1.htm?tvf3 (HTTP 404)\n");
    EXPECT_NE(run.out.find("Message \"Race's Data Error\": Could not access any data for race's " +
                           m.races[0].trackWords +
                           "\nThis is probably due to data error or no data available.\n\n"
                           "No bets should be made due to insufficient form data\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
}

// Bytes that only look like UTF-8 are read as Latin-1, so --json always prints a document.
TEST(TextOutput, BytesThatAreNotStrictUtf8ReadAsLatin1) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string utf8;
    } cases[] = {
        {"UTF-8", "CAF\xC3\x89", "CAF\xC3\x89"},
        {"Latin-1", "CAF\xC9", "CAF\xC3\x89"},
        {"overlong slash", "A\xC0\xAF", "A\xC3\x80\xC2\xAF"},
        {"surrogate", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(cli::toUtf8(c.bytes), c.utf8);
        test::TempDir dir;
        test::writeFile(dir.file("field.txt"), "1\t11\t" + c.bytes + "\t1\n2\t12\tB\t2\n3\t13\tC\t3\n"
                                               "4\t14\tD\t4\n5\t15\tE\t5\n6\t16\tF\t6\n");
        const test::CliRun run = test::runCli({"tips", dir.file("field.txt"), "--json"});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(nlohmann::json::parse(run.out)["tips"][0]["runner"], " 1.  " + c.utf8);
    }
}

// A race page in ISO-8859-1 shows its names as written, not as entities.
TEST(TextOutput, RaceNamesFromALatin1PageAreShownAsWritten) {
    test::StandinFixture web;
    const standin::RaceDay day = standin::generateRaceDay(2026, 12, 6, 1);
    const standin::Meeting& m = day.meetings[0];
    web.server.setFault(standin::Fault::NotUtf8, "/cgi-bin/tvf/memdeliver.pl");
    const test::CliRun run = test::runCli(std::vector<std::string>{"race", m.name.substr(0, m.name.find(' ')), "1",
                                                                   "--json"} +
                                          test::serviceOptions(web.services()));
    ASSERT_EQ(run.code, 0) << run.err;
    const nlohmann::json field = nlohmann::json::parse(run.out)["field"];
    ASSERT_EQ(field.size(), m.races[0].runners.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        // The stand-in writes a name's first E as E-acute.
        std::string name = m.races[0].runners[i].name;
        if (const auto e = name.find('E'); e != std::string::npos) name.replace(e, 1, "\xC3\x89");
        EXPECT_EQ(field[i]["name"], name);
    }
}

}  // namespace
}  // namespace selvane
