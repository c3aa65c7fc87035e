// The dividends of a race result page: a saved page, the raw form, and malformed rows.
#include "results/DividendParser.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace selvane {
namespace {

std::string money(Cents c) { return std::to_string(c / 100) + (c % 100 < 10 ? ".0" : ".") + std::to_string(c % 100); }
std::string amount(const std::optional<Cents>& c) { return c ? money(*c) : "-"; }

// "Official | 1st 1 13.40/4.60 | … | Q 1-3 34.00 | S 4,18 | BadAmount@12"
std::string described(const RaceDividends& d) {
    static const char* const kStatus[] = {"Unknown", "Closed", "Interim", "Official", "Abandoned"};
    static const char* const kPoolLetters[] = {"Q", "E", "T", "F"};
    static const char* const kProblems[] = {"BadPlace", "BadAmount", "BadCombination", "BadScratchings", "CutShort"};
    std::string out = kStatus[static_cast<int>(d.status)];
    for (const Placing& p : d.placings)
        out += " | " + std::to_string(p.place) + ":" + std::to_string(p.runner) + " " + amount(p.winDividend) +
               "/" + amount(p.placeDividend);
    for (std::size_t i = 0; i < kPools; ++i)
        for (const ExoticDividend& e : d.exotics[i]) {
            out += std::string(" | ") + kPoolLetters[i] + " ";
            for (std::size_t r = 0; r < e.runners.size(); ++r) out += (r ? "/" : "") + std::to_string(e.runners[r]);
            out += " " + money(e.amount);
        }
    if (!d.scratchings.empty()) {
        out += " | S";
        for (int s : d.scratchings) out += " " + std::to_string(s);
    }
    for (const DividendIssue& i : d.issues)
        out += std::string(" | ") + kProblems[static_cast<int>(i.problem)] + "@" + std::to_string(i.offset);
    return out;
}

TEST(DividendParser, SavedPageAsTheEngineStoredIt) {
    EXPECT_EQ(described(parseDividends(test::readFile(test::dataFile("results/BL02_test.html")))),
              "Official | 1:1 13.40/4.60 | 2:3 -/8.50 | 3:6 -/4.20 | Q 1/3 34.00 | E 1/3 62.00 | T 1/3/6 226.00"
              " | S 4 18");
}

TEST(DividendParser, RowsWellFormedAndMalformed) {
    const std::string place = "<tr><td>1st</td><td>4</td><td>A</td><td>J</td>";
    const std::pair<std::string, std::string> rows[] = {
        // The raw page: upper-case tags, CR LF, cells with tags inside, a comment hiding a row.
        {"<TABLE BORDER=1><TR><TD>Race 7</TD><TD>OPEN</TD><TD>Interim</TD></TR>\r\n<!-- <tr><td>1st</td> -->"
         "<TR><TD>=1st</TD><TD><B>12</B></TD><TD>A</TD><TD>J</TD><TD>$3.10</TD><TD>$1.50</TD></TR>\r\n"
         "<TR><TD>1st DH</TD><TD>2</TD><TD>B</TD><TD>K</TD><TD>&nbsp;</TD><TD>\xC2\xA0</TD></TR></TABLE>",
         "Interim | 1:12 3.10/1.50 | 1:2 -/-"},
        {"<table><tr><td>First Four</td><td>1/3/6/2</td><td>$1,234.50</td></tr><tr><td>trifecta</td><td>1 / 3 / 6</td>"
         "<td>$7</td><tr><td>QUINELLA<td>3-1<td>4.6</table>",
         "Unknown | Q 3/1 4.60 | T 1/3/6 7.00 | F 1/3/6/2 1234.50"},
        {"<tr><td>Exacta</td><td>1/3</td><td>$10,000,000.00</td></tr>"
         "<tr><td>Exacta</td><td>3/1</td><td>&nbsp;</td></tr>",
         "Unknown | E 1/3 10000000.00"},
        {"<tr><td>Race 1</td><td>abandoned</td></tr><tr><td colspan=6>Race abandoned - all bets refunded</td></tr>"
         "<tr><td>Scratchings</td><td>Nil</td></tr>",
         "Abandoned"},
        {"<tr><td>Scratchings</td><td>4, 18</td></tr><tr><td>Scratchings</td><td>4; 18</td></tr>"
         "<tr><td>Scratchings</td><td>2,</td></tr>",
         "Unknown | S 4 18 | BadScratchings@43 | BadScratchings@86"},
        {place + "<td>$1,23.00</td><td></td></tr>", "Unknown | BadAmount@0"},
        {place + "<td>$12.345</td><td></td></tr>", "Unknown | BadAmount@0"},
        {place + "<td>12.</td><td></td></tr>", "Unknown | BadAmount@0"},
        {place + "<td>.50</td><td></td></tr>", "Unknown | BadAmount@0"},
        {place + "<td>$-3.00</td><td></td></tr>", "Unknown | BadAmount@0"},
        {place + "<td>1234,567</td><td></td></tr>", "Unknown | BadAmount@0"},
        {place + "<td></td><td>$10,000,000.01</td></tr>", "Unknown | BadAmount@0"},
        {place + "<td></td><td>NTD</td></tr>", "Unknown | BadAmount@0"},
        {place + "<td>1,234</td><td>$99999999999999999999</td></tr>", "Unknown | BadAmount@0"},
        {"<tr><td>1st</td><td>x</td><td>$2.00</td><td>$1.20</td></tr>", "Unknown | BadPlace@0"},
        {"<tr><td>2nd</td><td>0</td><td>$2.00</td><td>$1.20</td></tr>", "Unknown | BadPlace@0"},
        {"<tr><td>3rd</td><td>4</td><td>$1.20</td></tr>", "Unknown | BadPlace@0"},
        {"<tr><td>1sx</td><td>4</td><td>$1.20</td><td>$1.20</td></tr><tr><td>1st place</td><td>4</td><td>1</td>"
         "<td>1</td></tr>",
         "Unknown"},
        {"<tr><td>Quinella</td><td>1-1</td><td>$3.00</td></tr>", "Unknown | BadCombination@0"},
        {"<tr><td>Trifecta</td><td>1/3</td><td>$3.00</td></tr>", "Unknown | BadCombination@0"},
        {"<tr><td>Exacta</td><td>1/x</td><td>$3.00</td></tr>", "Unknown | BadCombination@0"},
        {"<tr><td>Exacta</td><td>1/3</td></tr>", "Unknown | BadCombination@0"},
        {"<tr><td>Exacta</td><td>1/3</td><td>$3.00 each</td></tr>", "Unknown | BadAmount@0"},
        {"<tr><td>Quinella</td><td>1-3</td><td>$34</td></tr><td>Exacta</td><td>1/3</td><td>$6</td></tr>",
         "Unknown | Q 1/3 34.00 | E 1/3 6.00"},
        {"", "Unknown"},
    };
    for (const auto& [page, want] : rows) EXPECT_EQ(described(parseDividends(page + "</body></html>")), want) << page;

    // Cut short: an open row, whose amount may be cut, counts for nothing; a page without its end
    // may have lost rows between tables.
    const std::pair<std::string, std::string> cut[] = {
        {"<tr><td>Quinella</td><td>1-3</td><td>$34</td></tr><tr><td>Exacta</td><td>1/3</td><td>$6",
         "Unknown | Q 1/3 34.00 | CutShort@87"},
        {"<tr><td>Quinella</td><td>1-3</td><td>$34", "Unknown | CutShort@40"},
        {"<tr><td>Quinella</td><td>1-3</td><td>$34</td><!-- </html>", "Unknown | CutShort@57"},
        {"<table><tr><td>Quinella</td><td>1-3</td><td>$34</td></tr></table>\n", "Unknown | Q 1/3 34.00 | CutShort@66"},
        {"", "Unknown | CutShort@0"},
    };
    for (const auto& [page, want] : cut) EXPECT_EQ(described(parseDividends(page)), want) << page;
}

}  // namespace
}  // namespace selvane
