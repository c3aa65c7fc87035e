#pragma once

#include "kit/Controls.h"
#include "kit/Ports.h"
#include "kit/Window.h"

namespace selvane {

// Brackets a long command: every control of the window disabled (a timer too) and the
// hourglass pointer while it runs, so the user cannot start a second command while this one
// lets window events run. Closing hides the given progress bar (none: left as it is), enables
// every control and restores the normal pointer; the destructor closes it on every path,
// exceptions included. Neither half throws: a failing observer skips only its own step.
class BusyBracket {
public:
    BusyBracket(Window& window, PointerPort* pointer, ProgressBar* hideOnClose = nullptr);
    ~BusyBracket();
    BusyBracket(const BusyBracket&) = delete;
    BusyBracket& operator=(const BusyBracket&) = delete;

    // Closes now (a command that goes on with the controls enabled); later calls do nothing.
    void close();

private:
    Window& window_;
    PointerPort* pointer_;
    ProgressBar* hideOnClose_;
    bool open_ = true;
};

}  // namespace selvane
