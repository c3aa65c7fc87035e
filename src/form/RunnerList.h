#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "form/RunnerTable.h"

namespace selvane {

struct MainWindow;

// One entry of the runner list lstRaces: the entry text and its five columns.
struct RunnerEntry {
    std::string number;  // "#."
    std::string form;
    std::string name;
    std::string jockey;
    std::string weight;
    std::string barrier;
};

// The barrier in a horse cell's last word: "(5)" gives "5", "(12)" gives "12"; a last word of
// any other length gives an empty barrier.
std::string barrierFromHorse(std::string_view horse);

RunnerEntry runnerEntry(const RunnerRow& row);

// The entries of runner rows 1..runnerCount().
std::vector<RunnerEntry> runnerEntries(const RunnerTable& table);

// Empties the runner list and fills it from the runner rows, one unticked entry a runner.
void fillRunnerList(MainWindow& w, const RunnerTable& table);

}  // namespace selvane
