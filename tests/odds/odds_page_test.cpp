#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "odds/OddsPage.h"
#include "pages/PageWriter.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

const std::string kHead = test::kWhitePageHead;
const std::string kFoot = "</body>\r\n</html>\r\n";

std::string tail() {
    std::string t = "</font></td>\r\n";
    for (int i = 0; i < 10; ++i) t += "<td width=\"8%\">&nbsp;</td>\r\n";
    return t + "</tr>\r\n</table>\r\n" + kFoot;
}

struct Cut {
    OddsPageEnd end;
    bool written;
    std::string page;
};

Cut cut(const std::string& page, int runners) {
    test::TempDir dir;
    PageWriter writer(dir.path());
    const OddsPageEnd end = writeOddsPage(page, runners, writer);
    const bool written = std::filesystem::exists(dir.path() / "realodds.html");
    return {end, written, written ? test::readFile(dir.path() / "realodds.html") : ""};
}

// Three rows before the price table's heading row, as the service's page has them; the first
// "</TABLE>" closes the page's title table.
const std::string kLead =
    "<table><tr><td>x</td></tr></TABLE>\r\n<TABLE border=\"1\"><tr><td>A</td></tr>\r\n<tr><td>B</td></tr>\r\n"
    "<tr><td>Runner</td></tr>\r\n";

TEST(WriteOddsPage, CopiesTheHeadingAndRunnerRowsExactly) {
    const std::string page = kLead +
                             "<tr><td bgcolor=\"#ffd700\">#</td><td><a href=\"x\">Name</a></td></tr>\r\n"
                             "<tr bgcolor=\"#fffacd\"><td><STRONG>1</STRONG></td><td>ONE</td></tr>\r\n"
                             "<tr><td>2</td></tr></table>\r\n";
    const Cut c = cut(page, 1);
    EXPECT_EQ(c.end, OddsPageEnd::RunnerRows);
    EXPECT_EQ(c.page, kHead +
                          "<table border=\"1\">\r\n<tr>\r\n<td bgcolor=\"#3399cc\">\r\n#\r\n</td>\r\n<td>\r\n"
                          "Name\r\n</td>\r\n</tr>\r\n<tr bgcolor=\"#ccffcc\">\r\n<td>\r\n<b>\r\n1\r\n</b>\r\n"
                          "</td>\r\n<td>\r\nONE\r\n</td>\r\n</tr>\r\n</table>\r\n" +
                          kFoot);
}

TEST(WriteOddsPage, ColourChain) {
    struct Case {
        std::string colour;
        std::string written;
        const char* proves;
    };
    const std::vector<Case> cases = {
        {"#ffd700", "#3399cc", "through #ff0000 and #ffb6c1"},
        {"#00ff00", "#ccccff", "a single rewrite"},
        {"#ff0000", "#3399cc", "through #ffb6c1"},
        {"#fffacd", "#ccffcc", "odd rows"},
        {"#ffb6c1", "#3399cc", "scratched rows"},
        {"#80ff80", "#33cc33", "column headings"},
        {"#87cefa", "#ffcccc", "the race heading"},
        {"#FFD700", "#ffd700", "rewrites match exact case, before the tag is lower-cased"},
        {"#ffd\r\n700", "#3399cc", "a colour broken by a line end is joined first"},
        {"#ffd70", "#ffd70", "a short colour stays"},
    };
    for (const Case& k : cases) {
        const Cut c = cut(kLead + "<tr><td>#</td></tr><tr><td bgcolor=\"" + k.colour + "\">1</td></tr>", 1);
        EXPECT_NE(c.page.find("<td bgcolor=\"" + k.written + "\">\r\n1\r\n"), std::string::npos) << k.proves << "\n"
                                                                                                 << c.page;
    }
}

TEST(WriteOddsPage, HowThePageEnds) {
    const std::string heading = "<tr><td>#</td></tr>\r\n";
    const std::string rows = "<tr><td>1</td></tr>\r\n<tr><td>2</td></tr>\r\n";
    const std::string copied =
        "<table border=\"1\">\r\n<tr>\r\n<td>\r\n#\r\n</td>\r\n</tr>\r\n<tr>\r\n<td>\r\n1\r\n"
        "</td>\r\n</tr>\r\n<tr>\r\n<td>\r\n2\r\n</td>\r\n</tr>\r\n";
    struct Case {
        std::string page;
        int runners;
        OddsPageEnd end;
        std::string written;  // empty: no realodds.html
        const char* proves;
    };
    const std::vector<Case> cases = {
        {kLead + heading + rows + "<tr><td><b>PERCENTAGES</b></td><td>115.1</td></tr></table>", 5,
         OddsPageEnd::Percentages, kHead + copied + "<tr>\r\n<td>\r\n<b>\r\n&nbsp;\r\n" + tail(),
         "the percentages row before the runner count: the tail, later rows never read"},
        {kLead + heading + rows + "<tr><td>pErCeNtAgEs</td></tr>", 5, OddsPageEnd::Percentages,
         kHead + copied + "<tr>\r\n<td>\r\n&nbsp;\r\n" + tail(), "PERCENTAGES in any case"},
        {kLead + heading + rows, 5, OddsPageEnd::EndOfPage, kHead + copied + kFoot,
         "a page that runs out still gets its foot"},
        {kLead + heading + rows + "<td", 5, OddsPageEnd::EndOfPage, kHead + copied + kFoot,
         "a last < without > ends the page"},
        {kLead + heading + rows + "</TABLE><table class=\"t\"><tr><td>3</td></tr>", 5, OddsPageEnd::EndOfPage,
         kHead + "</table>\r\n<table class=\"t\">\r\n<table class=\"t\">\r\n<tr>\r\n<td>\r\n3\r\n</td>\r\n</tr>\r\n" +
             kFoot,
         "a second </TABLE> starts the page again from its head"},
        {"<tr><td>#</td></tr><tr></tr><tr></tr><tr><td>1</td></tr>", 1, OddsPageEnd::NoPage, "",
         "no </TABLE>: no page"},
        {"<tr></tr><tr></tr><tr></tr><td>#</td></table><table border=1><tr><td>1</td></tr>", 1, OddsPageEnd::NoPage, "",
         "a text due before any </TABLE> ends the walk with no page"},
        {"<table></table><tr><td>PERCENTAGES</td>", 1, OddsPageEnd::Percentages, kHead + "&nbsp;\r\n" + tail(),
         "percentages right after the table start"},
        {kLead + heading, 0, OddsPageEnd::RunnerRows,
         kHead + "<table border=\"1\">\r\n<tr>\r\n<td>\r\n#\r\n</td>\r\n</tr>\r\n</table>\r\n" + kFoot,
         "no runners: the heading row alone"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.proves);
        const Cut c = cut(k.page, k.runners);
        EXPECT_EQ(c.end, k.end);
        EXPECT_EQ(c.written, !k.written.empty());
        EXPECT_EQ(c.page, k.written);
    }
}

// Cells joined by "|", one text per row.
std::vector<std::string> joined(const OddsTable& table) {
    std::vector<std::string> rows;
    for (const OddsCells& cells : table) {
        std::string row = cells[0];
        for (std::size_t k = 1; k < cells.size(); ++k) row += "|" + cells[k];
        rows.push_back(row);
    }
    return rows;
}

TEST(ReadOddsPage, DealsTwelveTextsToARow) {
    const std::string heading = "<tr><td>#</td><td>Name</td><td>QLD PLC</td></tr>\r\n";
    const std::string full =
        "<tr><td>1</td><td>ONE</td><td>4</td><td>58</td><td>3.50</td><td>3.60</td><td>n/a</td>"
        "<td>scr</td><td>1.2</td><td>1.30</td><td>N/A</td><td>SCR</td></tr>\r\n";
    struct Case {
        std::string page;
        int runners;
        std::vector<std::string> rows;
        const char* proves;
    };
    const std::vector<Case> cases = {
        {heading + full + full,
         2,
         {"1|ONE|4|58|3.50|3.60|n/a|scr|1.2|1.30|N/A|SCR", "1|ONE|4|58|3.50|3.60|n/a|scr|1.2|1.30|N/A|SCR"},
         "one runner row each"},
        {heading + full + full, 1, {"1|ONE|4|58|3.50|3.60|n/a|scr|1.2|1.30|N/A|SCR"}, "no row past the runner count"},
        {heading + full,
         3,
         {"1|ONE|4|58|3.50|3.60|n/a|scr|1.2|1.30|N/A|SCR", "|||||||||||", "|||||||||||"},
         "rows not on the page stay empty"},
        {heading + "<tr><td>1</td><td>&nbsp;</td><td>A</td></tr><tr><td>2</td></tr>",
         1,
         {"1|A|2|||||||||"},
         "an &nbsp; cell is nothing: the row's later texts move left"},
        {heading + "<tr><td>1</td><td>   </td><td>A</td></tr>",
         1,
         {"1||A|||||||||"},
         "blanks only: an empty cell that still counts"},
        {heading + "<tr><td> 1 </td><td>3.\r\n50</td></tr>",
         1,
         {"1|3.50||||||||||"},
         "texts trimmed, CR LF inside a text joined"},
        {heading + "<tr><td>1</td></tr><tr><td>2</td><td>3</td><td>4</td><td>5</td><td>6</td><td>7</td><td>8</td>"
                   "<td>9</td><td>10</td><td>11</td><td>12</td><td>13</td><td>14</td></tr>",
         2,
         {"1|2|3|4|5|6|7|8|9|10|11|12", "13|14||||||||||"},
         "whatever the tags, twelve texts to a row"},
        {"<tr><td>1</td><td>X</td></tr>" + heading + "<tr><td>2</td></tr>",
         1,
         {"2|||||||||||"},
         "texts before the heading are not stored"},
        {"<table><tr><td>#</td><td>qld plc</td><td>still heading</td></tr><tr><td>1</td></tr>",
         1,
         {"1|||||||||||"},
         "the heading in any case; its own row is never stored"},
        {"<tr><td>1</td></tr>", 2, {"|||||||||||", "|||||||||||"}, "no heading: nothing readable, one row per runner"},
        {heading + full, 0, {}, "no runners: no rows"},
        {heading + "<tr><td>1</td><td>A", 1, {"1|||||||||||"}, "a text with no < after it is not taken"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.proves);
        EXPECT_EQ(joined(readOddsPage(k.page, k.runners)), k.rows);
    }
}

}  // namespace
}  // namespace selvane
