#pragma once

namespace selvane {

struct App;

// The main window's load: grid reset, empty message panel, the four lists' columns and style,
// progress bar hidden, empty ticker over a window-wide strip, the results buttons enabled, the
// ticker holder shown, and "Date: " + today's short date in status panel 1.
void loadMainWindow(App& app);

}  // namespace selvane
