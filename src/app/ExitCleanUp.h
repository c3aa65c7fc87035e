#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace selvane {

struct App;

// Deletes the seven work files that do not outlive a run (kExitWorkFiles), each only if it is
// there. Never throws and never stops early: a file that cannot be deleted is passed over and
// named in the result, so the program still ends.
std::vector<std::string> exitCleanUp(const std::filesystem::path& programFolder);

// The "Exit" button: the clean-up, then the end of the program.
void exitProgram(App& app);

}  // namespace selvane
