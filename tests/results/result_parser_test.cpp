#include "results/ResultParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/MainWindow.h"
#include "results/CheckResults.h"

namespace selvane {
namespace {

// Pieces of a results meeting page as downloadTRACK stores it: CR LF after every line.
std::string line(const std::string& s) { return s + "\r\n"; }

std::string headerRow(int cells, const std::string& cellText = "R") {
    std::string row = line("<tr><th class=\"rowhdr\">Meeting</th>");
    for (int i = 1; i < cells; ++i) row += line("<th class=\"rowhdr\">" + cellText + std::to_string(i) + "</th>");
    return row + line("</tr>");
}

std::string raceCell(const std::string& code, int race, const std::string& state) {
    return line("<td><a href=\"" + code + (race < 10 ? "0" : "") + std::to_string(race) + ".html\">" + state +
                "</a></td>");
}

std::string meetingRow(const std::string& name, const std::string& code, const std::vector<std::string>& states) {
    std::string row = line("<tr>") + line("<td class='location'> <a href=\"" + code + ".html\">" + name + "</a></td>");
    for (std::size_t r = 0; r < states.size(); ++r) row += raceCell(code, static_cast<int>(r + 1), states[r]);
    return row + line("</tr>");
}

std::string page(const std::string& body) {
    return line("<html><head><title>Tote results</title></head><body>") + line("<h2>Today's meetings</h2>") +
           line("<h3>RACES</h3><table>") + body + line("</table>") + line("<h3>TROTS</h3><table>") +
           meetingRow("GLOUCESTER PARK (GP)", "GP", {"1,2,3"}) + line("</table></body></html>");
}

struct Meeting {
    std::string name;
    std::string code;
    std::vector<std::string> races;
    bool operator==(const Meeting&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Meeting& m) {
    os << "{" << m.name << " [" << m.code << "]";
    for (const auto& r : m.races) os << " '" << r << "'";
    return os << "}";
}

std::vector<Meeting> meetingsOf(const ResultTables& t) {
    std::vector<Meeting> out;
    for (int i = 1; i <= t.storedMeetings(); ++i) {
        Meeting m{t.resultMeetingNames[i], t.resultRecords[i].code(1), {}};
        for (int r = 1; r <= t.resultRaceCounts[i]; ++r) m.races.push_back(t.resultRecords[i].result(r));
        out.push_back(m);
    }
    return out;
}

ResultTables parsed(std::string text, ResultTables t = {}) {
    t.resultMeetingIndex = 0;
    t.resultRaceSlot = 1;
    EXPECT_EQ(parseResultMeetings(t, text), "");
    return t;
}

TEST(ResultParser, ReadsTheMeetingsOfTheHorseSection) {
    const ResultTables t = parsed(page(headerRow(13) + meetingRow("ASHFORD (AF)", "AF", {"3,5,7", "12:30PM"}) +
                                       meetingRow("BALLARAT (BA)", "BA", {"CLOSED", "INTERIM", "abnd"})));
    EXPECT_EQ(meetingsOf(t), (std::vector<Meeting>{{"ASHFORD (AF)", "AF", {"3,5,7", "12:30PM"}},
                                                   {"BALLARAT (BA)", "BA", {"CLOSED", "INTERIM", "abnd"}}}));
    EXPECT_EQ(t.resultMeetingCount, 2);
}

struct PageCase {
    const char* what;
    std::string text;
    std::vector<Meeting> meetings;
    int meetingCount;
};

TEST(ResultParser, PageShapes) {
    const std::string ashford = meetingRow("ASHFORD (AF)", "AF", {"3,5,7", "12:30PM"});
    const std::string ballarat = meetingRow("BALLARAT (BA)", "BA", {"1,2,3"});
    const std::string casino = meetingRow("CASINO (CA)", "CA", {"2:05PM"});
    std::vector<std::string> fifty;
    for (int r = 1; r <= 50; ++r) fifty.push_back(std::to_string(r) + ",1,2");
    const std::vector<PageCase> cases = {
        {"ten header cells: the third meeting start completes thirteen",
         page(headerRow(10) + ashford + ballarat + casino + meetingRow("DUBBO (DU)", "DU", {"4,1,2"})),
         {{"", "", {}}, {"", "", {}}, {"CASINO (CA)", "CA", {"2:05PM"}}, {"DUBBO (DU)", "DU", {"4,1,2"}}},
         4},
        {"a name cell without a link: every link of the row reads as a name cell",
         page(headerRow(13) + line("<tr><td class='location'> ASHFORD (AF)</td>") + raceCell("AF", 1, "3,5,7") +
              raceCell("AF", 2, "12:30PM") + line("</tr>")),
         {{"12:30PM", "0P", {}}},
         1},
        {"a location cell with no text before its link starts no meeting",
         page(headerRow(13) + ashford + line("<tr><td class='location'><a href=\"BA.html\">BALLARAT (BA)</a></td>") +
              raceCell("BA", 1, "1,2,3") + line("</tr>")),
         {{"BALLARAT (BA)", "AF", {"3,5,7", "12:30PM", "1,2,3"}}},
         1},
        {"an empty header cell is not counted",
         page(headerRow(11) + line("<tr><th class=\"rowhdr\"></th></tr>") + ashford + ballarat),
         {{"", "", {}}, {"BALLARAT (BA)", "BA", {"1,2,3"}}},
         2},
        {"meetings before the RACES heading and after TROTS are not read",
         ballarat + page(headerRow(13) + ashford) + line("<h3>GREYHOUNDS</h3>") + casino,
         {{"ASHFORD (AF)", "AF", {"3,5,7", "12:30PM"}}},
         1},
        {"blank, Fields and unquoted cells are passed over",
         page(headerRow(13) + line("<tr><td class='location'> <a href=\"AF.html\">ASHFORD (AF)</a></td>") +
              raceCell("AF", 1, "&nbsp;") + raceCell("AF", 2, " Fields ") + line("<td><a href=AF03>4,5,6</a></td>") +
              line("<td><a href=\"\">7,8,9</a></td>") + raceCell("AF", 3, "1,2,3") + line("</tr>")),
         {{"ASHFORD (AF)", "AF", {"1,2,3"}}},
         1},
        {"cells keep their blanks; a cell split over lines is joined",
         page(headerRow(13) + line("<tr><td class='location'> <a href=\"AF.html\">ASHFORD (AF)</a></td>") +
              line("<td><a href=\"AF01.html\"> 3,5,7 </a></td>") + line("<td><a href=\"AF02.html\">12:30") +
              line("PM</a></td></tr>")),
         {{"ASHFORD (AF)", "AF", {" 3,5,7 ", "12:30PM"}}},
         1},
        {"tags and link addresses in any letter case",
         page(headerRow(13) + line("<TR><TD CLASS='Location'> <A HREF=\"af.html\">ASHFORD (AF)</A></TD>") +
              line("<td><A href=\"af01.html\">3,5,7</a></td>") + line("</tr>")),
         {{"ASHFORD (AF)", "AF", {"3,5,7"}}},
         1},
        {"without the trotting heading the meetings found are counted",
         line("<h3>RACES</h3>") + headerRow(13) + ashford + ballarat,
         {{"ASHFORD (AF)", "AF", {"3,5,7", "12:30PM"}}, {"BALLARAT (BA)", "BA", {"1,2,3"}}},
         2},
        {"a header cell at thirteen ends meeting starts",
         page(headerRow(13) + ashford + line("<tr><th class=\"rowhdr\">Late</th></tr>") + ballarat),
         {{"BALLARAT (BA)", "AF", {"3,5,7", "12:30PM", "1,2,3"}}},
         1},
        {"a name cell past the fiftieth race is not stored, nor is its code taken",
         page(headerRow(13) + meetingRow("ASHFORD (AF)", "AF", fifty) + line("<tr><th class=\"rowhdr\">Late</th></tr>") +
              ballarat + meetingRow("CASINO (AF)", "AF", {"9,9,9"})),
         {{"ASHFORD (AF)", "AF", fifty}},
         1},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ResultTables t = parsed(c.text);
        EXPECT_EQ(meetingsOf(t), c.meetings);
        EXPECT_EQ(t.resultMeetingCount, c.meetingCount);
    }
}

TEST(ResultParser, LinksBeforeAnyMeetingStartAreNotStored) {
    // Fourteen header cells: meeting starts are over before the first one.
    const ResultTables t = parsed(page(headerRow(14) + meetingRow("ASHFORD (AF)", "AF", {"3,5,7"})));
    EXPECT_EQ(t.storedMeetings(), 0);
    EXPECT_EQ(t.resultMeetingCount, 0);
}

TEST(ResultParser, KeepsFiftyRacesAMeeting) {
    std::vector<std::string> states;
    for (int r = 1; r <= 52; ++r) states.push_back(std::to_string(r) + ",1,2");
    const ResultTables t = parsed(page(headerRow(13) + meetingRow("ASHFORD (AF)", "AF", states)));
    ASSERT_EQ(t.storedMeetings(), 1);
    EXPECT_EQ(t.resultRaceCounts[1], 50);
    EXPECT_EQ(t.resultRecords[1].result(50), "50,1,2");
    EXPECT_EQ(t.resultRecords[1].result(51), "");
}

TEST(ResultParser, ANewPageReplacesTheOldMeetingsAndAnEmptyOneKeepsThem) {
    ResultTables t = parsed(page(headerRow(13) + meetingRow("ASHFORD (AF)", "AF", {"3,5,7", "1:00PM", "2:00PM"}) +
                                 meetingRow("BALLARAT (BA)", "BA", {"1,2,3"})));
    t = parsed(page(headerRow(13) + meetingRow("CASINO (CA)", "CA", {"2:05PM"})), t);
    EXPECT_EQ(meetingsOf(t), (std::vector<Meeting>{{"CASINO (CA)", "CA", {"2:05PM"}}}));
    EXPECT_EQ(t.resultRecords[1].result(2), "");

    t = parsed("", t);
    EXPECT_EQ(meetingsOf(t), (std::vector<Meeting>{{"CASINO (CA)", "CA", {"2:05PM"}}}));
    EXPECT_EQ(t.resultMeetingCount, 0);
}

TEST(ResultParser, RewritesThePageText) {
    std::string text = "<STRONG>a</STRONG>\r\n<EM>b</EM>&nbsp;<strong>";
    ResultTables t;
    parseResultMeetings(t, text);
    EXPECT_EQ(text, "<B>a</B><I>b</I>\\~<strong>");
}

TEST(ResultParser, MeetingCodeIsTheTwoCharactersBeforeTheLast) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ASHFORD (AF)", "AF"}, {"SANDOWN (MS)", "MS"}, {"(A)", "(A"}, {"AB", "A"}, {"X", ""}};
    for (const auto& [name, code] : cases) EXPECT_EQ(meetingCodeOf(name), code) << name;
}

TEST(ResultParser, FormatsResultTexts) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"3,5,7", "3 - 5 - 7"},  {"12:30PM", "N/A"}, {"12:30", "N/A"},          {"INTERIM", "N/A"},
        {"2pm", "N/A"},          {"CLOSED", "not available"}, {"", "not available"}, {"1,2:3", "1 - 2:3"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(formatResultText(in), out) << in;
}

ResultTables twoMeetings() {
    return parsed(page(headerRow(13) + meetingRow("ASHFORD (AF)", "AF", {"3,5,7", "12:30PM", "CLOSED", "abnd"}) +
                       meetingRow("SANDOWN (MS)", "MS", {"1,2,3"})));
}

TEST(CheckResultsDisplay, FillsTheListAndTheTicker) {
    MainWindow w;
    w.txtResults.setText("old");
    fillMeetingResults(w, twoMeetings(), "ashford", 1);
    ASSERT_EQ(w.lstResults.count(), 4);
    EXPECT_EQ(w.lstResults.row(0).text, "AF");
    EXPECT_EQ(w.lstResults.row(0).subItems, (std::vector<std::string>{"1", "ASHFORD (AF)", "3,5,7"}));
    EXPECT_EQ(w.lstResults.row(3).subItems, (std::vector<std::string>{"4", "ASHFORD (AF)", "abnd"}));
    EXPECT_EQ(w.lblScrollResults.caption(),
              "#R.1  [ 3,5,7 ];      #R.2  [ 12:30PM ];      #R.3  [ CLOSED ];      #R.4  [ abnd ];      ");
    EXPECT_EQ(w.txtResults.text(), "3 - 5 - 7");
}

TEST(CheckResultsDisplay, ChosenRaceText) {
    const ResultTables t = twoMeetings();
    const std::string unchanged = "old race abandoned? race abandoned";
    const std::vector<std::pair<double, std::string>> cases = {
        {1, "3 - 5 - 7"}, {2, "N/A"}, {3, "CLOSED"}, {4, "race abandoned"}, {1.6, "N/A"},
        {5, ""},          {50, ""},   {0, unchanged}, {51, unchanged}};
    for (const auto& [race, shown] : cases) {
        MainWindow w;
        w.txtResults.setText("old abnd? ABND");
        fillMeetingResults(w, t, "ASHFORD", race);
        EXPECT_EQ(w.txtResults.text(), shown) << race;
    }
}

TEST(CheckResultsDisplay, MatchesTracksLikeTheTrackBox) {
    const ResultTables t = twoMeetings();
    const std::vector<std::pair<std::string, int>> cases = {
        {"ASHFORD", 1}, {"", 1}, {"SANDOWN-HILLSIDE", 2}, {"sandown", 2}, {"Hillside", 2},
        {"(MS)", 2},    {"CAULFIELD", 0}, {"SANDOWN-HILLSIDE (AF)", 0}};
    for (const auto& [track, meeting] : cases) EXPECT_EQ(findResultMeeting(t, track), meeting) << track;

    ResultTables counted = t;
    counted.resultMeetingCount = 1;
    EXPECT_EQ(findResultMeeting(counted, "SANDOWN"), 0);
    counted.resultMeetingCount = 9;
    EXPECT_EQ(findResultMeeting(counted, "SANDOWN"), 2);
}

TEST(CheckResultsDisplay, AMeetingNotOnThePageEmptiesTheListOnly) {
    MainWindow w;
    fillMeetingResults(w, twoMeetings(), "ASHFORD", 1);
    fillMeetingResults(w, twoMeetings(), "CAULFIELD", 2);
    EXPECT_EQ(w.lstResults.count(), 0);
    EXPECT_EQ(w.lblScrollResults.caption(), "");
    EXPECT_EQ(w.txtResults.text(), "3 - 5 - 7");
}

TEST(CheckResultsDisplay, DatePath) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"15/03/2007", "2007/03/15"}, {"06/12/2026", "2026/12/06"}, {"1/2/2026", "26%20%20/%2F2/1%2F"}, {"", "%20%20%20%20/%20%20/%20%20"}};
    for (const auto& [date, path] : cases) {
        MainWindow w;
        EXPECT_EQ(resultDatePath(w, date), path) << date;
        EXPECT_EQ(w.yearPart.size() + w.monthPart.size() + w.dayPart.size(), 8u);
    }
}

}  // namespace
}  // namespace selvane
