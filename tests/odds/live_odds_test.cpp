#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "odds/LiveOdds.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

// "number|name|best|seven prices" per row.
std::vector<std::string> shown(const std::vector<OddsRow>& rows) {
    std::vector<std::string> out;
    for (const OddsRow& r : rows) {
        std::string line = r.number + "|" + r.name + "|" + r.best;
        for (const std::string& p : r.prices) line += "|" + p;
        out.push_back(line);
    }
    return out;
}

// A stand-in price page as the page loader stores it: five starters, one scratched in every
// column, place pools without prices, the favourites marked in gold.
const std::string kDevonport5 = "odds/devonport_r5/";
const std::vector<std::string> kDevonport5Rows = {
    "1|Secret Glory|2.10|2.00|2.00|2.10|2.10|n/a|n/a|n/a", "2|Secret Princess|9.20|8.50|8.60|9.20|9.20|n/a|n/a|n/a",
    "3|Storm Venture|scr|scr|scr|scr|scr|scr|scr|scr",     "4|Winter Echo|4.00|3.80|4.00|3.60|3.70|n/a|n/a|n/a",
    "5|Red Star|3.70|3.70|3.60|3.50|3.60|n/a|n/a|n/a",
};

TEST(LiveOdds, StandinPricePageGolden) {
    test::TempDir dir;
    const OddsOutcome o = oddsFromPage(test::readFile(test::dataFile(kDevonport5 + "rto.html")), 5, dir.path());
    ASSERT_TRUE(o.hasPage) << o.cause;
    EXPECT_EQ(o.end, OddsPageEnd::RunnerRows);
    // Checked by hand against the cutting rules: heading row and five runner rows, one cell a line.
    EXPECT_EQ(o.page, test::readFile(test::dataFile(kDevonport5 + "realodds.html")));
    EXPECT_EQ(test::readFile(dir.path() / "realodds.html"), o.page);
    EXPECT_EQ(shown(o.rows), kDevonport5Rows);
}

TEST(LiveOdds, MoreRunnersThanPriceRows) {
    // Emergencies are in the runner list but have no price row: the percentages row ends the page.
    test::TempDir dir;
    const OddsOutcome o = oddsFromPage(test::readFile(test::dataFile(kDevonport5 + "rto.html")), 7, dir.path());
    ASSERT_TRUE(o.hasPage);
    EXPECT_EQ(o.end, OddsPageEnd::Percentages);
    std::vector<std::string> want = kDevonport5Rows;
    want.insert(want.end(), 2, "|||||||||");
    EXPECT_EQ(shown(o.rows), want);
}

TEST(LiveOdds, NoPriceTableLeavesNoEarlierPage) {
    test::TempDir dir;
    test::writeFile(dir.path() / "realodds.html", "an earlier race's prices");
    const OddsOutcome o = oddsFromPage("<html><body>Service unavailable</body></html>\r\n", 5, dir.path());
    EXPECT_FALSE(o.hasPage);
    EXPECT_EQ(o.cause, "the price page has no price table");
    EXPECT_TRUE(o.rows.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "realodds.html"));
}

TEST(LiveOdds, NothingReadableStillGivesARowPerRunner) {
    test::TempDir dir;
    const OddsOutcome o =
        oddsFromPage("<table></table><table border=1><tr><td>no prices</td></tr></table>", 3, dir.path());
    ASSERT_TRUE(o.hasPage);
    EXPECT_EQ(shown(o.rows), std::vector<std::string>(3, "|||||||||"));
    EXPECT_TRUE(oddsFromPage("<table></table>", 0, dir.path()).rows.empty());
}

TEST(LiveOdds, AFolderThatCannotTakeThePage) {
    test::TempDir dir;
    const OddsOutcome o = oddsFromPage("<table></table><tr>", 2, dir.path() / "missing");
    EXPECT_FALSE(o.hasPage);
    EXPECT_NE(o.cause.find("cannot open"), std::string::npos) << o.cause;
}

TEST(LiveOdds, InaccessibleText) {
    EXPECT_EQ(oddsInaccessibleText("NORTH PARK "),
              "Could not access any live odds data for NORTH PARK\r\n"
              "This is probably due to odds data has no record available.");
}

}  // namespace
}  // namespace selvane
