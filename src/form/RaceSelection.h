#pragma once

#include <string>
#include <string_view>

#include "form/RunnerTable.h"
#include "kit/ChosenRace.h"
#include "kit/MainWindow.h"
#include "net/Context.h"
#include "results/ResultTables.h"

namespace selvane {

// The fore colour of the races already chosen in the race list (red 0, green 0, blue 192).
inline constexpr Colour kVisitedRaceColour = 0xC00000;

inline constexpr const char* kRaceDataErrorTitle = "Race's Data Error";

// The race page address of a race list row: the link key without its first character, then
// the race number, each encoded as an address part.
std::string racePageAddress(const std::string& formGuide, std::string_view link, std::string_view raceNumber);

// The "Race's Data Error" message for a track (trimmed here).
std::string raceDataErrorText(std::string_view trackPart);

// Double-click on the race list: downloads the chosen race's field, shows it, tips it, marks the
// race as visited, sets the chosen race and its details, fills the meeting's result states, then
// reports.
void chooseRace(Context& ctx, MainWindow& w, RunnerTable& runners, ResultTables& results, ChosenRace& chosen);

// Click on the runner list: tips the field again with the user's tick marks, then reports.
void rerunTips(Context& ctx, MainWindow& w, const ChosenRace& chosen);

// Command1: the race choice over the stored race page, without download or results; the chosen
// race is the race list's selected row, as after a double-click.
void reanalyseStoredRace(Context& ctx, MainWindow& w, RunnerTable& runners, ChosenRace& chosen);

// The last step of the three: placeholder tips and "Race's Data Error" when the runner list or
// the tip list is empty, else "Insufficient Form" when a third of the field lacks form.
void reportTipOutcome(MessageBoxPort* messages, MainWindow& w, std::string_view trackPart);

}  // namespace selvane
