#pragma once

#include <string>

#include "kit/ChosenRace.h"
#include "kit/MainWindow.h"
#include "meetings/MeetingTables.h"
#include "net/Connectivity.h"
#include "net/Context.h"

namespace selvane {

// The meeting commands of the main window. Selecting a box entry from code runs that box's
// click handler, so the download command runs the date and track commands by selecting.

// The download and date commands end with the meetings their parse left out in status panel 2
// and lblStatus, as a failed fetch is shown there (which comes first when there is one).

// The download, date and track commands refill the race list, so no race is chosen after them.

// "Download Race Meetings": today's meeting page, its dates, its meetings, the first meeting's races.
void downloadRaceMeetings(Context& ctx, MainWindow& w, MeetingTables& meetings, ConnectionState& connection,
                          ChosenRace& chosen);
// A date chosen in cmbDateRaces: that date's meetings (the date box stays as it is).
void chooseMeetingDate(Context& ctx, MainWindow& w, MeetingTables& meetings, ChosenRace& chosen);
// "Download Previous Race Meetings": the first four dates of the stored meeting page.
void downloadPreviousMeetings(Context& ctx, MainWindow& w, MeetingTables& meetings);
// A meeting chosen in cmbTrackName: its races from the tables, nothing fetched.
void chooseTrack(MainWindow& w, const MeetingTables& meetings, ChosenRace& chosen);

// The date box from the tables: the dates up to the selected one.
void fillDateBox(ComboBox& box, const MeetingTables& meetings);

// The track box from the tables: the first word of each meeting's name; entry k is slot k + 1.
void fillTrackBox(ComboBox& box, const MeetingTables& meetings);

// "Meeting EAGLE FARM left out: its race line "R99999 14:20 ..." cannot be read" (the link key
// when the meeting has no name; a long race text cut).
std::string leftOutText(const LeftOutMeeting& meeting);

// The meeting page of the form-guide service, without a query (today's meetings).
std::string meetingPageUrl(const Services& services);

inline constexpr const char* kNoConnectionTitle = "No Connection";
inline constexpr const char* kNoConnectionText =
    "There is currently no internet connection present. \r\n\n"
    "Please exit the application, check your internet connection and run the software again.";

}  // namespace selvane
