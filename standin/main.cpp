// selvane-standin: the form-guide service, the tote results site and the maker's site on loopback.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "selvane/Config.h"
#include "standin/Server.h"

namespace {

constexpr const char* kUsage =
    "usage: selvane-standin [--version] [--port N] [--host ADDR] [--now 2026-12-06T14:00] [--seed N] [--root DIR]\n"
    "                       [--fault none|slow|stall|truncate|oversize|404|500|not-utf8] [--fault-path PREFIX]\n"
    "                       [--slow-ms N] [--oversize-bytes N] [--quiet] [--dump DIR]\n"
    "Serves the form guide at /cgi-bin/tvf/, the tote results site at /tote/ and the maker's site at /maker/.\n"
    "Without --now the race day follows the system clock. Stops on SIGINT or SIGTERM.\n"
    "--dump DIR writes the pages of the clock's day into DIR (the layout --root reads) and exits.\n"
    "\n"
    "The race model. Every runner has a chance weight exp(1.5 form - 0.4 (barrier - 1) / 10 + 2 ability):\n"
    "form scores the form line (the latest run weighs most), barrier favours the inside, ability is a\n"
    "hidden draw the form does not show. The result is drawn one place at a time in proportion to the\n"
    "weights still in the race, so the favourite wins about a third of its races. The tote pays\n"
    "(1 - take) / chance on every pool, rounded down to 10 cents and at least $1.04: win and place\n"
    "with a take of 15 %, quinella, exacta, trifecta and first four 20 %; places are paid to two\n"
    "runners with 5 to 7 starters, three with 8 or more, none with fewer. Prices wander before the\n"
    "jump and meet the win dividend at it. Past days carry official results with every dividend.\n"
    "The same date and seed give the same day, so the same seed gives the same season.\n";

[[noreturn]] void usageError(const std::string& message) {
    std::fprintf(stderr, "selvane-standin: %s\n%s", message.c_str(), kUsage);
    std::exit(2);
}

long number(std::string_view option, const char* text, long lo, long hi) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < lo || v > hi) usageError(std::string(option) + ": not a number in range: " + text);
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    using selvane::standin::Options;
    Options options;
    options.log = true;
    const char* dumpFolder = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) usageError(std::string(arg) + " needs a value");
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::printf("selvane-standin %s\n", selvane::config::kVersion);
            return 0;
        } else if (arg == "--port") {
            options.port = static_cast<int>(number(arg, value(), 0, 65535));
        } else if (arg == "--host") {
            options.host = value();
        } else if (arg == "--now") {
            const char* v = value();
            if (!selvane::standin::parseLocalTime(v)) usageError(std::string("--now: not a local time: ") + v);
            options.now = v;
        } else if (arg == "--seed") {
            options.seed = static_cast<std::uint32_t>(number(arg, value(), 0, 4294967295L));
        } else if (arg == "--root") {
            options.root = value();
        } else if (arg == "--fault") {
            const char* v = value();
            const auto f = selvane::standin::parseFault(v);
            if (!f) usageError(std::string("--fault: unknown fault: ") + v);
            options.fault = *f;
        } else if (arg == "--fault-path") {
            options.faultPath = value();
        } else if (arg == "--slow-ms") {
            options.slowMs = static_cast<int>(number(arg, value(), 0, 3'600'000));
        } else if (arg == "--oversize-bytes") {
            options.oversizeBytes = static_cast<std::size_t>(number(arg, value(), 0, 1L << 34));
        } else if (arg == "--dump") {
            dumpFolder = value();
        } else if (arg == "--quiet") {
            options.log = false;
        } else {
            usageError("unknown argument: " + std::string(arg));
        }
    }

    if (dumpFolder) {
        try {
            if (options.port == 0) options.port = 18765;  // the addresses inside the pages
            const selvane::standin::Server server(options);
            const std::size_t n = server.dumpDay(server.now().date, dumpFolder);
            std::fprintf(stderr, "selvane-standin: %zu pages written to %s\n", n, dumpFolder);
            return 0;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "selvane-standin: %s\n", e.what());
            return 1;
        }
    }

    // The signals are taken by sigwait below, so they are blocked before any thread starts.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    try {
        selvane::standin::Server server(options);
        const int port = server.start();
        std::fprintf(stderr, "selvane-standin: form guide %s/cgi-bin/tvf/access.pl, results %s, maker %s (clock %s)\n",
                     server.formGuideUrl().c_str(), server.resultsSiteRoot().c_str(), server.makerSiteUrl().c_str(),
                     options.now ? options.now->c_str() : "system");
        std::fprintf(stdout, "%d\n", port);
        std::fflush(stdout);
        int received = 0;
        sigwait(&signals, &received);
        server.stop();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "selvane-standin: %s\n", e.what());
        return 1;
    }
    return 0;
}
