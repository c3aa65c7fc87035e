#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "kit/MainWindow.h"

namespace selvane::cli {

// --race N: a race number (1..50 are the races a meeting can hold); 0 when not given.
int raceOption(const std::optional<std::string>& value);

// The window's results list rows, ticker and results box text, as a table or as JSON keys
// results, ticker, resultText.
void printShownResults(std::ostream& out, const MainWindow& w);
nlohmann::json shownResultsJson(const MainWindow& w);
// The results list as CSV records: link, race, track, result.
void writeResultsCsv(std::ostream& out, const MainWindow& w);

}  // namespace selvane::cli
