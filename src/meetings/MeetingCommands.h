#pragma once

#include <string>
#include <string_view>

namespace selvane {

struct App;

// The meeting commands of the main window. Selecting a box entry from code runs that box's
// click handler, so the download command runs the date and track commands by selecting.

// "Download Race Meetings": today's meeting page, its dates, its meetings, the first meeting's races.
void downloadRaceMeetings(App& app);
// A date chosen in cmbDateRaces: that date's meetings (the date box stays as it is).
void chooseMeetingDate(App& app);
// "Download Previous Race Meetings": the first four dates of the stored meeting page.
void downloadPreviousMeetings(App& app);
// A meeting chosen in cmbTrackName: its races from the tables, nothing fetched.
void chooseTrack(App& app);

// The date box from the tables: the dates up to the selected one.
void fillDateBox(App& app);

// The track box from the tables: the first word of each meeting's name; entry k is slot k + 1.
void fillTrackBox(App& app);

// Binds the four commands to cmdDownload, cmdPrevious, cmbDateRaces and cmbTrackName.
void wireMeetingCommands(App& app);

// The meeting page of the form-guide service, without a query (today's meetings).
std::string meetingPageUrl(const App& app);

// An address as it goes on the wire: blanks, "#", "%" and other characters a URL cannot carry
// as data are percent-encoded (a short date gives a query of blanks).
std::string wireAddress(std::string_view address);

// Characters from..from+width-1 of text, padded with blanks to width (a fixed-width field).
std::string fixedWidthPart(std::string_view text, std::size_t from, std::size_t width);

inline constexpr const char* kNoConnectionTitle = "No Connection";
inline constexpr const char* kNoConnectionText =
    "There is currently no internet connection present. \r\n\n"
    "Please exit the application, check your internet connection and run the software again.";

}  // namespace selvane
