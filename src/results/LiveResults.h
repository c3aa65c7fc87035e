#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kit/ChosenRace.h"
#include "kit/Controls.h"
#include "kit/Ports.h"
#include "net/Context.h"

namespace selvane {

struct MainWindow;

// Not final while the state is a start time ('12:30PM') or a status word (CLOSED, N/A,
// INTERIM); placings and an empty state are final.
bool raceIsFinal(std::string_view raceState);

// Before the busy bracket: what the live results command does with the window as it stands.
enum class LiveResultsGate {
    Nothing,         // the race list is empty
    NoRaceSelected,  // the "No Race Select" box, focus to the race list
    NoResults,       // the "Live Results Inaccessible" box
    Go,
};
LiveResultsGate liveResultsGate(int raceListRows, const ChosenRace& chosen, int resultsRows);

inline constexpr const char* kResultsInaccessibleTitle = "Live Results Inaccessible";
// meetingCaption: lblMeeting's caption ("Meeting: " and the meeting), trimmed here.
std::string resultsInaccessibleText(std::string_view meetingCaption);

// What the live results command shows for the chosen race.
struct LiveResultChoice {
    std::string raceNumber;  // padded
    std::string trackText;
    int resultsRow = -1;    // the lstResults row to select; -1 when the race has none
    std::string raceState;  // its "Results" text; empty without a row
    bool final = false;
    std::string framedPage;    // what the wrapper frames: blank_results.html or results.html
    std::string title;         // lblMeetingName: track + " - #R." + race, or track + " - #" + race
    std::string racePageName;  // final only: meeting code (first results row) + race + ".html"
};

// results: the rows of lstResults.
LiveResultChoice chooseLiveResult(const ChosenRace& chosen, const std::vector<ReportRow>& results);

// resultsSiteRoot ends with "/"; datePath is yyyy/mm/dd as resultDatePath gives it; the page
// name is encoded as an address part.
std::string resultPageAddress(std::string_view resultsSiteRoot, std::string_view datePath,
                              std::string_view racePageName);

// The results links' page name (meeting code of the first results row, the selected race's
// "Race #." text padded, ".html"); nothing with an empty list or no race selected.
std::optional<std::string> resultsLinkPage(const ReportList& lstRaceName, const ReportList& lstResults);

// cmdLiveResults: shows the chosen race's result, or the placeholder while it is not final, in
// the results window (modal through ctx.ports.modal); returns when the user has closed it. The
// result page is the one of the date the race was chosen on.
// A final race whose page cannot be fetched or holds no result tables shows a page that says
// so and why, never the placeholder nor an earlier race's results.html.
void liveResults(Context& ctx, MainWindow& w, const ChosenRace& chosen);

// cmdResults and a click on the ticker: opens the race's result page on the results site.
// Returns whether the shell was asked; its answer is not looked at.
bool openResultsLink(MainWindow& w, ShellPort& shell, std::string_view resultsSiteRoot);

}  // namespace selvane
