// The page tools on saved pages: the bytes of the pages the window shows, and the tables read back.
#include <nlohmann/json.hpp>

#include "CliRun.h"

namespace selvane {
namespace {

using Words = std::vector<std::string>;

TEST(PageTools, PageOddsAndPageResultsWriteThePagesTheWindowShows) {
    const nlohmann::json doc = nlohmann::json::parse(
        test::runCli({"page", "odds", test::dataFile("odds/devonport_r5/rto.html"), "--runners", "5", "--json"}).out);
    EXPECT_EQ(doc["page"], test::readFile(test::dataFile("odds/devonport_r5/realodds.html")));
    EXPECT_EQ(doc["rows"][2]["best"], "scr");
    const test::CliRun results = test::runCli({"page", "results", test::dataFile("results/BL02_test.html")});
    EXPECT_EQ(results.out, test::readFile(test::dataFile("results/BL02_results.html")));

    test::TempDir dir;
    test::writeFile(dir.file("rto.html"),
                    "<table></table><table border=1><tr></tr><tr></tr><tr></tr><tr></tr>"
                    "<tr><td>#</td><td>QLD PLC</td></tr>"
                    "<tr><td>1</td><td>RED STAR</td><td>2</td><td>58</td><td>3.70</td><td>N/A</td><td>n/a</td>"
                    "<td>scr</td><td>x</td><td>1.50</td><td>n/a</td><td>n/a</td></tr>");
    EXPECT_EQ(
        test::runCli({"page", "odds", dir.file("rto.html"), "--runners", "2"}).out,
        "realodds.html: 553 bytes, ended at the end of the page\n"
        "#.  Name                     Best Odds  AUS TOTE  STAB Win   NSW Win   QLD Win  STAB PLC   NSW PLC   QLD PLC\n"
        "1   Red Star                      3.70      3.70       N/A       n/a       scr      1.50       n/a       n/a\n"
        "    (not on the price page)\n");
}

// A page without its table gives no page, never an earlier one from the work folder.
TEST(PageTools, APageWithoutItsTableGivesNoPage) {
    test::TempDir dir;
    const std::string page = dir.file("page.html"), work = dir.path().string();
    test::writeFile(page, "<html><body>Not Found</body></html>\r\n");
    test::writeFile(dir.file("results.html"), "an earlier race");
    test::writeFile(dir.file("realodds.html"), "an earlier race");
    const std::pair<Words, std::string> cases[] = {
        {{"page", "odds", page, "--runners", "3", "--json"}, "{\n  \"page\": null,\n  \"rows\": []\n}\n"},
        {{"page", "odds", page, "--runners", "3"},
         "No realodds.html (the price page has no price table): the window would say \"Live odds is unavailable "
         "please try again later!\"\n"},
        {{"page", "results", page, "--json"}, "{\n  \"page\": \"\"\n}\n"},
    };
    for (auto [words, out] : cases) {
        words.insert(words.end(), {"--work", work});
        const test::CliRun run = test::runCli(words);
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.out, out);
    }
    EXPECT_EQ(test::runCli({"page", "results", page}).err,
              "selvane-cli page results: no result tables on the page; results.html is not written\n");
}

TEST(PageTools, ParseResultsTablesCountCharacters) {
    for (const std::string e : {"\xC9", "\xC3\x89"}) {  // E-acute in Latin-1 and in UTF-8
        test::TempDir dir;
        std::string page = "<h3>RACES</h3><table><tr>\r\n";
        for (int i = 0; i < 13; ++i) page += "<th class=\"rowhdr\">R" + std::to_string(i) + "</th>\r\n";
        page += "</tr><tr><td class='location'> <a href=\"BE.html\">B" + e + "NDIGO (BE)</a></td>\r\n"
                "<td><a href=\"BE01.html\">1,2,3 " + e + "</a></td>\r\n</tr></table><h3>TROTS</h3>\r\n";
        test::writeFile(dir.file("mtgraces.html"), page);
        EXPECT_EQ(test::runCli({"parse", "results", dir.file("mtgraces.html"), "--track", "b"}).out,
                  "Meetings on the page: 1 (counted: 1)\n"
                  "   1  B\xC3\x89NDIGO (BE)             BE  R1: 1,2,3 \xC3\x89\n"
                  "\n"
                  "link  Race #.  Track Name                Results\n"
                  "BE    1        B\xC3\x89NDIGO (BE)              1,2,3 \xC3\x89\n"
                  "Ticker: #R.1  [ 1,2,3 \xC3\x89 ];      \n"
                  "Race result: \n");
    }
}

// A meeting page as access.html holds it: CR LF after every line.
std::string meetingPage(const std::string& race) {
    return "<FORM METHOD=\"POST\">\r\n<SELECT NAME=\"date\" onChange=\"newdate(this);\" SIZE=\"1\">\r\n"
           "<option value=\"1\">05/12/2026\r\n<OPTION SELECTED VALUE=\"2\">06/12/2026\r\n</SELECT>\r\n"
           "<P>3. Click GO to have your data delivered to you.</P>\r\n"
           "<SELECT NAME=\"M1\">\r\n<OPTION VALUE=\"\">ASCOT\r\n</SELECT>\r\n"
           "<SELECT NAME=\"N1\" SIZE=\"1\">\r\n<OPTION VALUE=\"1\">" + race + "\r\n</SELECT>\r\n</FORM>\r\n";
}

// The last race is the float's shortest text; a page saved with other line ends reads as stored.
TEST(PageTools, ParseMeetings) {
    test::TempDir dir;
    for (const auto& [race, lastRace] : {std::pair{"R4.6 12:00 ASCOT 1000m", "4.6"}, {"R7 12:00 ASCOT 1000m", "7"}}) {
        test::writeFile(dir.file("access.html"), meetingPage(race));
        const std::string out = test::runCli({"parse", "meetings", dir.file("access.html"), "--json"}).out;
        EXPECT_NE(out.find("\"lastRace\": " + std::string(lastRace) + ",\n"), std::string::npos) << out;
    }
    const std::string stored = meetingPage("R1 12:00 ASCOT 1000m");
    std::string lf, cr;
    std::copy_if(stored.begin(), stored.end(), std::back_inserter(lf), [](char c) { return c != '\r'; });
    std::copy_if(stored.begin(), stored.end(), std::back_inserter(cr), [](char c) { return c != '\n'; });
    for (const char* command : {"meetings", "dates"}) {
        test::writeFile(dir.file("stored.html"), stored);
        const std::string want = test::runCli({"parse", command, dir.file("stored.html")}).out;
        EXPECT_NE(want.find("06/12/2026"), std::string::npos) << want;
        for (const std::string& page : {lf, cr, stored + "\r\n\r\n"}) {
            test::writeFile(dir.file("saved.html"), page);
            EXPECT_EQ(test::runCli({"parse", command, dir.file("saved.html")}).out, want);
        }
    }
}

}  // namespace
}  // namespace selvane
