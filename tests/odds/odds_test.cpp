// The price page cut into realodds.html and read back, the best price of a row, the odds window.
#include <gtest/gtest.h>

#include "odds/LiveOdds.h"
#include "odds/OddsWindow.h"
#include "pages/PageWriter.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using Strings = std::vector<std::string>;
const std::string kFoot = "</body>\r\n</html>\r\n";

// How writeOddsPage ended and realodds.html ("" when there is none).
std::pair<OddsPageEnd, std::string> cut(const std::string& page, int runners) {
    test::TempDir dir;
    PageWriter writer(dir.path());
    const OddsPageEnd end = writeOddsPage(page, runners, writer);
    const auto file = dir.path() / "realodds.html";
    return {end, std::filesystem::exists(file) ? test::readFile(file) : ""};
}

// Three rows before the heading row; the first "</TABLE>" closes the page's title table.
const std::string kLead = "<table><tr><td>x</td></tr></TABLE>\r\n<TABLE border=\"1\"><tr><td>A</td></tr>\r\n"
                          "<tr><td>B</td></tr>\r\n<tr><td>Runner</td></tr>\r\n";

TEST(WriteOddsPage, ColourChainLinksStrongAndHowThePageEnds) {
    // The stand-in's page holds #ffd700, #fffacd and #ffb6c1 (the golden page below).
    const std::pair<std::string, std::string> colours[] = {
        {"#00ff00", "#ccccff"}, {"#ff0000", "#3399cc"}, {"#80ff80", "#33cc33"}, {"#87cefa", "#ffcccc"},
        {"#FFD700", "#ffd700"},      // rules match exact case, before the tag is lower-cased
        {"#ffd\r\n700", "#3399cc"},  // a colour broken by a line end is joined first
        {"#ffd70", "#ffd70"},
    };
    for (const auto& [colour, written] : colours) {
        const std::string page = kLead + "<tr><td><a href=\"x\">#</a></td></tr><tr><td bgcolor=\"" + colour +
                                 "\"><STRONG>1</STRONG></td></tr>";
        EXPECT_EQ(cut(page, 1).second, test::kWhitePageHead + "<table border=\"1\">\r\n<tr>\r\n<td>\r\n#\r\n</td>\r\n"
                                       "</tr>\r\n<tr>\r\n<td bgcolor=\"" + written + "\">\r\n<b>\r\n1\r\n</b>\r\n"
                                       "</td>\r\n</tr>\r\n</table>\r\n" + kFoot) << colour;
    }

    const std::string rows = "<tr><td>#</td></tr>\r\n<tr><td>1</td></tr>\r\n";
    const std::string copied = test::kWhitePageHead + "<table border=\"1\">\r\n<tr>\r\n<td>\r\n#\r\n</td>\r\n</tr>\r\n"
                               "<tr>\r\n<td>\r\n1\r\n</td>\r\n</tr>\r\n";
    std::string tail = "</font></td>\r\n";
    for (int i = 0; i < 10; ++i) tail += "<td width=\"8%\">&nbsp;</td>\r\n";
    tail += "</tr>\r\n</table>\r\n" + kFoot;
    const std::tuple<std::string, int, OddsPageEnd, std::string> cases[] = {  // page, runners, end, realodds.html
        // The percentages row before the runner count: the tail, later rows never read.
        {kLead + rows + "<tr><td>pErCeNtAgEs</td><td>115.1</td></tr><tr><td>9</td></tr>", 5, OddsPageEnd::Percentages,
         copied + "<tr>\r\n<td>\r\n&nbsp;\r\n" + tail},
        {kLead + rows, 5, OddsPageEnd::EndOfPage, copied + kFoot},
        // A second </TABLE> starts the page again from its head.
        {kLead + rows + "</TABLE><table class=\"t\"><tr><td>3</td></tr>", 5, OddsPageEnd::EndOfPage,
         test::kWhitePageHead + "</table>\r\n<table class=\"t\">\r\n<table class=\"t\">\r\n<tr>\r\n<td>\r\n3\r\n"
         "</td>\r\n</tr>\r\n" + kFoot},
        {"<tr><td>#</td></tr><tr></tr><tr></tr><tr><td>1</td></tr>", 1, OddsPageEnd::NoPage, ""},
        // A text due before any </TABLE> has no page to go to.
        {"<tr></tr><tr></tr><tr></tr><td>#</td></table><table border=1><tr><td>1</td></tr>", 1, OddsPageEnd::NoPage,
         ""},
    };
    for (const auto& [page, runners, end, written] : cases)
        EXPECT_EQ(cut(page, runners), std::make_pair(end, written)) << page;
}

TEST(ReadOddsPage, DealsTwelveTextsToARow) {
    const std::string heading = "<tr><td>#</td><td>Name</td><td>QLD PLC</td></tr>\r\n";
    const std::string full = "<tr><td>1</td><td>ONE</td><td>4</td><td>58</td><td>3.50</td><td>3.60</td><td>n/a</td>"
                             "<td>scr</td><td>1.2</td><td>1.30</td><td>N/A</td><td>SCR</td></tr>\r\n";
    const std::string one = "1|ONE|4|58|3.50|3.60|n/a|scr|1.2|1.30|N/A|SCR", empty = "|||||||||||";
    const std::tuple<std::string, int, Strings> cases[] = {  // page, runners, rows
        {heading + full + full, 1, {one}},
        {heading + "<tr><td>1</td><td>&nbsp;</td><td>A</td><td>   </td><td>B</td></tr>", 1, {"1|A||B||||||||"}},
        {heading + "<tr><td> 1 </td><td>3.\r\n50</td></tr>", 1, {"1|3.50||||||||||"}},
        {heading + "<tr><td>1</td></tr><tr><td>2</td><td>3</td><td>4</td><td>5</td><td>6</td><td>7</td><td>8</td>"
                   "<td>9</td><td>10</td><td>11</td><td>12</td><td>13</td><td>14</td></tr>",
         2, {"1|2|3|4|5|6|7|8|9|10|11|12", "13|14||||||||||"}},
        {"<tr><td>1</td></tr><table><tr><td>qld plc</td><td>heading</td></tr><tr><td>2</td><td>A", 1, {"2|||||||||||"}},
    };
    for (const auto& [page, runners, want] : cases) {
        Strings rows;
        for (const OddsCells& cells : readOddsPage(page, runners)) {
            rows.push_back(cells[0]);
            for (std::size_t k = 1; k < cells.size(); ++k) rows.back() += "|" + cells[k];
        }
        EXPECT_EQ(rows, want) << page;
    }
}

TEST(OddsPrices, BestOdds) {
    const std::pair<std::array<std::string, 7>, std::string> cases[] = {  // the seven price cells, the best
        {{"scr", "scr", "scr", "scr", "scr", "scr", "scr"}, "scr"},
        {{"N/A", "SCR", "N/A", "2.00", "SCR", "N/A", "N/A"}, "2.00"},
        {{"n/a", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a"}, "-100.0"},
        {{"n/a", "Scr", "n/a", "n/a", "n/a", "n/a", "n/a"}, "scr"},
        {{"9.50", "10.00", "2.10", "n/a", "1.40", "1.20", "1.10"}, "10.00"},  // numbers, not texts
        {{"abc", "-", ".", "3.5x", "", "", ""}, ""},                          // no number at all
        {{"", "n/a", "", "", "", "", ""}, "-100.0"},
        {{"1" + std::string(400, '0'), "2.00", "", "", "", "", ""}, "1" + std::string(400, '0')},
    };
    for (const auto& [p, best] : cases)  // cell 9 is no price column
        EXPECT_EQ(bestOdds({"1", "NAME", "4", "58", p[0], p[1], p[2], p[3], "99.00", p[4], p[5], p[6]}), best) << p[0];
}

// Names come as Latin-1 bytes (the engine's work files) or UTF-8 (a page saved by hand); the
// window reads a name as UTF-8 where it is valid, else as Latin-1, and so does the rule.
TEST(OddsPrices, ProperCaseLowersAccentedCapitalsInEitherEncoding) {
    const std::pair<std::string, std::string> cases[] = {
        {"IRON PRINC\xC9SS", "Iron Princ\xE9ss"},                          // Latin-1 É
        {"IRON PRINC\xC3\x89SS", "Iron Princ\xC3\xA9ss"},                  // UTF-8 É
        {"\xE9LAN \xC9T\xC9", "\xC9lan \xC9t\xE9"},                        // Latin-1: é first in its word is É
        {"\xC3\xA9LAN \xC3\x86THER", "\xC3\x89lan \xC3\x86ther"},          // UTF-8 é and Æ
        {"A\327B \337IG \377O", "A\327b \337ig \377o"},                    // ×, ß and ÿ have no other case here
        {"TWO\tWORDS  \xE2\x80\x94 ONE", "Two\tWords  \xE2\x80\x94 One"},  // a UTF-8 dash left alone
        // Lowered as Latin-1, Ê¢£ would turn into one UTF-8 character: only ASCII changes then.
        {"A\xCA\xA2\xA3 BC", "A\xCA\xA2\xA3 Bc"},
    };
    for (const auto& [name, shown] : cases) EXPECT_EQ(properCase(name), shown) << name;
}

TEST(LiveOdds, StandinPricePageGoldenAndMoreRunnersThanRows) {
    test::TempDir dir;
    const std::string rto = test::readFile(test::dataFile("odds/devonport_r5/rto.html"));
    const Strings rows = {
        "1|Secret Glory|2.10|2.00|2.00|2.10|2.10|n/a|n/a|n/a", "2|Secret Princess|9.20|8.50|8.60|9.20|9.20|n/a|n/a|n/a",
        "3|Storm Venture|scr|scr|scr|scr|scr|scr|scr|scr",     "4|Winter Echo|4.00|3.80|4.00|3.60|3.70|n/a|n/a|n/a",
        "5|Red Star|3.70|3.70|3.60|3.50|3.60|n/a|n/a|n/a",     "|||||||||", "|||||||||"};
    for (const int runners : {5, 7}) {  // emergencies have no price row: the percentages row ends the page
        const OddsOutcome o = oddsFromPage(rto, runners, dir.path());
        ASSERT_TRUE(o.hasPage) << o.cause;
        EXPECT_EQ(o.end, runners == 5 ? OddsPageEnd::RunnerRows : OddsPageEnd::Percentages);
        if (runners == 5) {  // checked by hand against the cutting rules
            EXPECT_EQ(o.page, test::readFile(test::dataFile("odds/devonport_r5/realodds.html")));
        }
        Strings shown;
        for (const OddsRow& r : o.rows) {
            shown.push_back(r.number + "|" + r.name + "|" + r.best);
            for (const std::string& p : r.prices) shown.back() += "|" + p;
        }
        EXPECT_EQ(shown, Strings(rows.begin(), rows.begin() + runners));
    }
}

TEST(OddsWindow, EachFillStartsFromAnEmptyWindowAndCloseUnloads) {
    const auto row = [](const std::string& number) {
        return OddsRow{number, "Red Star", "3.70", {"2.00", "2.10", "n/a", "scr", "1.10", "1.20", "1.30"}};
    };
    OddsWindow w;
    fillOddsWindow(w, {row("1"), row("2")}, "FIRST ", "1");
    ASSERT_TRUE(fillOddsWindow(w, {row("9")}, "  A && B  ", "7"));
    EXPECT_EQ(w.lstOddsSort.columns().size(), 10u);  // a second fill never adds them again
    ASSERT_EQ(w.lstOddsSort.count(), 1);
    EXPECT_EQ(std::make_pair(w.lstOddsSort.row(0).text, w.lstOddsSort.row(0).subItems),
              std::make_pair(std::string("9"),
                             Strings{"Red Star", "3.70", "2.00", "2.10", "n/a", "scr", "1.10", "1.20", "1.30"}));
    EXPECT_EQ(w.lblMeetingName.caption(), "A && B - #R.07");
    EXPECT_EQ(oddsHeading("X", "10"), "X - #R.10");
    // An earlier race's rows and heading are never shown when this one has none.
    EXPECT_FALSE(fillOddsWindow(w, {}, "THIRD ", "3"));
    EXPECT_EQ(std::make_tuple(w.loaded(), w.lstOddsSort.count(), w.lblMeetingName.caption()),
              std::make_tuple(false, 0, ""));
    int unloads = 0;
    w.onUnload = [&] { ++unloads; };
    fillOddsWindow(w, {row("1")}, "T", "1");
    w.cmdClose.click();
    EXPECT_EQ(std::make_tuple(unloads, w.loaded(), w.lstOddsSort.count()), std::make_tuple(1, false, 0));
}

}  // namespace
}  // namespace selvane
