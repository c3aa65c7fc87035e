#pragma once

namespace selvane {

struct App;

// Hooks every room's commands to the main window's controls (onClick, onDoubleClick, onTimer…),
// handing each command the parts of the program's state it works on.
void wireCommands(App& app);

}  // namespace selvane
