#pragma once

#include <ostream>

namespace selvane::ui {

// --version and --help, answered before any window system is asked for, so that they work
// without a display (and help2man can read them at build time). Returns the exit status when one
// of them was given and answered on out, else -1.
int answerInfoOptions(int argc, char** argv, std::ostream& out);

}  // namespace selvane::ui
