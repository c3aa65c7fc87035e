#include "Watch.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string_view>

#include <condition_variable>
#include <ctime>
#include <iostream>
#include <map>
#include <mutex>

#include "Cli.h"

namespace selvane::cli {
namespace {

using std::chrono::seconds;
using std::chrono::sys_seconds;

std::string clockText(sys_seconds t) {
    const long long s = t.time_since_epoch().count() % 86400;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    return buffer;
}

std::string ageText(seconds age) {
    const long long s = age.count();
    if (s < 60) return std::to_string(s) + "s";
    return std::to_string(s / 60) + "m " + std::to_string(s % 60) + "s";
}

struct Shown {
    std::optional<sys_seconds> lastGood;
    Board good;                              // the last good fetch
    std::map<std::string, std::string> was;  // the good fetch before it, by key
    std::string failure;                     // the last fetch's error, empty after a good one
    sys_seconds failedAt{};
};

bool changed(const Shown& s, const BoardRow& row) {
    if (s.was.empty()) return false;
    const auto it = s.was.find(row.key);
    return it == s.was.end() || it->second != row.text;
}

// The status line: when the data was fetched and how old it is, or since when it is stale.
std::string statusLine(const Shown& s, sys_seconds now) {
    if (!s.lastGood) return "no data: the fetch at " + clockText(s.failedAt) + " failed: " + s.failure;
    const std::string age = "data age " + ageText(now - *s.lastGood);
    if (!s.failure.empty())
        return "stale since " + clockText(*s.lastGood) + " (" + age + "): the fetch at " + clockText(s.failedAt) +
               " failed: " + s.failure;
    return "fetched " + clockText(*s.lastGood) + ", " + age;
}

void drawPlain(std::ostream& out, const Shown& s, sys_seconds now) {
    if (!s.good.heading.empty() && s.failure.empty()) out << s.good.heading << "\n";
    out << statusLine(s, now) << "\n";
    // A failed fetch repeats no rows: they would read as this fetch's.
    if (s.failure.empty())
        for (const BoardRow& row : s.good.rows) out << (changed(s, row) ? "* " : "  ") << row.text << "\n";
    out << "\n";
    out.flush();
}

// The first `width` characters of a UTF-8 line.
std::string cut(const std::string& line, int width) {
    std::size_t at = 0;
    for (int n = 0; at < line.size(); ++at)
        if ((static_cast<unsigned char>(line[at]) & 0xC0) != 0x80 && n++ == width) break;
    return line.substr(0, at);
}

// The board redrawn in place: from the top left, each line cleared to its end, what a longer
// frame left below cleared, and no line break after the last (it would scroll a full screen).
// The heading and the status line are always shown; rows that do not fit are counted instead.
void drawScreen(std::ostream& out, const Shown& s, sys_seconds now, ScreenSize size, bool colour) {
    const bool stale = !s.failure.empty();
    struct Line {
        std::string text;
        const char* style;
    };
    std::vector<Line> lines;
    for (std::size_t at = 0; !s.good.heading.empty() && at <= s.good.heading.size();) {
        const std::size_t end = std::min(s.good.heading.find('\n', at), s.good.heading.size());
        lines.push_back({s.good.heading.substr(at, end - at), ""});
        at = end + 1;
    }
    lines.push_back({statusLine(s, now), stale ? (colour ? "\x1b[1;31m" : "\x1b[1m") : "\x1b[1m"});
    const int rows = std::max(size.rows, 1), room = rows - static_cast<int>(lines.size()) - 2;
    const int shown = static_cast<int>(s.good.rows.size()) <= room ? static_cast<int>(s.good.rows.size())
                                                                   : std::max(room - 1, 0);
    for (int i = 0; i < shown; ++i) {
        const BoardRow& row = s.good.rows[static_cast<std::size_t>(i)];
        // Stale rows dimmed, changed ones in reverse video.
        lines.push_back({"  " + row.text, stale ? "\x1b[2m" : changed(s, row) ? "\x1b[7m" : ""});
    }
    if (const std::size_t left = s.good.rows.size() - static_cast<std::size_t>(shown); left > 0 && room > 0)
        lines.push_back({"  ... " + std::to_string(left) + " more rows: a taller terminal shows them", "\x1b[2m"});
    if (room >= 0) {
        lines.push_back({"", ""});
        lines.push_back({"Ctrl-C ends the watch.", ""});
    }
    if (static_cast<int>(lines.size()) > rows) lines.resize(static_cast<std::size_t>(rows));
    out << "\x1b[H";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        out << line.style << cut(line.text, std::max(size.columns, 1)) << (*line.style ? "\x1b[0m" : "") << "\x1b[K"
            << (i + 1 < lines.size() ? "\r\n" : "");
    }
    out << "\x1b[J";
    out.flush();
}

std::atomic<bool> onAltScreen{false};
std::atomic<bool> resizeAsked{false};

std::mutex stopMutex;
std::condition_variable stopWake;
bool watching = false;
bool stopAsked = false;

}  // namespace

bool runWatch(std::ostream& out, const WatchOptions& options, const std::function<Board()>& fetch) {
    Shown shown;
    // The alternate screen, as full-screen programs use: the shell's screen comes back at the end.
    struct Screen {
        std::ostream& out;
        bool on;
        Screen(std::ostream& o, bool terminal) : out(o), on(terminal) {
            if (on) out << "\x1b[?1049h\x1b[?25l" << std::flush;
            if (on && &out == &std::cout) onAltScreen = true;
        }
        ~Screen() {
            if (!on) return;
            onAltScreen = false;
            out << "\x1b[?25h\x1b[?1049l" << std::flush;
        }
    } screen(out, options.terminal);
    for (int round = 0; options.rounds == 0 || round < options.rounds; ++round) {
        Board board = fetch();
        const sys_seconds at = options.now();
        if (board.ok) {
            shown.was.clear();
            if (shown.lastGood)
                for (const BoardRow& row : shown.good.rows) shown.was[row.key] = row.text;
            shown.good = std::move(board);
            shown.lastGood = at;
            shown.failure.clear();
        } else {
            shown.failure = board.error.empty() ? "the fetch failed" : board.error;
            shown.failedAt = at;
        }
        if (!options.terminal) drawPlain(out, shown, at);
        if (!out || (options.rounds != 0 && round + 1 == options.rounds)) break;
        if (!options.terminal) {
            if (!options.sleep(options.every)) break;
            continue;
        }
        // The age ticks on the screen while it waits.
        bool go = true;
        for (seconds waited{0}; go && waited < options.every;) {
            drawScreen(out, shown, options.now(), options.size(), options.colour);
            go = out && options.sleep(seconds(1));
            if (!options.resized()) waited += seconds(1);
        }
        if (!go) break;
    }
    return shown.failure.empty();
}

std::chrono::seconds everyOption(const std::optional<std::string>& value) {
    if (!value) return seconds(30);
    const std::optional<int> n = digitsNumber(*value, 4);
    if (!n || *n < 5 || *n > 3600) throw UsageError("--every takes whole seconds, 5 to 3600");
    return seconds(*n);
}

WatchOptions liveWatchOptions(std::chrono::seconds every, bool terminal) {
    {
        std::lock_guard lock(stopMutex);
        watching = true;
        stopAsked = false;
    }
    WatchOptions o;
    o.every = every;
    o.terminal = terminal;
    o.now = [] {
        const std::time_t t = std::time(nullptr);
        std::tm local{};
        localtime_r(&t, &local);
        return sys_seconds(seconds(t + local.tm_gmtoff));
    };
    // Plain blocks have nothing to fit: a resize does not wake them.
    o.sleep = [terminal](seconds d) {
        std::unique_lock lock(stopMutex);
        return !stopWake.wait_for(lock, d, [terminal] { return stopAsked || (terminal && resizeAsked); }) || !stopAsked;
    };
    o.resized = [] { return resizeAsked.exchange(false); };
    o.size = [] {
        winsize ws{};
        if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) != 0 || ws.ws_row == 0 || ws.ws_col == 0) return ScreenSize{};
        return ScreenSize{ws.ws_row, ws.ws_col};
    };
    const char* noColour = std::getenv("NO_COLOR");
    o.colour = !(noColour && *noColour);
    return o;
}

Board fetchBoard(Context& ctx, const std::function<void(Board&)>& fill) {
    Board board;
    try {
        fill(board);
        board.ok = true;
    } catch (const std::exception& e) {
        board = Board{};
        board.error = terminalLine(e.what());
    }
    ctx.ports.messages.shown.clear();
    return board;
}

bool watchWanted(const Context& ctx) {
    if (ctx.args.flag("--watch")) return true;
    if (ctx.args.option("--every")) throw UsageError("--every goes with --watch");
    return false;
}

int watchCommand(Context& ctx, bool csv, const std::function<Board()>& fetch) {
    if (csv || ctx.json) throw UsageError("--watch draws a board: it takes neither --csv nor --json");
    // A dumb terminal cannot move the cursor: it gets the plain blocks.
    const char* term = std::getenv("TERM");
    const bool screen = &ctx.out == &std::cout && isatty(STDOUT_FILENO) && !(term && std::string_view(term) == "dumb");
    const WatchOptions options = liveWatchOptions(everyOption(ctx.args.option("--every")), screen);
    return runWatch(ctx.out, options, fetch) ? kOk : kInputError;
}

void resizeRunningWatch() {
    std::lock_guard lock(stopMutex);
    resizeAsked = true;
    stopWake.notify_all();
}

void leaveWatchScreen() {
    static const char kLeave[] = "\x1b[?25h\x1b[?1049l";
    if (onAltScreen.exchange(false)) [[maybe_unused]] const auto n = ::write(STDOUT_FILENO, kLeave, sizeof kLeave - 1);
}

bool stopRunningWatch() {
    std::lock_guard lock(stopMutex);
    if (!watching || stopAsked) return false;
    stopAsked = true;
    stopWake.notify_all();
    return true;
}

}  // namespace selvane::cli
