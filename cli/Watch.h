#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace selvane::cli {

// One fetch drawn as rows; a row is known again by its key, so a change of its text is marked.
struct BoardRow {
    std::string key;
    std::string text;  // UTF-8
};

struct Board {
    bool ok = false;
    std::string error;    // why the fetch failed, one line
    std::string heading;  // UTF-8, above the rows
    std::vector<BoardRow> rows;
};

// Local wall-clock time, seconds since the epoch as if the local time were UTC.
using WallClock = std::function<std::chrono::sys_seconds()>;
// Waits the given time; false when the watch is to stop.
using Sleeper = std::function<bool(std::chrono::seconds)>;

// A terminal's rows and columns.
struct ScreenSize {
    int rows = 24;
    int columns = 80;
};

struct WatchOptions {
    std::chrono::seconds every{30};
    int rounds = 0;         // fetches before it ends; 0 until stopped
    bool terminal = false;  // redraw the screen each second, else one plain block per fetch
    WallClock now;
    Sleeper sleep;
    // On a terminal: its size now, whether colours may be used, and whether it was resized since
    // last asked (a resize redraws at once without counting as a second waited).
    std::function<ScreenSize()> size = [] { return ScreenSize{}; };
    bool colour = true;
    std::function<bool()> resized = [] { return false; };
};

// Fetches and draws until stopped (or `rounds` fetches): the time of the last good fetch and
// the data's age always shown, rows that changed since the last good fetch marked, a failed
// fetch shown as stale since the last good one — its rows are never shown as fresh. Output that
// cannot be written ends it too. Returns whether the last fetch worked.
bool runWatch(std::ostream& out, const WatchOptions& options, const std::function<Board()>& fetch);

// --every S: whole seconds, 5 to 3600; 30 without the option.
std::chrono::seconds everyOption(const std::optional<std::string>& value);

// The options a command's --watch runs with: the system's local clock, a sleep that Ctrl-C ends.
WatchOptions liveWatchOptions(std::chrono::seconds every, bool terminal);

struct Context;
// One fetch of a command as a board: `fill` sets its heading and rows; what it throws makes a
// board that is not ok, naming why. The messages the fetch showed are dropped.
Board fetchBoard(Context& ctx, const std::function<void(Board&)>& fill);

// --watch given; a usage error for --every without it.
bool watchWanted(const Context& ctx);

// A command's --watch on ctx.out (redrawn when that is a terminal); refused beside --csv or --json.
// Exit status 0 when the last fetch worked, else 1.
int watchCommand(Context& ctx, bool csv, const std::function<Board()>& fetch);

// SIGWINCH during a watch: redraw it at once to the new size.
void resizeRunningWatch();
// A signal that ends the process during a watch on a terminal: give the terminal its screen back.
void leaveWatchScreen();

// Ctrl-C during a watch ends it at its next wait rather than killing the process.
// Returns true when a watch was running and is now asked to stop.
bool stopRunningWatch();

}  // namespace selvane::cli
