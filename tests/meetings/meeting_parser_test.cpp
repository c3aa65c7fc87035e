#include "meetings/MeetingParser.h"

#include <gtest/gtest.h>

#include "meetings/MeetingCommands.h"

namespace selvane {
namespace {

const std::string kGo = "<P><STRONG>3. Click GO to have your data delivered to you.</STRONG></P>\r\n";
const std::string kDateList = "<SELECT NAME=\"DATE\" ONCHANGE=\"NEWDATE(THIS);\" SIZE=\"1\">";

std::string meeting(const std::string& code, const std::string& name, const std::vector<std::string>& races) {
    std::string s = "<SELECT NAME=\"M" + code + "\">\r\n<OPTION VALUE=\"\">" + name + "\r\n</SELECT>\r\n";
    s += "<SELECT NAME=\"N" + code + "\" SIZE=\"1\">\r\n";
    for (const std::string& r : races) s += "<OPTION VALUE=\"" + code + "\">" + r + "\r\n";
    return s + "</SELECT>\r\n";
}

std::string page(const std::string& body) {
    return "<HTML><BODY><FORM METHOD=\"POST\" ACTION=\"/cgi-bin/tvf/access.pl\">\r\n" + body +
           "</FORM>\r\n<P>After the form</P></BODY></HTML>\r\n";
}

const std::string kRandwick = meeting("1", "RANDWICK", {"R1 12:30 RANDWICK 1200m", "R2 13:05 RANDWICK 1400m"});
const std::string kRandwickRows = "RANDWICK|m1|(1|12:30|RANDWICK |1200m)(2|13:05|RANDWICK |1400m)\n";

// The filled date slots and the selected one, then a line a meeting: name|link|(race rows).
std::string describe(const MeetingTables& t) {
    std::string s;
    for (const std::string& d : t.meetingDates) s += d.empty() ? "" : "[" + d + "]";
    s += " selected " + std::to_string(static_cast<int>(t.selectedDateIndex)) + "\n";
    for (int m = 1; m < t.meetingCounter; ++m) {
        s += t.meetingNames[m] + "|" + t.meetingLinks[m] + "|";
        for (int k = 1; k <= t.meetingLastRace[m]; ++k) {
            const RaceRow& r = t.raceTable[m][k];
            s += "(" + r.number + "|" + r.time + "|" + r.track + "|" + r.length + ")";
        }
        s += "\n";
    }
    for (const LeftOutMeeting& m : t.leftOut) s += "left out " + m.name + "|" + m.link + "|" + m.raceText + "\n";
    return s;
}

TEST(MeetingParser, Pages) {
    const std::string binary("\0\xff\x01<\0>\x80\r\n\0", 10);
    const std::pair<std::string, std::string> cases[] = {
        {page(kDateList + "<OPTION>01/03<OPTION SELECTED>02/03<OPTION>03/03</SELECT>" + kRandwick),
         "[01/03][02/03] selected 1\n"},  // no GO mark: no meetings; the selected date ends the list
        // Closing or indented options add no blank dates (a selected blank counts); race 7 leaves rows 1..6 empty.
        {page(kDateList + "<OPTION VALUE=1>01/03/2024</OPTION>\r\n  <OPTION VALUE=2>02/03/2024</OPTION>\r\n\t"
                          "<OPTION SELECTED VALUE=3>  </SELECT>" + kGo + kRandwick +
              meeting("22", "NORTH PARK", {"R7 12:45 NORTH PARK 1200m"})),
         "[01/03/2024][02/03/2024][  ] selected 2\n" + kRandwickRows +
             "NORTH PARK|m22|(|||)(|||)(|||)(|||)(|||)(|||)(7|12:45|NORTH PARK |1200m)\n"},
        // Tags and &nbsp; are rewritten first; </FORM> ends the scan.
        {page(kGo + meeting("1", "<EM>EAGLE</EM>&nbsp;FARM", {"R1 12:00 EAGLE&nbsp;FARM 1200m"}) + "</form>" + kRandwick),
         " selected 0\n|m1|(1|12:00|EAGLE\\~FARM |1200m)\n"},
        // A race line that cannot be read leaves out its meeting, nothing of it in the slot the next one takes.
        {page(kGo + kRandwick + meeting("2", "B", {"R1 12:00 B 900m", "R2 12:30"}) + kRandwick),
         " selected 0\n" + kRandwickRows + kRandwickRows + "left out B|m2|R2 12:30\n"},
        {page(kGo + kRandwick + meeting("2", "B", {"R51 1:00 B 9m"})), " selected 0\n" + kRandwickRows + "left out B|m2|R51 1:00 B 9m\n"},
        {page(kGo + meeting("2", "B", {"R1 1:00 B 9m", "R99999 1:30 B 9m"}) + meeting("3", "C", {"R2 2:00 C 8m"})),
         " selected 0\nC|m3|(|||)(2|2:00|C |8m)\nleft out B|m2|R99999 1:30 B 9m\n"},
        {page(kGo + meeting("2", "B", {"R0 1:00 B 9m"}) + meeting("3", "", {"R-1 1:00 C 9m"}) + kRandwick +
              meeting("4", "D", {" R1 1:00 D 9m"})),
         " selected 0\n" + kRandwickRows + "left out B|m2|R0 1:00 B 9m\nleft out |m3|R-1 1:00 C 9m\nleft out D|m4| R1 1:00 D 9m\n"},
        // Early ends: the scan stops, what was stored stays, the open meeting is not counted.
        {kGo + kRandwick + "<SELECT NAME=\"M2\"><OPTION VALUE=\"\">LOST<B", " selected 0\n" + kRandwickRows},
        {page(binary + kGo + binary + kRandwick + binary), " selected 0\n" + kRandwickRows},
    };
    for (const auto& [text, want] : cases) {
        MeetingTables t;
        parseMeetingList(text, t);
        EXPECT_EQ(describe(t), want) << text.substr(0, 400);
    }
}

TEST(MeetingParser, TablesStayInBounds) {
    std::string dates = kDateList;  // no selected date: the slots fill up
    for (int i = 1; i <= 40; ++i) dates += "<OPTION>D" + std::to_string(i);
    MeetingTables t;
    parseMeetingList(page(dates + kGo + kRandwick), t);
    EXPECT_EQ(t.meetingDates[30] + "|" + std::to_string(t.meetingCounter), "D31|1");

    // A 5,000-race meeting is left out whole; the next one is read.
    std::vector<std::string> races;
    for (int r = 1; r <= 5000; ++r) races.push_back("R" + std::to_string(r) + " 1:00 T 9m");
    parseMeetingList(page(kGo + meeting("9", "BIG", races) + kRandwick), t);
    EXPECT_EQ(describe(t), " selected 0\n" + kRandwickRows + "left out BIG|m9|R51 1:00 T 9m\n");

    std::string body = kGo;
    for (int m = 1; m <= 60; ++m) body += meeting(std::to_string(m), "T" + std::to_string(m), {"R1 1:00 T 9m"});
    parseMeetingList(page(body), t);
    EXPECT_EQ(std::to_string(t.meetingCounter) + "|" + t.meetingNames[50] + "|" + t.raceTable[50][1].number, "51|T50|1");
}

// Previous: the first five non-blank texts after the first list opening, whatever they are.
TEST(MeetingParser, CollectDateOptions) {
    MeetingTables t;
    for (int i = 0; i < 6; ++i) t.meetingDates[i] = "old" + std::to_string(i);
    t.meetingCounter = 9;
    collectDateOptions(page("<P>Hello</P><SELECT NAME=\"x\">\r\n  <OPTION>A</OPTION>\r\n  <OPTION>B</OPTION> </SELECT>"), t);
    EXPECT_EQ(describe(t), "[A][B][After the form][old3][old4][old5] selected 0\n");
}

// The parsed name "" of a meeting keeps its track box entry, so entry k stays meeting slot k + 1.
TEST(MeetingParser, AnEmptyMeetingNameKeepsItsTrackBoxEntry) {
    MeetingTables t;
    parseMeetingList(page(kGo + meeting("9", "<EM>X</EM>", {"R1 1:00 A 9m"}) + kRandwick), t);
    ComboBox box;
    fillTrackBox(box, t);
    EXPECT_EQ(box.entries(), (std::vector<std::string>{"", "RANDWICK"}));
}

}  // namespace
}  // namespace selvane
