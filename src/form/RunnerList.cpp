#include "form/RunnerList.h"

#include "kit/MainWindow.h"
#include "form/FormText.h"

namespace selvane {

using formtext::nameBeforeBracket;

std::string barrierFromHorse(std::string_view horse) {
    const std::size_t space = horse.rfind(' ');
    const std::string_view last = space == std::string_view::npos ? horse : horse.substr(space + 1);
    if (last.size() == 3) return std::string(last.substr(1, 1));
    if (last.size() == 4) return std::string(last.substr(1, 2));
    // Not the previous runner's barrier: a runner without one ranks on barrier 0.
    return {};
}

RunnerEntry runnerEntry(const RunnerRow& row) {
    return RunnerEntry{row.number,  row.form,   std::string(nameBeforeBracket(row.horse)),
                       row.jockey, row.weight, barrierFromHorse(row.horse)};
}

std::vector<RunnerEntry> runnerEntries(const RunnerTable& table) {
    std::vector<RunnerEntry> entries;
    const int count = table.runnerCount();
    entries.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) entries.push_back(runnerEntry(table.runnerRows[i]));
    return entries;
}

void fillRunnerList(MainWindow& w, const RunnerTable& table) {
    w.lstRaces.clear();
    for (RunnerEntry& e : runnerEntries(table))
        w.lstRaces.addRow(std::move(e.number),
                          {std::move(e.form), std::move(e.name), std::move(e.jockey), std::move(e.weight),
                           std::move(e.barrier)});
}

}  // namespace selvane
