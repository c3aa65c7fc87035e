#include "Watch.h"

#include <unistd.h>

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

void drawScreen(std::ostream& out, const Shown& s, sys_seconds now) {
    const bool stale = !s.failure.empty();
    out << "\x1b[H\x1b[2J";
    if (!s.good.heading.empty()) out << s.good.heading << "\n";
    out << (stale ? "\x1b[1;31m" : "\x1b[1m") << statusLine(s, now) << "\x1b[0m\n";
    for (const BoardRow& row : s.good.rows) {
        // Stale rows dimmed, changed ones in reverse video.
        const char* style = stale ? "\x1b[2m" : changed(s, row) ? "\x1b[7m" : "";
        out << "  " << style << row.text << (*style ? "\x1b[0m" : "") << "\n";
    }
    out << "\nCtrl-C ends the watch.\n";
    out.flush();
}

std::mutex stopMutex;
std::condition_variable stopWake;
bool watching = false;
bool stopAsked = false;

}  // namespace

bool runWatch(std::ostream& out, const WatchOptions& options, const std::function<Board()>& fetch) {
    Shown shown;
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
        for (seconds waited{0}; go && waited < options.every; waited += seconds(1)) {
            drawScreen(out, shown, options.now());
            go = out && options.sleep(seconds(1));
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
    o.sleep = [](seconds d) {
        std::unique_lock lock(stopMutex);
        return !stopWake.wait_for(lock, d, [] { return stopAsked; });
    };
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
    const WatchOptions options =
        liveWatchOptions(everyOption(ctx.args.option("--every")), &ctx.out == &std::cout && isatty(STDOUT_FILENO));
    return runWatch(ctx.out, options, fetch) ? kOk : kInputError;
}

bool stopRunningWatch() {
    std::lock_guard lock(stopMutex);
    if (!watching || stopAsked) return false;
    stopAsked = true;
    stopWake.notify_all();
    return true;
}

}  // namespace selvane::cli
