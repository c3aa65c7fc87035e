#include "form/RaceFieldParser.h"

#include <gtest/gtest.h>

#include "form/RunnerList.h"
#include "kit/Controls.h"

namespace selvane {
namespace {

// Upper-case tags as older pages had them (the flows read the engine's lower-case ones), CR LF.
const std::string kHeaderRow =
    "<TR><TD><B>No.</B></TD><TD><B>Form</B></TD><TD><B>Horse Name (Barrier)</B></TD><TD><B>Jockey</B></TD>"
    "<TD><B>Wgt.</B></TD><TD><B>API</B></TD><TD><B>Win</B></TD><TD><B>Pl.</B></TD><TD><B>Stakes</B></TD></TR>\r\n";

std::string runnerRow(const std::string& number, const std::string& form, const std::string& horse,
                      const std::string& jockey = "J Smith", const std::string& weight = "56.5") {
    return "<TR><TD>" + number + "</TD><TD>" + form + "</TD><TD>" + horse + "</TD><TD>" + jockey + "</TD><TD>" +
           weight + "</TD><TD>1.2</TD><TD>3</TD><TD>5</TD><TD>$12,000</TD></TR>\r\n";
}

std::string racePage(const std::string& rows, const std::string& header = kHeaderRow, const std::string& after = "") {
    return "<HTML>\r\n<BODY>\r\n<HR>\r\n<TABLE BORDER=\"0\">\r\n<TR><TD>RANDWICK</TD><TD>Race 3</TD><TD>1200m</TD></TR>"
           "\r\n</TABLE>\r\n<TABLE BORDER=\"1\">\r\n" + header + rows + "</TABLE>\r\n<HR>\r\n" + after + "<P>End</P>";
}

// An &nbsp; cell reads as \~.
TEST(RaceFieldParser, FilesRunnerRowsInPageColumnOrder) {
    std::string page = racePage(runnerRow("1", "3121", "<A HREF=\"/h/1\">FAST LAD</A> (4)") +
                                runnerRow("2e", "&nbsp;", "SLOW COACH (10)", "K Lee", "54"));
    RunnerTable t;
    EXPECT_EQ(parseRaceField(t, page), FieldParseEnd::SecondRule);
    std::vector<std::string> fields;
    for (int i = 1; i <= t.runnerCount(); ++i)
        for (int c = 1; c <= RunnerRow::kFields; ++c) fields.push_back(*t.runnerRows[i].field(c));
    EXPECT_EQ(fields, (std::vector<std::string>{"1", "3121", "FAST LAD  (4)", "J Smith", "56.5", "1.2", "3", "5", "$12,000",
                                                "2e", "\\~", "SLOW COACH (10)", "K Lee", "54", "1.2", "3", "5", "$12,000"}));
}

TEST(RaceFieldParser, HorseCells) {
    const std::array<std::string, 4> cases[] = {
        // cell, horse, name, barrier
        {"<a href=\"/h/1\">FAST LAD</a> (5)", "FAST LAD  (5)", "FAST LAD", "5"},
        {"\r\n<a href=\"x\">SLOW &amp; STEADY</a> (12)\r\n", "SLOW &amp; STEADY  (12)", "SLOW &amp; STEADY", "12"},
        {"FAST LAD (10)", "FAST LAD (10)", "FAST LAD", "10"},
        {"(3)", "(3)", "", "3"},
        {"<a href=\"x\">LONGNAME</a>", "LONGNAME", "LONGNAME", ""},
        {"ABCD", "ABCD", "ABCD", "BC"},
        {"OLD TIMER (100)", "OLD TIMER (100)", "OLD TIMER", ""},
        {"<b>BOLD</b> (6)", "(6)", "", "6"},
    };
    for (const auto& [cell, horse, name, barrier] : cases) {
        RunnerTable t;
        std::string page = racePage(runnerRow("1", "1", cell));
        parseRaceField(t, page);
        ASSERT_EQ(t.runnerCount(), 1) << cell;
        const RunnerEntry e = runnerEntry(t.runnerRows[1]);
        EXPECT_EQ(t.runnerRows[1].horse + "|" + e.name + "|" + e.barrier, horse + "|" + name + "|" + barrier) << cell;
    }
}

// The walk ends at the second rule (filling and hiding the bar), at the last tag, at a 101st
// runner or at a "<" never closed; a page without the STAKES heading files no runner.
TEST(RaceFieldParser, HowTheWalkEnds) {
    std::string hundred;
    for (int i = 1; i <= 100; ++i) hundred += runnerRow(std::to_string(i), "1", "H (1)");
    const std::string one = runnerRow("1", "1", "ONE (1)"), late = "<TABLE>" + runnerRow("9", "9", "L (9)") + "</TABLE>";
    const std::string unclosed = racePage(one).substr(0, racePage(one).find("</TABLE>\r\n<HR>")) + "<td";
    const std::string noRule = "<HR><TABLE><TR><TD>x</TD></TR></TABLE><TABLE>" + kHeaderRow + one + "</TABLE>" + late;
    const std::tuple<std::string, FieldParseEnd, int, std::string> cases[] = {
        // page, end, runner rows + 1, slot 2's number
        {racePage(one, kHeaderRow, late + "<HR>"), FieldParseEnd::SecondRule, 2, ""},
        {noRule, FieldParseEnd::EndOfPage, 3, ""},  // the later table's row counts but files nothing
        {racePage(hundred), FieldParseEnd::SecondRule, 101, "2"},
        {racePage(hundred + one), FieldParseEnd::RowLimit, 101, "2"},
        {racePage(one, "<TR><TD>No.</TD><TD>Form</TD></TR>\r\n"), FieldParseEnd::SecondRule, 0, ""},
        {unclosed, FieldParseEnd::UnclosedTag, 2, ""},
        {"", FieldParseEnd::EndOfPage, 0, ""},
    };
    for (const auto& [page, end, rowCount, second] : cases) {
        SCOPED_TRACE(page.substr(0, 300));
        RunnerTable t;
        ProgressBar bar;
        bar.setMax(40);
        std::string text = page;
        EXPECT_EQ(parseRaceField(t, text, &bar), end);
        EXPECT_EQ(t.runnerRowCount, rowCount);
        EXPECT_EQ(t.runnerRows[2].number, second);
        EXPECT_EQ(bar.value() == 40 && !bar.visible(), end == FieldParseEnd::SecondRule);
    }
}

}  // namespace
}  // namespace selvane
