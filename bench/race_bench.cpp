#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "standin/DayGenerator.h"
#include "standin/Server.h"

namespace {

using namespace selvane;

// The stand-in on loopback with a fixed clock, shared by both runs.
standin::Server& server() {
    static standin::Server* s = [] {
        standin::Options o;
        o.now = "2026-12-06T14:00";
        auto* started = new standin::Server(o);
        started->start();
        return started;
    }();
    return *s;
}

std::string firstTrack() {
    const standin::RaceDay day = standin::generateRaceDay(2026, 12, 6, 1);
    return day.meetings[0].name.substr(0, day.meetings[0].name.find(' '));
}

// A desktop session has a memory-backed runtime folder; this machine's session may not, and
// work files on its disk cost more than the whole command.
void ensureRuntimeFolder() {
    if (const char* set = std::getenv("XDG_RUNTIME_DIR"); set && *set) return;
    if (!std::filesystem::is_directory("/dev/shm")) return;
    static const std::filesystem::path folder = [] {
        std::filesystem::path f = std::filesystem::path("/dev/shm") / ("selvane-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(f);
        std::atexit([] { std::filesystem::remove_all(folder); });
        return f;
    }();
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

// selvane-cli race TRACK 1 as the shell runs it, minus the process start; with range 1 it also
// records what it fetched into a record on disk.
void cliRace(benchmark::State& state) {
    ensureRuntimeFolder();
    const std::string track = firstTrack();
    std::vector<std::string> words = {"selvane-cli", "race", track, "1", "--date", "06/12/2026", "--form-guide",
                                      server().formGuideUrl(), "--results-site", server().resultsSiteRoot()};
    const std::filesystem::path record =
        std::filesystem::temp_directory_path() / ("selvane-bench-record-" + std::to_string(getpid()) + ".sqlite");
    if (state.range(0) == 1) {
        words.insert(words.end(), {"--record", record.string()});
    } else {
        words.push_back("--no-record");
    }
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    for (auto _ : state) {
        std::ostringstream out, err;
        const int code = cli::runCli(static_cast<int>(argv.size()), argv.data(), out, err);
        if (code != 0) state.SkipWithError(err.str().c_str());
        benchmark::DoNotOptimize(out.str().size());
    }
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(record.string() + suffix);
}

std::size_t sink(char* data, std::size_t size, std::size_t n, void* body) {
    static_cast<std::string*>(body)->append(data, size * n);
    return size * n;
}

std::string bareFetch(const std::string& url) {
    std::string body;
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, sink);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    return body;
}

std::size_t bareEngine(const std::string& page) {
    htmlDocPtr doc = htmlReadMemory(page.data(), static_cast<int>(page.size()), "page.html", nullptr,
                                   HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    xmlBufferPtr buffer = xmlBufferCreate();
    xmlOutputBufferPtr out = xmlOutputBufferCreateBuffer(buffer, nullptr);
    htmlNodeDumpFormatOutput(out, doc, xmlDocGetRootElement(doc), "UTF-8", 0);
    xmlOutputBufferClose(out);
    const std::size_t size = static_cast<std::size_t>(xmlBufferLength(buffer));
    xmlBufferFree(buffer);
    xmlFreeDoc(doc);
    return size;
}

// The unavoidable part of the same command: its five fetches, three of them through the engine.
void bareWork(benchmark::State& state) {
    const standin::RaceDay day = standin::generateRaceDay(2026, 12, 6, 1);
    const std::string guide = server().formGuideUrl() + "/cgi-bin/tvf/";
    const std::string results = server().resultsSiteRoot() + "2026/12/06/mtgraces.html";
    const std::string racePage = guide + "memdeliver.pl/" + day.meetings[0].formCode + "1.htm?tvf3";
    for (auto _ : state) {
        std::size_t bytes = bareFetch(guide + "access.pl?20261206").size();
        bytes += bareEngine(bareFetch(guide + "access.pl"));
        bytes += bareEngine(bareFetch(racePage));
        bytes += bareFetch(results).size();
        bytes += bareEngine(bareFetch(results));
        benchmark::DoNotOptimize(bytes);
    }
}

BENCHMARK(cliRace)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(bareWork)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
