#include "form/RunnerFile.h"

#include "kit/MainWindow.h"
#include "form/RunnerTable.h"

namespace selvane {

RunnerFileTooLong::RunnerFileTooLong()
    : std::runtime_error("more than " + std::to_string(RunnerTable::kLastSlot) + " runners (the runner list holds " +
                         std::to_string(RunnerTable::kLastSlot) + ")") {}

std::vector<TipInput> parseRunnerFile(std::string_view text) {
    std::vector<TipInput> field;
    while (!text.empty()) {
        // The runner list is filled from the race page's runner rows, of which there are at most a
        // hundred; the tipping's 16-bit counts assume no more.
        if (field.size() == static_cast<std::size_t>(RunnerTable::kLastSlot)) throw RunnerFileTooLong();
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        std::string_view cells[5];
        for (int c = 0; c < 5 && !line.empty(); ++c) {
            const std::size_t tab = line.find('\t');
            cells[c] = line.substr(0, tab);
            line = tab == std::string_view::npos ? std::string_view{} : line.substr(tab + 1);
        }
        field.push_back(TipInput{std::string(cells[0]), std::string(cells[1]), std::string(cells[2]),
                                 std::string(cells[3]), cells[4] == "1"});
    }
    return field;
}

void setRunnerList(MainWindow& w, const std::vector<TipInput>& field) {
    w.lstRaces.clear();
    for (const TipInput& r : field) {
        const int row = w.lstRaces.addRow(r.number, {r.form, r.name, "", "", r.barrier});
        if (r.ticked) w.lstRaces.setChecked(row, true);
    }
}

}  // namespace selvane
