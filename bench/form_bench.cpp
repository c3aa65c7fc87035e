#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "kit/MainWindow.h"
#include "form/TipGrid.h"
#include "form/RaceFieldParser.h"
#include "form/RunnerFile.h"
#include "form/Tipping.h"

namespace {

using namespace selvane;

std::string runnerRow(int i) {
    const std::string n = std::to_string(i);
    return "<tr><td>" + n + (i % 9 == 0 ? "e" : "") + "</td><td>" + std::to_string(3121 + i * 7 % 900) +
           "</td><td><a href=\"/horse/" + n + "\">HORSE NUMBER " + n + "</a> (" + std::to_string(i % 16 + 1) +
           ")</td><td>J Rider " + n + "</td><td>56.5</td><td>1.2</td><td>3</td><td>5</td><td>$12,000</td></tr>\r\n";
}

// A race page as the engine leaves it: page chrome (links, paragraphs) up to the requested size
// before the first rule, then the race details, the runners table and the second rule.
std::string racePage(std::size_t bytes, int runners) {
    std::string page = "<html>\r\n<head><title>Race 3</title></head>\r\n<body>\r\n";
    for (int i = 0; page.size() < bytes; ++i)
        page += "<p class=\"nav\"><a href=\"/meeting/" + std::to_string(i) + "\">Meeting " + std::to_string(i) +
                "</a> &nbsp; <strong>results</strong> and form</p>\r\n";
    page += "<hr>\r\n<table border=\"0\">\r\n<tr><td>RANDWICK</td><td>Race 3</td><td>1200m</td></tr>\r\n</table>\r\n"
            "<table border=\"1\">\r\n<tr><td><b>No.</b></td><td><b>Form</b></td><td><b>Horse Name (Barrier)</b></td>"
            "<td><b>Jockey</b></td><td><b>Wgt.</b></td><td><b>API</b></td><td><b>Win</b></td><td><b>Pl.</b></td>"
            "<td><b>Stakes</b></td></tr>\r\n";
    for (int i = 1; i <= runners; ++i) page += runnerRow(i);
    page += "</table>\r\n<hr>\r\n</body>\r\n</html>";
    return page;
}

void parsePage(benchmark::State& state, std::size_t bytes) {
    const std::string page = racePage(bytes, 20);
    RunnerTable table;
    for (auto _ : state) {
        std::string copy = page;  // the parse normalises its text in place
        parseRaceField(table, copy);
        benchmark::DoNotOptimize(table.runnerRowCount);
    }
    if (table.runnerCount() != 20) state.SkipWithError("runners table not read");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(page.size()));
}

void BM_ParseField50K(benchmark::State& state) { parsePage(state, 50 * 1024); }
void BM_ParseField5M(benchmark::State& state) { parsePage(state, 5 * 1024 * 1024); }

std::vector<TipInput> hundredRunners() {
    std::string text;
    for (int i = 1; i <= 100; ++i)
        text += std::to_string(i) + (i % 17 == 0 ? "e" : "") + "\t" + (i % 11 == 0 ? "" : std::to_string(10000 + i * 37 % 89999).substr(0, 5)) +
                "\tHORSE " + std::to_string(i) + "\t" + std::to_string(i % 16 + 1) + "\t" + (i % 23 == 0 ? "1" : "0") + "\n";
    return parseRunnerFile(text);
}

void BM_ComputeTips100(benchmark::State& state) {
    const std::vector<TipInput> field = hundredRunners();
    for (auto _ : state) benchmark::DoNotOptimize(computeTips(field));
}

void BM_WorkoutPlaces100(benchmark::State& state) {
    MainWindow w;
    msfClear(w);
    setRunnerList(w, hundredRunners());
    for (auto _ : state) benchmark::DoNotOptimize(workoutPlaces(w));
    if (w.lstTips.count() != 5) state.SkipWithError("no tips");
}

}  // namespace

BENCHMARK(BM_ParseField50K)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseField5M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeTips100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WorkoutPlaces100)->Unit(benchmark::kMicrosecond);
