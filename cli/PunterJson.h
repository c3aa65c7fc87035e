#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "kit/FakePorts.h"
#include "kit/MainWindow.h"

namespace selvane::cli {

// The punter commands' JSON carries data, not window texts. Every document has the keys of the
// command's data beside "error" (null, or the one-line reason the command failed: exit status 1)
// and "warnings" (what the command said besides: a meeting left out, a message box the window
// would show, why the tipping stopped; [] when nothing).
nlohmann::json punterDocument(nlohmann::json data, const std::vector<std::string>& warnings,
                              const std::string& error = "");

// "06/12/2026" as "2026-12-06"; null when the text is not such a date.
nlohmann::json isoDate(std::string_view text);
// "13:25" or "1:25PM" as "13:25"; null otherwise.
nlohmann::json isoTime(std::string_view text);
// The whole number a text starts with ("7", " 45%", "2000m", "19e"); null when none.
nlohmann::json leadingWhole(std::string_view text);
// A decimal ("60.0", "9.40"); null when the text is no positive number ("n/a", "scr", "-100.0", "").
nlohmann::json decimalOrNull(std::string_view text);
// Page text without its surrounding blanks, as UTF-8.
nlohmann::json trimmedText(std::string_view text);

// A message box's title and text as one warning line.
std::vector<std::string> messageWarnings(const std::vector<ShownMessage>& messages);

// The race chosen in the race list: {number, name, time, length (metres)}; null when none.
nlohmann::json chosenRaceJson(const MainWindow& w);
// The results list as data, [{race, state, placings, time}], and the chosen race's result
// {race, placings} (null when it has none yet): keys "results" and "result".
nlohmann::json resultsDataJson(const MainWindow& w);

}  // namespace selvane::cli
