#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Watch.h"
#include "kit/MainWindow.h"

namespace selvane::cli {

// --race N: up to four digits (1..50 are the races a meeting can hold); 0 when not given.
int raceOption(const std::optional<std::string>& value);

inline constexpr const char* kResultsHeader = "link  Race #.  Track Name                Results";
// One results list row as the table prints it.
std::string resultsRowText(const ReportRow& row);

// The window's results list rows, ticker and results box text, as a table or as JSON keys
// results, ticker, resultText.
void printShownResults(std::ostream& out, const MainWindow& w);
nlohmann::json shownResultsJson(const MainWindow& w);
struct Context;
// One fetch of the results command as a watch board: the meeting's results list rows and, with
// a race, its result; a fetch that fails is a board that is not ok, naming why.
Board resultsBoard(Context& ctx, const std::string& track, int race);

// The results list as CSV records: link, race, track, result.
void writeResultsCsv(std::ostream& out, const MainWindow& w);

}  // namespace selvane::cli
