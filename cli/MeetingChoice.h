#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Cli.h"

namespace selvane::cli {

// A program state, with every room's commands wired, that has downloaded the meetings of --date
// (as choosing that date does) or today's (as "Download Race Meetings" does). Throws InputError
// when the service cannot be reached.
std::unique_ptr<App> downloadMeetings(Context& ctx);

// downloadMeetings, then TRACK chosen in the track box (its first word, letter case ignored),
// which fills the race list. Throws InputError when the service has no such meeting.
std::unique_ptr<App> openMeeting(Context& ctx, const std::string& track);

// Selects the race list row of race number `race`; InputError when the meeting has none.
void selectRace(App& app, int race, const std::string& track);

// The punter's TRACK RACE [--date D] commands: the arguments checked, the meeting opened and the
// race double-clicked in the race list, as the window does (its field fills the runner list).
std::unique_ptr<App> chooseRaceOfArguments(Context& ctx, std::vector<std::string> options = {});

// "Page could not be fetched: <address> (<cause>)" when the chosen race's page could not be
// fetched (the runner list is then empty), else empty.
std::string racePageFailure(const App& app);

// The error line of a failed command: the window's first fetch failure ("Page could not be
// fetched: <address> (timed out)") from panel 2 or lblStatus, or address when neither names one.
std::string fetchFailure(const MainWindow& w, const std::string& address);

// InputError with the first work file of app's run that could not be written whole ("cannot
// write NAME: reason"): a page not stored whole is no page, whatever the window shows.
void requireWorkFilesWritten(const App& app);

// After checkResults: InputError naming the results site's page of the chosen date when it could
// not be fetched (no site, an error page) or stored, so that no "not on the results page" is
// reported.
void requireResultsPage(const App& app);

// A positional race number: one or two digits, at least 1 (a meeting holds up to 50 races).
int raceArgument(const std::string& text);

}  // namespace selvane::cli
