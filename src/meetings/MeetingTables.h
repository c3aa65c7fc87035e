#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace selvane {

// The meetings of one race day as the meeting page lists them. Fixed sizes; slot 0 of the
// meeting and race dimensions is unused so slot numbers read as the page numbers them.
struct RaceRow {
    std::string number;  // field 1
    std::string time;    // field 2
    std::string track;   // field 3: the middle words plus one trailing space
    std::string length;  // field 4
};

// A meeting the parse left out because a race option of its list could not be read (a race
// number outside 1..50, fewer than three words, a leading blank).
struct LeftOutMeeting {
    std::string name;      // as the page names it; may be empty
    std::string link;      // its link key
    std::string raceText;  // the race option's text
};

struct MeetingTables {
    static constexpr int kMeetings = 50;
    static constexpr int kRaces = 50;
    static constexpr int kDates = 31;

    std::array<std::string, kMeetings + 1> meetingNames;
    std::array<std::string, kMeetings + 1> meetingLinks;
    std::array<float, kMeetings + 1> meetingLastRace{};
    std::array<std::array<RaceRow, kRaces + 1>, kMeetings + 1> raceTable;
    std::int16_t meetingCounter = 1;
    std::array<std::string, kDates> meetingDates;
    float selectedDateIndex = 0;
    std::vector<LeftOutMeeting> leftOut;  // by the last parse of meetings, in page order
};

}  // namespace selvane
