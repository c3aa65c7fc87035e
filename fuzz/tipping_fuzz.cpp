#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "kit/MainWindow.h"
#include "form/TipGrid.h"
#include "form/RunnerFile.h"
#include "form/TipWarning.h"
#include "form/Tipping.h"

// The bytes are a runner file: tab-separated number, form, name, barrier, ticked, a line each.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<selvane::TipInput> field;
    try {
        field = selvane::parseRunnerFile(text);
    } catch (const selvane::RunnerFileTooLong&) {
        return 0;  // more runners than the list holds: refused before any tipping
    }
    const selvane::TipOutcome o = selvane::computeTips(field);
    if (o.stop == selvane::TipStop::None) {
        if (o.tips.size() != 5 || o.grid.size() != 5) __builtin_trap();
        std::vector<int> order = o.tipOrder;
        std::sort(order.begin(), order.end());
        for (std::size_t i = 0; i < order.size(); ++i)
            if (order[i] != static_cast<int>(i) + 1) __builtin_trap();
    }

    selvane::MainWindow w;
    selvane::msfClear(w);
    selvane::setRunnerList(w, field);
    const selvane::TipRun run = selvane::workoutPlaces(w);
    if (run.stop != o.stop) __builtin_trap();
    selvane::reportTipOutcome(w);
    if (w.lstTips.count() != 5 || w.msfResults.rowCount() != 6) __builtin_trap();
    return 0;
}
