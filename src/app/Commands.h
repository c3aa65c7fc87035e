#pragma once

#include <functional>
#include <string>

namespace selvane {

struct App;
struct LiveOddsRun;

// Called after a command that showed the punter a race, its prices or its results, with the time
// it started fetching and, after Live Odds, what that fetched: the record keeps what was shown.
using CommandShown = std::function<void(const std::string& at, const LiveOddsRun* odds)>;

// Hooks every room's commands to the main window's controls (onClick, onDoubleClick, onTimer…),
// handing each command the parts of the program's state it works on.
void wireCommands(App& app, CommandShown shown = {});

}  // namespace selvane
