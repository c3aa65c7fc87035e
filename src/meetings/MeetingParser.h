#pragma once

#include <string>
#include <string_view>

#include "meetings/MeetingTables.h"

namespace selvane {

// The meeting page of the form-guide service, read tag by tag into the meeting tables. Every
// entry point clears the meeting slots first, so slots the page does not fill are empty. A page
// that breaks the walk (a slot outside its table, a "<" without ">") ends the scan there; what
// was stored stays. A race option that cannot be read (a race number outside 1..50, fewer than
// three words, a leading blank) leaves out only its meeting, noted in leftOut: one bad line
// must not cost the meetings after it.

// Dates, meetings and races. The date slots the page does not fill are emptied.
void parseMeetingList(std::string_view page, MeetingTables& t);

// Meetings and races only: the dates and selectedDateIndex stay as they are.
void parseMeetingsOnly(std::string_view page, MeetingTables& t);

// The first five texts (blank ones passed over) after the page's first list opening into
// meetingDates slots 0..4; the other date slots and selectedDateIndex stay as they are.
void collectDateOptions(std::string_view page, MeetingTables& t);

// One race option text ("R7 12:45 NORTH PARK 1200m") into raceTable row (meeting, race).
// False when the row is outside the table (nothing is written) or the text has fewer than three
// words (the fields before the break are written).
bool storeRaceOption(std::string_view text, MeetingTables& t, float meeting, float race);


inline constexpr std::string_view kGoMark = "3. Click GO to have your data delivered to you.";
inline constexpr std::string_view kDateListTag = R"(<SELECT NAME="DATE" ONCHANGE="NEWDATE(THIS);" SIZE="1">)";

}  // namespace selvane
