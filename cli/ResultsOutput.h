#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/Controls.h"

namespace selvane::cli {

// --race N: a race number (1..50 are the races a meeting can hold); 0 when not given.
int raceOption(const std::optional<std::string>& value);

// The results list rows, the ticker and the results box text, as a table or as JSON keys
// results, ticker, resultText.
void printShownResults(std::ostream& out, const std::vector<ReportRow>& rows, const std::string& ticker,
                       const std::string& resultText);
nlohmann::json shownResultsJson(const std::vector<ReportRow>& rows, const std::string& ticker,
                                const std::string& resultText);

}  // namespace selvane::cli
