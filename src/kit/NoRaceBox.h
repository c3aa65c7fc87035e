#pragma once

#include <string>
#include <string_view>

namespace selvane {

// The box the live odds and live results commands show when no race is chosen; what names the
// command's data ("live odds", "live results").
inline constexpr const char* kNoRaceSelectTitle = "No Race Select";
inline std::string noRaceSelectText(std::string_view what) {
    return "You have not select any races yet.\r\rWhich race number you want to see the " + std::string(what) +
           "\rplease double click to select it first.";
}

}  // namespace selvane
