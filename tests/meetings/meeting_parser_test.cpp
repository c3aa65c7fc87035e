#include "meetings/MeetingParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>


namespace selvane {
namespace {

const std::string kGo = "<P><STRONG>3. Click GO to have your data delivered to you.</STRONG></P>\r\n";

std::string dateList(const std::vector<std::string>& texts, int selected) {
    std::string s = "<SELECT NAME=\"date\" onChange=\"newdate(this);\" SIZE=\"1\">\r\n";
    for (int i = 0; i < static_cast<int>(texts.size()); ++i)
        s += (i == selected ? "<OPTION SELECTED VALUE=\"" : "<option value=\"") + std::to_string(i) + "\">" +
             texts[i] + "\r\n";
    return s + "</SELECT>\r\n";
}

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

const std::vector<std::string> kThreeDates = {"01/03/2024", "02/03/2024", "03/03/2024"};

// The tables as the date box, the track box and the race lists would show them, plus any date
// slot filled past the selected one.
std::string describe(const MeetingTables& t) {
    std::string s = "dates";
    const int selected = static_cast<int>(t.selectedDateIndex);
    for (int i = 0; i <= selected; ++i) s += " [" + t.meetingDates[i] + "]";
    s += " selected " + std::to_string(selected);
    for (int i = selected + 1; i < MeetingTables::kDates; ++i)
        if (!t.meetingDates[i].empty()) s += " +" + std::to_string(i) + "[" + t.meetingDates[i] + "]";
    s += "\n";
    for (int m = 1; m < t.meetingCounter; ++m) {
        s += std::to_string(m) + " " + t.meetingNames[m] + "|" + t.meetingLinks[m] + "|";
        for (int k = 1; k <= t.meetingLastRace[m]; ++k) {
            const RaceRow& r = t.raceTable[m][k];
            s += "(" + r.number + "|" + r.time + "|" + r.track + "|" + r.length + ")";
        }
        s += "\n";
    }
    return s;
}

struct ParseCase {
    const char* name;
    std::string page;
    std::string want;
};

TEST(MeetingParser, FullParseCases) {
    const std::string randwick = meeting("1", "RANDWICK", {"R1 12:30 RANDWICK 1200m", "R2 13:05 RANDWICK 1400m"});
    const std::vector<ParseCase> cases = {
        {"no GO mark: dates but no meetings", page(dateList(kThreeDates, 1) + randwick),
         "dates [01/03/2024] [02/03/2024] selected 1\n"},
        {"the selected option ends the date list", page(dateList(kThreeDates, 0) + kGo),
         "dates [01/03/2024] selected 0\n"},
        {"one meeting", page(dateList(kThreeDates, 2) + kGo + randwick),
         "dates [01/03/2024] [02/03/2024] [03/03/2024] selected 2\n"
         "1 RANDWICK|m1|(1|12:30|RANDWICK |1200m)(2|13:05|RANDWICK |1400m)\n"},
        {"several-word track in slot 2 with rows 1..6 empty",
         page(kGo + randwick + meeting("22", "NORTH PARK", {"R7 12:45 NORTH PARK 1200m"})),
         "dates [] selected 0\n"
         "1 RANDWICK|m1|(1|12:30|RANDWICK |1200m)(2|13:05|RANDWICK |1400m)\n"
         "2 NORTH PARK|m22|(|||)(|||)(|||)(|||)(|||)(|||)(7|12:45|NORTH PARK |1200m)\n"},
        {"a gap in the race numbers leaves an empty row",
         page(kGo + meeting("3", "ASCOT", {"R1 12:00 ASCOT 1000m", "R2 12:30 ASCOT 1100m", "R4 13:30 ASCOT 2000m"})),
         "dates [] selected 0\n1 ASCOT|m3|(1|12:00|ASCOT |1000m)(2|12:30|ASCOT |1100m)(|||)(4|13:30|ASCOT |2000m)\n"},
        {"an M name lower-cased is the link key; an M list without races is overwritten",
         page(kGo + "<SELECT NAME=\"M999\"><OPTION VALUE=\"\">GONE</SELECT>\r\n" +
              meeting("m5X", "DOOMBEN TODAY", {"R1 18:00 DOOMBEN 1200m"})),
         "dates [] selected 0\n1 DOOMBEN TODAY|mm5x|(1|18:00|DOOMBEN |1200m)\n"},
        {"NAME=\"DATE\" after the mark has no effect",
         page(kGo + "<SELECT NAME=\"DATE\" SIZE=\"1\"><OPTION VALUE=\"1\">01/03/2024</SELECT>\r\n" + randwick),
         "dates [] selected 0\n1 RANDWICK|m1|(1|12:30|RANDWICK |1200m)(2|13:05|RANDWICK |1400m)\n"},
        {"</FORM> ends the scan", page(kGo + randwick + "</form>\r\n" + meeting("2", "LATE", {"R1 1:00 LATE 900m"})),
         "dates [] selected 0\n1 RANDWICK|m1|(1|12:30|RANDWICK |1200m)(2|13:05|RANDWICK |1400m)\n"},
        {"</FORM> in a table tag does not end it",
         page(kGo + "<TD </FORM>\r\n" + randwick),
         "dates [] selected 0\n1 RANDWICK|m1|(1|12:30|RANDWICK |1200m)(2|13:05|RANDWICK |1400m)\n"},
        {"tags and &nbsp; are rewritten before the scan",
         page(kGo + meeting("1", "<EM>EAGLE</EM>&nbsp;FARM", {"R1 12:00 EAGLE&nbsp;FARM 1200m"})),
         "dates [] selected 0\n1 |m1|(1|12:00|EAGLE\\~FARM |1200m)\n"},
        {"closing option tags add no empty dates",
         page("<SELECT NAME=\"DATE\" ONCHANGE=\"NEWDATE(THIS);\" SIZE=\"1\"><OPTION VALUE=1>01/03/2024</OPTION>"
              "<OPTION SELECTED VALUE=2>02/03/2024</OPTION></SELECT>"),
         "dates [01/03/2024] [02/03/2024] selected 1\n"},
        {"an indented date list adds no blank dates (spaces, tabs); a blank selected option is still stored",
         page("<SELECT NAME=\"DATE\" ONCHANGE=\"NEWDATE(THIS);\" SIZE=\"1\">\r\n  <OPTION VALUE=1>01/03/2024</OPTION>"
              "\r\n  <OPTION VALUE=2>02/03/2024</OPTION>\r\n\t<OPTION SELECTED VALUE=3>  </SELECT>"),
         "dates [01/03/2024] [02/03/2024] [  ] selected 2\n"},
        // The early ends: the scan stops, what was stored stays, the open meeting is not counted.
        {"a race text of two words", page(kGo + randwick + meeting("2", "B", {"R1 12:00 B 900m", "R2 12:30"}) + randwick),
         "dates [] selected 0\n1 RANDWICK|m1|(1|12:30|RANDWICK |1200m)(2|13:05|RANDWICK |1400m)\n"},
        {"a race list before any M name", page(kGo + "<SELECT NAME=\"N1\"><OPTION VALUE=1>R1 1:00 A 9m</SELECT>" + randwick),
         "dates [] selected 0\n"},
        {"a meeting name before any M name", page(kGo + "<SELECT><OPTION VALUE=\"\">LOST</SELECT>" + randwick),
         "dates [] selected 0\n"},
        {"a < without >", dateList(kThreeDates, 1) + kGo + randwick + "<SELECT NAME=\"M2\"><OPTION VALUE=\"\">LOST<B",
         "dates [01/03/2024] [02/03/2024] selected 1\n"
         "1 RANDWICK|m1|(1|12:30|RANDWICK |1200m)(2|13:05|RANDWICK |1400m)\n"},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        MeetingTables t;
        parseMeetingList(c.page, t);
        EXPECT_EQ(describe(t), c.want);
    }
}

TEST(MeetingParser, BadPagesEndCleanly) {
    const std::string randwick = meeting("1", "RANDWICK", {"R1 12:30 RANDWICK 1200m", "R2 13:05 RANDWICK 1400m"});
    const std::string one = "dates [] selected 0\n1 RANDWICK|m1|(1|12:30|RANDWICK |1200m)(2|13:05|RANDWICK |1400m)\n";
    std::string manyTags;
    for (int i = 0; i < 500000; ++i) manyTags += "<>";
    const std::string binary("\0\xff\x01<\0>\x80\r\n\0", 10);
    const std::string whole = page(kGo + randwick);
    const std::vector<ParseCase> cases = {
        {"a page cut inside a race text", whole.substr(0, whole.find("13:05") + 3), "dates [] selected 0\n"},
        {"a million characters of empty tags before the meetings", page(manyTags + kGo + randwick), one},
        {"binary bytes around the meetings", page(binary + kGo + binary + randwick + binary), one},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        MeetingTables t;
        parseMeetingList(c.page, t);
        EXPECT_EQ(describe(t), c.want);
    }
}

TEST(MeetingParser, MissingSelectedOptionFillsTheDatesAndEndsTheParse) {
    std::vector<std::string> dates;
    for (int i = 1; i <= 40; ++i) dates.push_back("D" + std::to_string(i));
    MeetingTables t;
    parseMeetingList(page(dateList(dates, -1) + kGo + meeting("1", "A", {"R1 1:00 A 9m"})), t);
    EXPECT_EQ(t.meetingDates[0], "D1");
    EXPECT_EQ(t.meetingDates[30], "D31");
    EXPECT_EQ(t.selectedDateIndex, 0);
    EXPECT_EQ(t.meetingCounter, 1);

    // Fewer texts than slots: every later text of the page is a date, the mark included, and
    // the meetings after it are still read.
    parseMeetingList(page(dateList(kThreeDates, -1) + kGo + meeting("1", "A", {"R1 1:00 A 9m"})), t);
    EXPECT_EQ(t.meetingDates[2], "03/03/2024");
    EXPECT_EQ(t.meetingDates[3], "3. Click GO to have your data delivered to you.");
    EXPECT_EQ(t.meetingDates[4], "A");
    EXPECT_EQ(t.meetingDates[5], "R1 1:00 A 9m");
    EXPECT_EQ(t.meetingDates[6], "");
    EXPECT_EQ(t.meetingCounter, 2);
}

TEST(MeetingParser, MoreThanFiftyMeetingsKeepsTheFirstFifty) {
    std::string body = kGo;
    for (int m = 1; m <= 60; ++m) body += meeting(std::to_string(m), "T" + std::to_string(m), {"R1 1:00 T 9m"});
    MeetingTables t;
    parseMeetingList(page(body), t);
    EXPECT_EQ(t.meetingCounter, 51);
    EXPECT_EQ(t.meetingNames[50], "T50");
    EXPECT_EQ(t.meetingLinks[50], "m50");
    EXPECT_EQ(t.meetingLastRace[50], 1);
    EXPECT_EQ(t.raceTable[50][1].number, "1");
}

TEST(MeetingParser, AParseClearsWhatItDoesNotFill) {
    MeetingTables t;
    parseMeetingList(page(dateList(kThreeDates, 2) + kGo + meeting("1", "A", {"R1 1:00 A 9m", "R2 2:00 A 9m", "R3 3:00 A 9m"}) +
                          meeting("2", "B", {"R1 1:00 B 9m"})),
                     t);
    ASSERT_EQ(t.meetingCounter, 3);
    parseMeetingList(page(kGo + meeting("7", "C", {"R1 1:00 C 9m", "R3 3:00 C 9m"})), t);
    EXPECT_EQ(describe(t), "dates [] selected 0\n1 C|m7|(1|1:00|C |9m)(|||)(3|3:00|C |9m)\n");
    EXPECT_EQ(t.meetingNames[2], "");
    EXPECT_EQ(t.meetingLinks[2], "");
    EXPECT_EQ(t.meetingLastRace[2], 0);
    EXPECT_EQ(t.raceTable[2][1].number, "");
}

TEST(MeetingParser, MeetingsOnlyLeavesTheDates) {
    MeetingTables t;
    parseMeetingList(page(dateList(kThreeDates, 1)), t);
    parseMeetingsOnly(page(dateList({"09/09/2009", "10/09/2009"}, 0) + kGo + meeting("1", "A", {"R1 1:00 A 9m"})), t);
    EXPECT_EQ(describe(t), "dates [01/03/2024] [02/03/2024] selected 1\n1 A|m1|(1|1:00|A |9m)\n");
}

TEST(MeetingParser, CollectDateOptionsCases) {
    struct Case {
        const char* name;
        std::string page;
        std::vector<std::string> want;  // slots 0..5
    };
    const std::vector<std::string> seven = {"01/03/2024", "02/03/2024", "03/03/2024", "04/03/2024",
                                            "05/03/2024", "06/03/2024", "07/03/2024"};
    const std::vector<Case> cases = {
        {"the first five option texts", page(dateList(seven, 6) + kGo),
         {"01/03/2024", "02/03/2024", "03/03/2024", "04/03/2024", "05/03/2024", "old5"}},
        {"texts after the list count too", page(dateList({"01/03/2024", "02/03/2024"}, 1) + kGo),
         {"01/03/2024", "02/03/2024", "3. Click GO to have your data delivered to you.", "After the form", "old4",
          "old5"}},
        {"texts before the first list do not count", page("<P>Hello</P><SELECT NAME=\"x\">\r\n<OPTION>A\r\n<OPTION>B"),
         {"A", "B", "After the form", "old3", "old4", "old5"}},
        {"blank texts of an indented list do not count",
         page("<SELECT NAME=\"x\">\r\n  <OPTION>A</OPTION>\r\n  <OPTION>B</OPTION> </SELECT>"),
         {"A", "B", "After the form", "old3", "old4", "old5"}},
        {"no list at all", page("<P>Hello</P>"), {"old0", "old1", "old2", "old3", "old4", "old5"}},
        {"a < without >", "<SELECT >one<I>two<B three", {"one", "two", "old2", "old3", "old4", "old5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MeetingTables t;
        for (int i = 0; i < 6; ++i) t.meetingDates[i] = "old" + std::to_string(i);
        t.selectedDateIndex = 3;
        t.meetingCounter = 9;
        collectDateOptions(c.page, t);
        EXPECT_EQ(std::vector<std::string>(t.meetingDates.begin(), t.meetingDates.begin() + 6), c.want);
        EXPECT_EQ(t.selectedDateIndex, 3);
        EXPECT_EQ(t.meetingCounter, 1);
    }
}

TEST(MeetingParser, StoreRaceOptionCases) {
    struct Case {
        std::string text;
        float race;
        bool stored;
        RaceRow want;
    };
    const std::vector<Case> cases = {
        {"R7 12:45 NORTH PARK 1200m", 7, true, {"7", "12:45", "NORTH PARK ", "1200m"}},
        {"R1 12:00 1000m", 1, true, {"1", "12:00", "", "1000m"}},
        {"R1 12:00 X 1000m ", 1, true, {"1", "12:00", "X 1000m ", ""}},
        {"R2 12:00", 2, false, {"2", "12:00", "", "12:00"}},
        {"R1 12:00 X 1000m", 0, false, {}},
        {"R1 12:00 X 1000m", 51, false, {}},
        {"R1 12:00 X 1000m", 1.4f, true, {"1", "12:00", "X ", "1000m"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MeetingTables t;
        EXPECT_EQ(storeRaceOption(c.text, t, 2, c.race), c.stored);
        const int r = c.race >= 1 && c.race <= 50 ? static_cast<int>(c.race + 0.5f) : 1;
        const RaceRow& got = t.raceTable[2][r];
        EXPECT_EQ(got.number + "|" + got.time + "|" + got.track + "|" + got.length,
                  c.want.number + "|" + c.want.time + "|" + c.want.track + "|" + c.want.length);
    }
    MeetingTables t;
    EXPECT_FALSE(storeRaceOption("R1 1:00 A 9m", t, 0, 1));
    EXPECT_FALSE(storeRaceOption("R1 1:00 A 9m", t, 51, 1));
}

}  // namespace
}  // namespace selvane
