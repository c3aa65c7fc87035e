#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "record/Record.h"

namespace {

using namespace selvane;
namespace fs = std::filesystem;

constexpr int kDays = 365, kMeetingsADay = 8, kRunners = 12, kPriceFetches = 5;
// 365 days of 8 meetings of 8 or 9 races: 25,185 races.
int racesOf(int day, int meeting) { return 8 + (day + meeting) % 2; }

std::string dateOf(int day) {
    const std::chrono::sys_days d = std::chrono::sys_days(std::chrono::year{2026} / 1 / 1) + std::chrono::days(day);
    const std::chrono::year_month_day ymd(d);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                  static_cast<unsigned>(ymd.day()));
    return text;
}

std::string meetingOf(int meeting) {
    static const char* names[] = {"SCONE", "ASCOT", "BELMONT", "BENDIGO", "DOOMBEN", "EAGLE FARM", "LAUNCESTON", "MOE"};
    return names[meeting];
}

record::MeetingDay meetingDay(int day) {
    record::MeetingDay d{dateOf(day), {dateOf(day) + "T01:00:00Z", "http://127.0.0.1:18765/cgi-bin/tvf/access.pl"}, {}};
    for (int m = 0; m < kMeetingsADay; ++m) {
        record::Meeting meeting{meetingOf(m), "m" + meetingOf(m).substr(0, 3) + "oqb", "", {}};
        for (int r = 1; r <= racesOf(day, m); ++r)
            meeting.races.push_back({r, std::to_string(12 + r / 2) + ":" + (r % 2 ? "10" : "40"), "CLASS 3 HANDICAP ",
                                     "1200m"});
        d.meetings.push_back(std::move(meeting));
    }
    return d;
}

// What the race command and five odds fetches of one race hand the record, with its result.
record::Batch raceBatch(int day, int meeting, int race, int priceFetches) {
    const record::RaceKey key{dateOf(day), meetingOf(meeting), race};
    const record::Fetch page{key.date + "T02:00:00Z", "http://127.0.0.1:18765/cgi-bin/tvf/memdeliver.pl/x1.htm?tvf3"};
    record::Batch b;
    record::Field field{key, page, {}};
    for (int n = 1; n <= kRunners; ++n)
        field.runners.push_back({std::to_string(n), "3x521", "NORTHERN WARRIOR " + std::to_string(n), "B. Doyle",
                                 "57.5", std::to_string(n), false});
    b.fields.push_back(field);
    record::TipRun run{key, page.at, 1, {}, "3", "", "", {}};
    for (int k = 1; k <= 5; ++k)
        run.tips.push_back({k, std::to_string(k), "NORTHERN WARRIOR", 45 - 5 * k, 6.25 + k,
                            "form 3 5 2 1 → mean 2.75 + barrier 5 = 7.75"});
    b.tipRuns.push_back(run);
    for (int f = 0; f < priceFetches; ++f) {
        record::PriceFetch prices{key, {key.date + "T02:0" + std::to_string(f) + ":00Z",
                                        "http://127.0.0.1:18765/cgi-bin/tvf/memdispodds.pl/x1?rto"}, {}};
        for (int n = 1; n <= kRunners; ++n)
            prices.rows.push_back({std::to_string(n), "Northern Warrior", "15.60",
                                   {"15.10", "15.30", "14.90", "15.60", "5.00", "4.70", "5.10"}});
        b.prices.push_back(std::move(prices));
    }
    const record::Fetch results{key.date + "T06:00:00Z", "http://127.0.0.1:18765/tote/mtgraces.html"};
    b.results.push_back({key, results, "SC", "3,1,7", std::vector<int>{3, 1, 7}});
    return b;
}

// A season written through the store, once per run of the program, on disk (not in memory).
// SELVANE_SEASON_FOLDER keeps it there for the next run, which then only reads it.
struct Season {
    fs::path folder, file;
    bool kept = false;
    int races = 0;
    double seconds = 0;
    Season() {
        if (const char* keep = std::getenv("SELVANE_SEASON_FOLDER"); keep && *keep) {
            folder = keep;
            kept = true;
            fs::create_directories(folder);
        } else {
            std::string pattern = (fs::temp_directory_path() / "selvane-season-XXXXXX").string();
            folder = mkdtemp(pattern.data());
        }
        file = folder / "record.sqlite";
        record::Record store(file);
        if (kept && !store.races({"2026-12-31", "2026-12-31", "", 0}).empty()) {
            races = static_cast<int>(store.races({"2026-01-01", "2026-12-31", "", 0}).size());
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        for (int day = 0; day < kDays; ++day) {
            record::Batch meetings;
            meetings.meetingDays.push_back(meetingDay(day));
            store.save(meetings);
            for (int m = 0; m < kMeetingsADay; ++m)
                for (int r = 1; r <= racesOf(day, m); ++r, ++races) store.save(raceBatch(day, m, r, kPriceFetches));
        }
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    ~Season() {
        if (!kept) fs::remove_all(folder);
    }
    double megabytes() const {
        double bytes = 0;
        for (const auto& e : fs::directory_iterator(folder)) bytes += static_cast<double>(e.file_size());
        return bytes / 1e6;
    }
};

Season& season() {
    static Season s;
    return s;
}

void seasonSize(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(season().races);
    state.counters["races"] = season().races;
    state.counters["MB"] = season().megabytes();
    state.counters["writeSeconds"] = season().seconds;
}

// What the race command adds: its meeting day, the race's field, tips and the meeting's results,
// saved into the season's record.
void recordRace(benchmark::State& state) {
    record::Record store(season().file);
    record::Batch batch = raceBatch(100, 0, 1, 0);
    batch.meetingDays.push_back(meetingDay(100));
    for (int r = 2; r <= 9; ++r) batch.results.push_back({{dateOf(100), meetingOf(0), r}, {"t", "a"}, "SC", "2:10PM", {}});
    for (auto _ : state)
        if (!store.save(batch).ok) state.SkipWithError("not recorded");
}

void historyOfSeason(benchmark::State& state) {
    const bool json = state.range(0) == 1;
    std::vector<std::string> words = {"selvane-cli", "history", "--from", "01/01/2026", "--to", "31/12/2026",
                                      "--record", season().file.string()};
    if (json) words.push_back("--json");
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    std::size_t lines = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        if (cli::runCli(static_cast<int>(argv.size()), argv.data(), out, err) != 0) state.SkipWithError(err.str().c_str());
        const std::string text = out.str();
        lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    }
    state.counters["lines"] = static_cast<double>(lines);
}

// The store's part of history: the season's races read back, without printing them.
void queryOfSeason(benchmark::State& state) {
    record::Record store(season().file);
    for (auto _ : state) benchmark::DoNotOptimize(store.races({"2026-01-01", "2026-12-31", "", 0}).size());
}

BENCHMARK(seasonSize)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(recordRace)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(queryOfSeason)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(historyOfSeason)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
