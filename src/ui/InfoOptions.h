#pragma once

#include <ostream>
#include <string>

namespace selvane::ui {

// --version and --help, answered before any window system is asked for, so that they work
// without a display (and help2man can read them at build time). Returns the exit status when one
// of them was given and answered on out, else -1.
int answerInfoOptions(int argc, char** argv, std::ostream& out);

// The window the program is asked to open beside the main window: "history" for --history,
// "review" for --review, else empty.
std::string wantedWindow(int argc, char** argv);

}  // namespace selvane::ui
