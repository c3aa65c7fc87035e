// The copy of a race result page into results.html, read back from the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/WorkFiles.h"
#include "results/ResultsPage.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

const std::vector<std::string> kHead = {
    "<html>",
    "<head><title></title>",
    R"(<link rel="stylesheet" type="text/css" href="webstyle.css" title="webstyle">)",
    "</head>",
    R"(<body bgcolor="#000000" leftMargin="0" topMargin="0" marginheight="0" marginwidth="0" oncontextmenu ="return false;">)",
};

std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    for (std::size_t from = 0; from < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", from);
        lines.push_back(bytes.substr(from, end - from));
        from = end == std::string::npos ? bytes.size() : end + 2;
    }
    return lines;
}

TEST(ResultsPage, StandinResultPageGivesTheGoldenPage) {
    test::TempDir dir;
    std::string page = test::readFile(test::dataFile("results/BL02_test.html"));
    PageWriter writer(dir.path());
    EXPECT_EQ(writeResultsPage(writer, page), ResultsPageEnd::FifthTableEnd);
    EXPECT_EQ(writer.pageFileNumber(), 0);
    // Five tables, the copyright table after them left out.
    EXPECT_EQ(test::readFile(dir.file("results.html")), test::readFile(test::dataFile("results/BL02_results.html")));
}

TEST(ResultsPage, CopiesFromTheFirstTableStartToTheFifthTableEnd) {
    const std::string table = "<TABLE WIDTH=100% BORDER=1 CELLPADDING=0><TR><TD>A</TD></TR></TABLE>";
    const std::vector<std::string> tableLines = {
        "<table width=100% border=1 cellpadding=0>", "<tr>", "<td>", "A", "</td>", "</tr>", "</table>"};
    struct Case {
        const char* what;
        std::string page;
        ResultsPageEnd end;
        std::vector<std::string> body;  // the lines between the head and the foot
    };
    std::vector<std::string> five;
    for (int i = 0; i < 5; ++i) five.insert(five.end(), tableLines.begin(), tableLines.end());
    const Case cases[] = {
        {"five upper-case table ends, a sixth table left out", table + table + table + table + table + table + "Z",
         ResultsPageEnd::FifthTableEnd, five},
        {"tags lower-cased, texts kept, STRONG and EM rewritten, CR LF dropped",
         "<H3>Head</H3><TABLE border=1><TR><TD Class=X>Dark MELODY</TD><STRONG>T.\r\n Fen</STRONG><EM>w</EM></TABLE>",
         ResultsPageEnd::EndOfPage,
         {"<table border=1>", "<tr>", "<td class=x>", "Dark MELODY", "</td>", "<b>", "T. Fen", "</b>", "<i>", "w",
          "</i>", "</table>"}},
        {"a lone line feed is a text",
         "<table border=1>\n<td>\r\n</td></table>",
         ResultsPageEnd::EndOfPage,
         {"<table border=1>", "\n", "<td>", "</td>", "</table>"}},
        {"second table start copied, page opened once",
         "<table border=1><td>A</td><table border=1>B</table>",
         ResultsPageEnd::EndOfPage,
         {"<table border=1>", "<td>", "A", "</td>", "<table border=1>", "B", "</table>"}},
        {"table ends before the start not counted", "</TABLE></TABLE></TABLE></TABLE></TABLE>" + table,
         ResultsPageEnd::EndOfPage, tableLines},
        {"quoted border and padding",
         R"(<table width="100%" border="1" cellpadding="0">X</table>)",
         ResultsPageEnd::EndOfPage,
         {R"(<table width="100%" border="1" cellpadding="0">)", "X", "</table>"}},
        {"quoted border, bare padding",
         R"(<TABLE WIDTH="100%" BORDER="1" CELLPADDING=0>X)",
         ResultsPageEnd::EndOfPage,
         {R"(<table width="100%" border="1" cellpadding=0>)"}},
        {"a < without > ends the walk",
         "<table border=1><td>A</td><b unclosed",
         ResultsPageEnd::EndOfPage,
         {"<table border=1>", "<td>", "A", "</td>"}},
        {"border 2 starts nothing",
         R"(<table width="100%" border="2" cellpadding="0">X</table>)",
         ResultsPageEnd::NoResultTables,
         {}},
        {"quoted border without the padding starts nothing",
         R"(<table border="1">X</table>)",
         ResultsPageEnd::NoResultTables,
         {}},
        {"no tags at all", "OFFICIAL", ResultsPageEnd::NoResultTables, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        std::string page = c.page;
        PageWriter writer(dir.path());
        EXPECT_EQ(writeResultsPage(writer, page), c.end);
        EXPECT_EQ(writer.pageFileNumber(), 0);
        if (c.end == ResultsPageEnd::NoResultTables) {
            EXPECT_FALSE(fileExists(dir.file("results.html")));
            continue;
        }
        std::vector<std::string> want = kHead;
        want.insert(want.end(), c.body.begin(), c.body.end());
        want.insert(want.end(), {"</body>", "</html>"});
        EXPECT_EQ(linesOf(test::readFile(dir.file("results.html"))), want);
    }
}

}  // namespace
}  // namespace selvane
