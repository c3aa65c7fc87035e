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

// The message that a race's or a meeting's data could not be had, and why. The odds, the results
// and the race field each name other data, for whom (trimmed by the caller), with another line
// break and another cause.
inline std::string couldNotAccessText(std::string_view what, std::string_view forWhom, std::string_view lineBreak,
                                      std::string_view cause) {
    return "Could not access any " + std::string(what) + " for " + std::string(forWhom) + std::string(lineBreak) +
           "This is probably due to " + std::string(cause);
}

}  // namespace selvane
