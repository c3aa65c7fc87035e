#pragma once

namespace selvane {

// The live results work files in the program folder.
inline constexpr const char* kResultsWrapperPage = "iFrame_results.html";
inline constexpr const char* kResultsPage = "results.html";
// Supplied with the program: shown while a race is not final.
inline constexpr const char* kBlankResultsPage = "blank_results.html";

}  // namespace selvane
