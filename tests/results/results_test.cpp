// The results rooms over plain values: the meeting page read into the results tables and shown,
// the copy of a race page into results.html, the live results choices, the results window.
#include <gtest/gtest.h>

#include "kit/MainWindow.h"
#include "net/WorkFiles.h"
#include "results/CheckResults.h"
#include "results/LiveResults.h"
#include "results/ResultParser.h"
#include "results/ResultsPage.h"
#include "results/ResultsWindow.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using Strings = std::vector<std::string>;

// A results meeting page as downloadTRACK stores it: CR LF after every line.
std::string line(const std::string& s) { return s + "\r\n"; }
std::string headerRow(int cells) {
    std::string row = line("<tr>");
    for (int i = 0; i < cells; ++i) row += line("<th class=\"rowhdr\">R" + std::to_string(i) + "</th>");
    return row + line("</tr>");
}
std::string raceCell(const std::string& code, int race, const std::string& state) {
    const std::string number = (race < 10 ? "0" : "") + std::to_string(race);
    return line("<td><a href=\"" + code + number + ".html\">" + state + "</a></td>");
}
std::string meetingRow(const std::string& name, const std::string& code, const Strings& states) {
    std::string row = line("<tr>") + line("<td class='location'> <a href=\"" + code + ".html\">" + name + "</a></td>");
    for (std::size_t r = 0; r < states.size(); ++r) row += raceCell(code, static_cast<int>(r + 1), states[r]);
    return row + line("</tr>");
}
std::string page(const std::string& body) {
    return line("<html><body><h3>RACES</h3><table>") + body + line("</table><h3>TROTS</h3><table>") +
           meetingRow("GLOUCESTER PARK (GP)", "GP", {"1,2,3"}) + line("</table></body></html>");
}
ResultTables parsed(std::string text, ResultTables t = {}) {
    t.resultMeetingIndex = 0;
    t.resultRaceSlot = 1;
    EXPECT_EQ(parseResultMeetings(t, text), "");
    return t;
}
// "NAME [CODE] 'state' ..." per stored meeting.
Strings meetingsOf(const ResultTables& t) {
    Strings out;
    for (int i = 1; i <= t.storedMeetings(); ++i) {
        out.push_back(t.resultMeetingNames[i] + " [" + t.resultRecords[i].code(1) + "]");
        for (int r = 1; r <= t.resultRaceCounts[i]; ++r) out.back() += " '" + t.resultRecords[i].result(r) + "'";
    }
    return out;
}

TEST(ResultParser, PageShapes) {
    const std::string ashford = meetingRow("ASHFORD (AF)", "AF", {"3,5,7", "12:30PM"});
    const std::string ballarat = meetingRow("BALLARAT (BA)", "BA", {"1,2,3"});
    const std::string casino = meetingRow("CASINO (CA)", "CA", {"2:05PM"});
    const std::string late = line("<tr><th class=\"rowhdr\">Late</th></tr>");
    const std::string link = line("<tr><td class='location'> <a href=\"AF.html\">ASHFORD (AF)</a></td>");
    const std::string two = "ASHFORD (AF) [AF] '3,5,7' '12:30PM'";
    Strings races;
    std::string fifty = "ASHFORD (AF) [AF]";
    for (int r = 1; r <= 52; ++r) races.push_back(std::to_string(r) + ",1,2");
    for (int r = 1; r <= 50; ++r) fifty += " '" + races[r - 1] + "'";
    const std::tuple<const char*, std::string, Strings, int> cases[] = {  // what, page, meetings, meeting count
        {"ten header cells: the third meeting start completes thirteen",
         page(headerRow(10) + ashford + ballarat + casino + meetingRow("DUBBO (DU)", "DU", {"abnd"})),
         {" []", " []", "CASINO (CA) [CA] '2:05PM'", "DUBBO (DU) [DU] 'abnd'"}, 4},
        {"fourteen header cells: links before any meeting start are not stored", page(headerRow(14) + ashford), {}, 0},
        {"a header cell at thirteen ends meeting starts", page(headerRow(13) + ashford + late + ballarat),
         {"BALLARAT (BA) [AF] '3,5,7' '12:30PM' '1,2,3'"}, 1},
        {"before RACES and after TROTS nothing is read", ballarat + page(headerRow(13) + ashford) + casino, {two}, 1},
        {"without TROTS the meetings found count", line("<h3>RACES</h3>") + headerRow(13) + ashford + casino,
         {two, "CASINO (CA) [CA] '2:05PM'"}, 2},
        {"blank, Fields, unquoted and empty links passed over; blanks kept; a cell over two lines joined",
         page(headerRow(13) + link + raceCell("AF", 1, "&nbsp;") + raceCell("AF", 2, " Fields ") +
              line("<td><a href=AF03>4,5,6</a></td><td><a href=\"\">7,8,9</a></td>") + raceCell("AF", 3, " 1,2,3 ") +
              line("<td><a href=\"AF04.html\">12:30") + line("PM</a></td></tr>")),
         {"ASHFORD (AF) [AF] ' 1,2,3 ' '12:30PM'"}, 1},
        {"tags and addresses in any letter case",
         page(headerRow(13) + line("<TR><TD CLASS='Location'> <A HREF=\"af.html\">ASHFORD (AF)</A></TD>") +
              line("<td><A href=\"af01.html\">3,5,7</a></td></tr>")),
         {"ASHFORD (AF) [AF] '3,5,7'"}, 1},
        {"fifty races a meeting; a name cell past them is not stored, nor is its code taken",
         page(headerRow(13) + meetingRow("ASHFORD (AF)", "AF", races) + late + ballarat +
              meetingRow("X (AF)", "AF", {"9"})),
         {fifty}, 1},
    };
    for (const auto& [what, text, meetings, count] : cases) {
        const ResultTables t = parsed(text);
        EXPECT_EQ(std::make_pair(meetingsOf(t), int{t.resultMeetingCount}), std::make_pair(meetings, count)) << what;
    }
    // A new page replaces the old meetings; an empty one counts none, so none is matched.
    ResultTables t = parsed(page(headerRow(13) + meetingRow("ASHFORD (AF)", "AF", {"3,5,7", "1:00PM"}) + ballarat));
    t = parsed(page(headerRow(13) + casino), t);
    EXPECT_EQ(meetingsOf(t), Strings{"CASINO (CA) [CA] '2:05PM'"});
    EXPECT_EQ(t.resultRecords[1].result(2), "");
    EXPECT_EQ(findResultMeeting(parsed("", t), "CASINO"), 0);
}

TEST(CheckResultsDisplay, TextsOfACellAndOfTheWindow) {
    for (const auto& [in, out] : std::vector<std::pair<std::string, std::string>>{
             {"3,5,7", "3 - 5 - 7"}, {"12:30", "N/A"}, {"2pm", "N/A"}, {"INTERIM", "N/A"},
             {"CLOSED", "not available"}, {"", "not available"}, {"1,2:3", "1 - 2:3"}})
        EXPECT_EQ(formatResultText(in), out) << in;
    EXPECT_EQ(Strings({meetingCodeOf("ASHFORD (AF)"), meetingCodeOf("AB"), meetingCodeOf("X")}),
              Strings({"AF", "A", ""}));

    // Shown: the list, the ticker, the chosen race's text; meetings found like the track box finds them.
    const Strings ashford = {"3,5,7", "12:30PM", "CLOSED", "abnd"};
    ResultTables t = parsed(page(headerRow(13) + meetingRow("ASHFORD (AF)", "AF", ashford) +
                                 meetingRow("SANDOWN (MS)", "MS", {"1,2,3"})));
    MainWindow w;
    fillMeetingResults(w, t, "ashford", 1);
    ASSERT_EQ(w.lstResults.count(), 4);
    EXPECT_EQ(std::make_pair(w.lstResults.row(3).text, w.lstResults.row(3).subItems),
              std::make_pair(std::string("AF"), Strings{"4", "ASHFORD (AF)", "abnd"}));
    EXPECT_EQ(w.lblScrollResults.caption(),
              "#R.1  [ 3,5,7 ];      #R.2  [ 12:30PM ];      #R.3  [ CLOSED ];      #R.4  [ abnd ];      ");
    // A meeting not on the page empties the list and the ticker, not the box.
    fillMeetingResults(w, t, "CAULFIELD", 2);
    EXPECT_EQ(std::make_tuple(w.lstResults.count(), w.lblScrollResults.caption(), w.txtResults.text()),
              std::make_tuple(0, "", "3 - 5 - 7"));
    const std::string unchanged = "old race abandoned? race abandoned";
    for (const auto& [race, shown] : std::vector<std::pair<double, std::string>>{
             {3, "CLOSED"}, {4, "race abandoned"}, {1.6, "N/A"}, {5, ""}, {50, ""}, {0, unchanged}, {51, unchanged}}) {
        w.txtResults.setText("old abnd? ABND");
        fillMeetingResults(w, t, "ASHFORD", race);
        EXPECT_EQ(w.txtResults.text(), shown) << race;
    }
    for (const auto& [track, meeting] : std::vector<std::pair<std::string, int>>{
             {"", 1}, {"SANDOWN-HILLSIDE", 2}, {"Hillside", 2}, {"(MS)", 2}, {"SANDOWN-HILLSIDE (AF)", 0}})
        EXPECT_EQ(findResultMeeting(t, track), meeting) << track;
    t.resultMeetingCount = 9;  // never past what the arrays hold
    EXPECT_EQ(findResultMeeting(t, "SANDOWN"), 2);
    EXPECT_EQ(resultDatePath("1/2/2026"), "26%20%20/%2F2/1%2F");
}

TEST(ResultsPage, StandinResultPageGivesTheGoldenPage) {
    test::TempDir dir;
    std::string text = test::readFile(test::dataFile("results/BL02_test.html"));
    PageWriter writer(dir.path());
    EXPECT_EQ(writeResultsPage(writer, text), ResultsPageEnd::FifthTableEnd);
    // Five tables, the copyright table after them left out.
    EXPECT_EQ(test::readFile(dir.file("results.html")), test::readFile(test::dataFile("results/BL02_results.html")));
}

TEST(ResultsPage, CopiesFromTheFirstTableStartTagsLowerCasedOneALine) {
    std::string head = test::kWhitePageHead;
    head.replace(head.find("FFFFFF"), 6, "000000");
    const std::tuple<const char*, std::string, Strings> cases[] = {  // what, page, lines between head and foot
        {"STRONG, EM rewritten, CR LF dropped, a lone LF kept; a table start in any spelling",
         "<H3>Head</H3><TABLE border=1><TD Class=X>Dark MELODY</TD>\n<STRONG>T.\r\n Fen</STRONG><EM>w</EM></TABLE>",
         {"<table border=1>", "<td class=x>", "Dark MELODY", "</td>", "\n", "<b>", "T. Fen", "</b>", "<i>", "w", "</i>",
          "</table>"}},
        {"ends before the start not counted; a second start copied, the page opened once; a < without > ends it",
         "</TABLE></TABLE></TABLE></TABLE></TABLE><table border=1><td>A</td><table border=1>B</table><b",
         {"<table border=1>", "<td>", "A", "</td>", "<table border=1>", "B", "</table>"}},
        {"quoted border, bare padding", R"(<TABLE WIDTH="100%" BORDER="1" CELLPADDING=0>X</table>)",
         {R"(<table width="100%" border="1" cellpadding=0>)", "X", "</table>"}},
        {"border 2 starts nothing", R"(<table width="100%" border="2" cellpadding="0">X</table>)", {}},
        {"quoted border without the padding starts nothing", R"(<table border="1">X</table>)", {}},
    };
    for (const auto& [what, page, body] : cases) {
        test::TempDir dir;
        std::string text = page;
        PageWriter writer(dir.path());
        const ResultsPageEnd end = writeResultsPage(writer, text);
        std::string want = head;
        for (const std::string& l : body) want += l + "\r\n";
        const std::string file = dir.file("results.html");
        EXPECT_EQ(std::make_pair(end, fileExists(file) ? test::readFile(file) : ""),
                  body.empty() ? std::make_pair(ResultsPageEnd::NoResultTables, std::string())
                               : std::make_pair(ResultsPageEnd::EndOfPage, want + "</body>\r\n</html>\r\n")) << what;
    }
}

TEST(LiveResults, ChoosesThePlaceholderOrTheRacePage) {
    // race caption, rows listed, the row of that race and its state, what is framed, the title, the race page
    const std::tuple<std::string, int, int, std::string, std::string, std::string, std::string> cases[] = {
        {" 10 ", 10, 9, "1pm", "blank_results.html", "ASHFORD - #R.10", ""},
        {"5", 6, 4, "abnd", "results.html", "ASHFORD - #05", "AF05.html"},
        {"12", 6, -1, "12:30PM", "results.html", "ASHFORD - #12", "AF12.html"},  // no row: final
    };
    for (const auto& [caption, count, row, state, framed, title, racePage] : cases) {
        std::vector<ReportRow> rows;
        for (int r = 0; r < count; ++r)
            rows.push_back({"AF", {std::to_string(r + 1), "ASHFORD (AF)", r == row ? state : "9:00AM"}});
        const LiveResultChoice got = chooseLiveResult(ChosenRace{.number = caption, .track = "ASHFORD "}, rows);
        EXPECT_EQ(std::tie(got.resultsRow, got.framedPage, got.title, got.racePageName),
                  std::tie(row, framed, title, racePage)) << caption << " " << state;
    }
    // The cut counts on the closing blank; a name too short gives nothing.
    const auto trackText = [](const char* track) { return ChosenRace{.track = track}.trackText(); };
    EXPECT_EQ(Strings({trackText("A & B "), trackText("AB"), trackText("A"), trackText("")}),
              Strings({"A && B", "A", "", ""}));
}

TEST(ResultsWindow, LoadRulesAndOneClose) {
    EXPECT_EQ(resultsLayout(8000, 4000, 7000, 500, 300), (ResultsLayout{8000, 4000, {0, 510, 7950, 2800}, 7000}));
    ResultsWindow w;
    int closes = 0;
    w.onClose = [&] { ++closes; };
    w.cmdClose.click();
    w.close();  // the title bar after the button
    EXPECT_EQ(std::make_pair(w.layout(), closes),
              std::make_pair(ResultsLayout{11000, 5875, {0, 730, 10950, 4155}, 11000}, 1));
}

}  // namespace
}  // namespace selvane
