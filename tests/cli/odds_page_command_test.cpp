// page odds: the bytes written to realodds.html and the odds window rows, from a saved price page.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "CliRun.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

TEST(PageOddsCommand, JsonHoldsThePageBytesAndTheRows) {
    const std::string page = test::dataFile("odds/devonport_r5/rto.html");
    const test::CliRun run = test::runCli({"page", "odds", page, "--runners", "5", "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    const nlohmann::json doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["page"], test::readFile(test::dataFile("odds/devonport_r5/realodds.html")));
    ASSERT_EQ(doc["rows"].size(), 5u);
    EXPECT_EQ(doc["rows"][0], nlohmann::json::parse(R"({"number": "1", "name": "Secret Glory", "best": "2.10",
        "prices": ["2.00", "2.00", "2.10", "2.10", "n/a", "n/a", "n/a"]})"));
    EXPECT_EQ(doc["rows"][2]["best"], "scr");
}

TEST(PageOddsCommand, TextIsAPriceTableWithTheBestPrice) {
    test::TempDir dir;
    test::writeFile(dir.file("rto.html"),
                    "<table></table><table border=1><tr></tr><tr></tr><tr></tr><tr></tr>"
                    "<tr><td>#</td><td>QLD PLC</td></tr>"
                    "<tr><td>1</td><td>RED STAR</td><td>2</td><td>58</td><td>3.70</td><td>N/A</td><td>n/a</td>"
                    "<td>scr</td><td>x</td><td>1.50</td><td>n/a</td><td>n/a</td></tr>");
    const test::CliRun run = test::runCli({"page", "odds", dir.file("rto.html"), "--runners", "2"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(
        run.out,
        "realodds.html: 553 bytes, ended at the end of the page\n"
        "#.  Name                     Best Odds  AUS TOTE  STAB Win   NSW Win   QLD Win  STAB PLC   NSW PLC   QLD PLC\n"
        "1   Red Star                      3.70      3.70       N/A       n/a       scr      1.50       n/a       n/a\n"
        "    (not on the price page)\n");
}

TEST(PageOddsCommand, NoPriceTable) {
    test::TempDir dir;
    test::writeFile(dir.file("rto.html"), "<html><body>Not Found</body></html>\r\n");
    const test::CliRun json = test::runCli({"page", "odds", dir.file("rto.html"), "--runners", "3", "--json"});
    ASSERT_EQ(json.code, 0);
    EXPECT_EQ(nlohmann::json::parse(json.out), nlohmann::json::parse(R"({"page": null, "rows": []})"));
    const test::CliRun text = test::runCli({"page", "odds", dir.file("rto.html"), "--runners", "3"});
    EXPECT_EQ(text.out,
              "No realodds.html (the price page has no price table): the window would say \"Live odds is "
              "unavailable please try again later!\"\n");
}

TEST(PageOddsCommand, Errors) {
    test::TempDir dir;
    const std::string page = dir.file("rto.html");
    test::writeFile(page, "");
    const std::string usage = " (usage: selvane-cli page odds FILE --runners N)\n";
    const std::string range = "selvane-cli page odds: --runners takes a runner count from 0 to 100" + usage;
    struct Case {
        std::vector<std::string> words;
        int code;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{"page", "odds", page}, 2, "selvane-cli page odds: --runners is required" + usage},
        {{"page", "odds", page, "--runners", "101"}, 2, range},
        {{"page", "odds", page, "--runners", "-1"}, 2, range},
        {{"page", "odds", page, "--runners", "x"}, 2, range},
        {{"page", "odds", dir.file("missing.html"), "--runners", "1"},
         1,
         "selvane-cli page odds: " + dir.file("missing.html") + ": no such file\n"},
    };
    for (const Case& c : cases) {
        const test::CliRun run = test::runCli(c.words);
        EXPECT_EQ(run.code, c.code) << c.err;
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace
}  // namespace selvane
