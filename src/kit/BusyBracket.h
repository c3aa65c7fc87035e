#pragma once

namespace selvane {

struct App;

// Brackets a long command: every control of the main window disabled (the ticker's timer too)
// and the hourglass pointer while it runs, so the user cannot start a second command while
// this one lets window events run. Closing hides the progress bar, enables every control and
// restores the normal pointer; the destructor closes it on every path, exceptions included.
// Neither half throws: a failing observer skips only its own step.
class BusyBracket {
public:
    enum class ProgressBar { Hide, Leave };

    explicit BusyBracket(App& app, ProgressBar onClose = ProgressBar::Hide);
    ~BusyBracket();
    BusyBracket(const BusyBracket&) = delete;
    BusyBracket& operator=(const BusyBracket&) = delete;

    // Closes now (a command that goes on with the controls enabled); later calls do nothing.
    void close();
    bool isOpen() const { return open_; }

private:
    App& app_;
    ProgressBar onClose_;
    bool open_ = true;
};

// The two halves on their own, for commands that open and close the bracket at separate steps.
void openBusyBracket(App& app);
void closeBusyBracket(App& app, BusyBracket::ProgressBar onClose = BusyBracket::ProgressBar::Hide);

}  // namespace selvane
