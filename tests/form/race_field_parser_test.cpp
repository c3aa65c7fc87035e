#include "form/RaceFieldParser.h"

#include <gtest/gtest.h>

#include "app/App.h"
#include "kit/MainWindow.h"
#include "form/RunnerList.h"
#include "net/HtmlEngine.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

// Pages as the HTML engine leaves them in test.html: lower-case tags, CR LF line ends.
const std::string kHeaderRow =
    "<tr><td><b>No.</b></td><td><b>Form</b></td><td><b>Horse Name (Barrier)</b></td><td><b>Jockey</b></td>"
    "<td><b>Wgt.</b></td><td><b>API</b></td><td><b>Win</b></td><td><b>Pl.</b></td><td><b>Stakes</b></td></tr>\r\n";

std::string runnerRow(const std::string& number, const std::string& form, const std::string& horse,
                      const std::string& jockey = "J Smith", const std::string& weight = "56.5") {
    return "<tr><td>" + number + "</td><td>" + form + "</td><td>" + horse + "</td><td>" + jockey + "</td><td>" +
           weight + "</td><td>1.2</td><td>3</td><td>5</td><td>$12,000</td></tr>\r\n";
}

std::string racePage(const std::string& rows, const std::string& header = kHeaderRow,
                     const std::string& afterRule = "<p>Footer</p>\r\n") {
    return "<html>\r\n<head><title>Race 3</title></head>\r\n<body>\r\n<center><b>Form Guide</b></center>\r\n"
           "<hr>\r\n<table border=\"0\">\r\n<tr><td>RANDWICK</td><td>Race 3</td><td>1200m</td></tr>\r\n</table>\r\n"
           "<table border=\"1\" cellpadding=\"2\">\r\n" +
           header + rows + "</table>\r\n<hr>\r\n" + afterRule + "</body>\r\n</html>";
}

std::string upperCaseTags(std::string page) {
    bool inTag = false;
    for (char& c : page) {
        if (c == '<') inTag = true;
        else if (c == '>') inTag = false;
        else if (inTag && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return page;
}

struct Parsed {
    RunnerTable table;
    FieldParseEnd end;
};

Parsed parse(std::string page) {
    Parsed p;
    p.end = parseRaceField(p.table, page);
    return p;
}

TEST(RaceFieldParser, FilesRunnerRowsInPageColumnOrder) {
    const Parsed p = parse(racePage(runnerRow("1", "3121", "<a href=\"/h/1\">FAST LAD</a> (4)") +
                                    runnerRow("2e", "&nbsp;", "SLOW COACH (10)", "K Lee", "54")));
    EXPECT_EQ(p.end, FieldParseEnd::SecondRule);
    EXPECT_EQ(p.table.runnerRowCount, 3);
    EXPECT_EQ(p.table.runnerCount(), 2);
    const RunnerRow& r1 = p.table.runnerRows[1];
    EXPECT_EQ((std::vector<std::string>{r1.number, r1.form, r1.horse, r1.jockey, r1.weight, r1.api, r1.win, r1.place,
                                        r1.stakes}),
              (std::vector<std::string>{"1", "3121", "FAST LAD  (4)", "J Smith", "56.5", "1.2", "3", "5", "$12,000"}));
    const RunnerRow& r2 = p.table.runnerRows[2];
    EXPECT_EQ(r2.number, "2e");
    EXPECT_EQ(r2.form, "\\~");
    EXPECT_EQ(r2.horse, "SLOW COACH (10)");
    EXPECT_EQ(r2.jockey, "K Lee");
    // The race details before the header are kept as text, "1200m" included.
    EXPECT_EQ(p.table.raceDetails[1], "RANDWICK");
    EXPECT_EQ(p.table.raceDetails[2], "Race 3");
    EXPECT_EQ(p.table.raceDetails[3], "1200m");
}

TEST(RaceFieldParser, HorseCells) {
    struct Case {
        std::string cell, horse, name, barrier;
    };
    const std::vector<Case> cases = {
        {"<a href=\"/h/1\">FAST LAD</a> (5)", "FAST LAD  (5)", "FAST LAD", "5"},
        {"<A HREF=\"/h/1\">FAST LAD</A> (12)", "FAST LAD  (12)", "FAST LAD", "12"},
        {"FAST LAD (10)", "FAST LAD (10)", "FAST LAD", "10"},
        {"(3)", "(3)", "", "3"},
        {"<a href=\"x\">LONGNAME</a>", "LONGNAME", "LONGNAME", ""},
        {"ABCD", "ABCD", "ABCD", "BC"},
        {"OLD TIMER (100)", "OLD TIMER (100)", "OLD TIMER", ""},
        {"<a href=\"x\">SLOW &amp; STEADY</a> (7)", "SLOW &amp; STEADY  (7)", "SLOW &amp; STEADY", "7"},
        {"&nbsp;", "\\~", "\\~", ""},
        {"   ", "", "", ""},
        {"<b>BOLD</b> (6)", "(6)", "", "6"},
    };
    for (const Case& c : cases) {
        const Parsed p = parse(racePage(runnerRow("1", "1", c.cell)));
        ASSERT_EQ(p.table.runnerCount(), 1) << c.cell;
        EXPECT_EQ(p.table.runnerRows[1].horse, c.horse) << c.cell;
        const RunnerEntry e = runnerEntry(p.table.runnerRows[1]);
        EXPECT_EQ(e.name, c.name) << c.cell;
        EXPECT_EQ(e.barrier, c.barrier) << c.cell;
    }
}

TEST(RaceFieldParser, UpperAndLowerCaseTagsAlike) {
    const std::string rows = runnerRow("1", "3121", "<a href=\"/h/1\">FAST LAD</a> (4)") +
                             runnerRow("2", "x0", "<a href=\"/h/2\">TWO</a> (2)");
    const Parsed lower = parse(racePage(rows));
    const Parsed upper = parse(upperCaseTags(racePage(rows)));
    EXPECT_EQ(upper.end, FieldParseEnd::SecondRule);
    ASSERT_EQ(upper.table.runnerRowCount, lower.table.runnerRowCount);
    for (int i = 1; i <= 2; ++i)
        for (int c = 1; c <= RunnerRow::kFields; ++c)
            EXPECT_EQ(*upper.table.runnerRows[i].field(c), *lower.table.runnerRows[i].field(c)) << i << "," << c;
    EXPECT_EQ(upper.table.runnerRows[2].horse, "TWO  (2)");
}

TEST(RaceFieldParser, HeaderCellsInThAndThCellsInRows) {
    const std::string header =
        "<tr><th>No.</th><th>Form</th><th>Horse Name (Barrier)</th><th>Jockey</th><th>Wgt.</th><th>API</th>"
        "<th>Win</th><th>Pl.</th><th>Stakes</th></tr>\r\n";
    // A TH cell does not move the column on: the TD after it overwrites the number.
    const Parsed p = parse(racePage(runnerRow("1", "21", "ONE (1)") +
                                        "<tr><th>X</th><td>2</td><td>33</td><td>TWO (2)</td></tr>\r\n",
                                    header));
    EXPECT_EQ(p.table.runnerCount(), 2);
    EXPECT_EQ(p.table.runnerRows[1].number, "1");
    EXPECT_EQ(p.table.runnerRows[1].horse, "ONE (1)");
    EXPECT_EQ(p.table.runnerRows[2].number, "2");
    EXPECT_EQ(p.table.runnerRows[2].form, "33");
    EXPECT_EQ(p.table.runnerRows[2].horse, "TWO (2)");
}

TEST(RaceFieldParser, StopsAtTheSecondRule) {
    const std::string after = "<table>\r\n" + runnerRow("9", "9", "LATE (9)") + "</table>\r\n<hr>\r\n";
    std::string page = racePage(runnerRow("1", "1", "ONE (1)"), kHeaderRow, after);
    RunnerTable table;
    ProgressBar bar;
    bar.setMax(40);
    bar.setValue(3);
    EXPECT_EQ(parseRaceField(table, page, &bar), FieldParseEnd::SecondRule);
    EXPECT_EQ(table.runnerRowCount, 2);
    EXPECT_EQ(table.runnerRows[2].number, "");
    EXPECT_EQ(bar.value(), 40);
    EXPECT_FALSE(bar.visible());

    // Without a second rule the walk goes on to the last tag, and the bar is left alone.
    std::string noRule = "<hr><table><tr><td>x</td></tr></table><table>" + kHeaderRow + runnerRow("1", "1", "ONE (1)") +
                         "</table><table>" + runnerRow("9", "9", "LATE (9)") + "</table>";
    RunnerTable t2;
    ProgressBar bar2;
    EXPECT_EQ(parseRaceField(t2, noRule, &bar2), FieldParseEnd::EndOfPage);
    EXPECT_EQ(t2.runnerRowCount, 3);  // the third table's row moves the count on, but files nothing
    EXPECT_EQ(t2.runnerRows[2].number, "");
    EXPECT_TRUE(bar2.visible());
}

TEST(RaceFieldParser, AHundredAndFirstRunnerEndsTheParse) {
    std::string rows;
    for (int i = 1; i <= 101; ++i) rows += runnerRow(std::to_string(i), "1", "H" + std::to_string(i) + " (1)");
    const Parsed p = parse(racePage(rows));
    EXPECT_EQ(p.end, FieldParseEnd::RowLimit);
    EXPECT_EQ(p.table.runnerRowCount, 101);
    EXPECT_EQ(p.table.runnerRows[100].number, "100");
    EXPECT_EQ(p.table.runnerRows[100].stakes, "$12,000");
    const std::vector<RunnerEntry> entries = runnerEntries(p.table);
    ASSERT_EQ(entries.size(), 100u);
    EXPECT_EQ(entries.back().name, "H100");

    // Exactly a hundred fit.
    rows.clear();
    for (int i = 1; i <= 100; ++i) rows += runnerRow(std::to_string(i), "1", "H (1)");
    EXPECT_EQ(parse(racePage(rows)).end, FieldParseEnd::SecondRule);
}

TEST(RaceFieldParser, MalformedPages) {
    struct Case {
        const char* what;
        std::string page;
        FieldParseEnd end;
        int rowCount;
    };
    const std::string rows = runnerRow("1", "1", "ONE (1)");
    const std::vector<Case> cases = {
        {"no STAKES heading", racePage(rows, "<tr><td>No.</td><td>Form</td></tr>\r\n"), FieldParseEnd::SecondRule, 0},
        {"a tag never closed", racePage(rows).substr(0, racePage(rows).find("</table>\r\n<hr>")) + "<td",
         FieldParseEnd::UnclosedTag, 2},
        {"empty page", "", FieldParseEnd::EndOfPage, 0},
        {"text only", "no tags at all", FieldParseEnd::EndOfPage, 0},
        {"truncated in the header", racePage(rows).substr(0, racePage(rows).find("Stakes")), FieldParseEnd::EndOfPage,
         0},
    };
    for (const Case& c : cases) {
        const Parsed p = parse(c.page);
        EXPECT_EQ(p.end, c.end) << c.what;
        EXPECT_EQ(p.table.runnerRowCount, c.rowCount) << c.what;
    }
}

TEST(RaceFieldParser, EmptyCellsKeepWhatWasThereSpacesClearIt) {
    RunnerTable table;
    table.runnerRows[1].jockey = "OLD";
    table.runnerRows[1].weight = "OLD";
    table.runnerRows[3].number = "STALE";
    std::string page = racePage(runnerRow("1", "1", "ONE (1)", "", "   ") + runnerRow("2", "1", "TWO (2)"));
    parseRaceField(table, page);
    EXPECT_EQ(table.runnerRows[1].jockey, "OLD");
    EXPECT_EQ(table.runnerRows[1].weight, "");
    EXPECT_EQ(table.runnerRows[3].number, "STALE");
    EXPECT_EQ(table.runnerCount(), 2);

    table.clearRows(3);
    EXPECT_EQ(table.runnerRows[1].jockey, "");
    EXPECT_EQ(table.runnerRows[3].number, "");
}

TEST(RaceFieldParser, RawPageThroughTheEngineThenTheParser) {
    // The race page as the service sends it: upper-case tags, STRONG headings, links on the names,
    // cells broken over lines, &nbsp; for empty cells.
    const std::string raw =
        "<HTML>\n<HEAD><TITLE>Randwick Race 3</TITLE></HEAD>\n<BODY>\n<CENTER><STRONG>Form Guide</STRONG></CENTER>\n"
        "<HR>\n<TABLE BORDER=0>\n<TR><TD>RANDWICK</TD><TD>Race 3</TD><TD>1200m</TD></TR>\n</TABLE>\n"
        "<TABLE BORDER=1 CELLPADDING=2>\n"
        "<TR><TD><STRONG>No.</STRONG></TD><TD><STRONG>Form</STRONG></TD><TD><STRONG>Horse Name (Barrier)</STRONG></TD>"
        "<TD><STRONG>Jockey</STRONG></TD><TD><STRONG>Wgt.</STRONG></TD><TD><STRONG>API</STRONG></TD>"
        "<TD><STRONG>Win</STRONG></TD><TD><STRONG>Pl.</STRONG></TD><TD><STRONG>Stakes</STRONG></TD></TR>\n"
        "<TR><TD>1</TD><TD>3121</TD><TD><A HREF=\"/h/1\">FAST LAD</A> (5)</TD><TD>J Smith</TD><TD>58.5</TD>"
        "<TD>1.2</TD><TD>3</TD><TD>5</TD><TD>$12,000</TD></TR>\n"
        "<TR><TD>2e</TD><TD>&nbsp;</TD><TD>\n<A HREF=\"/h/2\">SLOW &amp; STEADY</A> (12)\n</TD><TD>K Lee</TD>"
        "<TD>54</TD><TD>&nbsp;</TD><TD>0</TD><TD>0</TD><TD>$0</TD></TR>\n"
        "</TABLE>\n<HR>\n<P>Footer <A HREF=\"/x\">link</A> (9)</P>\n</BODY>\n</HTML>\n";
    std::string page = normalisePage(raw).markup;

    test::AppFixture f;
    App& app = *f.app;
    EXPECT_EQ(parseRaceField(app.runners, page, &app.window.pgBar), FieldParseEnd::SecondRule);
    EXPECT_FALSE(app.window.pgBar.visible());
    ASSERT_EQ(app.runners.runnerCount(), 2);
    EXPECT_EQ(app.runners.runnerRows[1].horse, "FAST LAD  (5)");
    EXPECT_EQ(app.runners.runnerRows[2].horse, "SLOW &amp; STEADY  (12)");
    EXPECT_EQ(app.runners.runnerRows[2].form, "\\~");
    EXPECT_EQ(app.runners.runnerRows[2].api, "\\~");

    fillRunnerList(app.window, app.runners);
    const ReportList& list = app.window.lstRaces;
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.row(0).text, "1");
    EXPECT_EQ(list.row(0).subItems, (std::vector<std::string>{"3121", "FAST LAD", "J Smith", "58.5", "5"}));
    EXPECT_EQ(list.row(1).text, "2e");
    EXPECT_EQ(list.row(1).subItems, (std::vector<std::string>{"\\~", "SLOW &amp; STEADY", "K Lee", "54", "12"}));
    EXPECT_FALSE(list.row(1).checked);
}

}  // namespace
}  // namespace selvane
