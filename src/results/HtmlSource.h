#pragma once

#include <filesystem>
#include <string_view>

#include "results/ResultsFiles.h"

namespace selvane {

// Writes the wrapper as iFrame_results.html in programFolder, replacing any earlier one: sixteen
// lines, CR LF after each, a black page without scroll bars that frames framedPage (a name
// relative to the wrapper's folder). Throws std::runtime_error when the file cannot be replaced
// or written.
namespace frmResults {
void createHTMLSource(const std::filesystem::path& programFolder, std::string_view framedPage);
}  // namespace frmResults

}  // namespace selvane
