#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

namespace selvane {

class InstanceBell;

// The steps of a start, supplied by the front end. An empty step is skipped.
struct StartUp {
    // The work folder; a second start over the same folder ends at once.
    std::filesystem::path programFolder{};
    // Brings up the windowing system; runs after the instance test, so a second start is cheap.
    std::function<void()> initialise{};
    std::function<void()> pumpEvents{};
    // The first window the user sees.
    std::function<void()> showFirstWindow{};
    std::function<int()> runEventLoop{};
    // Where a refused start says why; standard error when null.
    std::ostream* errors = nullptr;
    // Once initialised: the bell a second start rings, to be watched until the event loop ends
    // (the bell goes when it has).
    std::function<void(InstanceBell& bell)> watchBell{};
    // What a second start brings to the first's bell (the desktop's activation token).
    std::string bellWords{};
};

// One instance a work folder: a second start rings the first's bell and returns 0 at once,
// silently. A lock that cannot be taken (its file a link, or not to be made) refuses the start:
// one line on errors, 1 returned. Otherwise pending events run once, the first window is shown
// and the event loop's result is returned; the instance lock is held until then.
int runEntry(const StartUp& steps);

}  // namespace selvane
