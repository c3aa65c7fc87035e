#include "form/RunnerTable.h"

#include <algorithm>

namespace selvane {

std::string* RunnerRow::field(int column) {
    switch (column) {
        case 1: return &number;
        case 2: return &form;
        case 3: return &horse;
        case 4: return &jockey;
        case 5: return &weight;
        case 6: return &api;
        case 7: return &win;
        case 8: return &place;
        case 9: return &stakes;
        default: return nullptr;
    }
}

const std::string* RunnerRow::field(int column) const { return const_cast<RunnerRow*>(this)->field(column); }

int RunnerTable::runnerCount() const { return std::clamp(runnerRowCount - 1, 0, kLastSlot); }

void RunnerTable::clearRows(int count) {
    for (int i = 1; i <= std::min(count, kLastSlot); ++i) runnerRows[i] = RunnerRow{};
}

}  // namespace selvane
