#pragma once

namespace selvane {

struct App;

// Hooks every room's commands to the main window's controls (onClick, onDoubleClick, onTimer…).
// Each room supplies one wiring function and adds one call to wireCommands.
void wireCommands(App& app);

// The shell's own: "Exit".
void wireShellCommands(App& app);

}  // namespace selvane
