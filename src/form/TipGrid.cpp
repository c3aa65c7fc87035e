#include "form/TipGrid.h"

#include "kit/MainWindow.h"

namespace selvane {

std::string ordinalSuffix(std::int16_t n) {
    const int byHundred = n % 100;
    if (byHundred >= 11 && byHundred <= 19) return "th";
    switch (n % 10) {
        case 1: return "st";
        case 2: return "nd";
        case 3: return "rd";
        default: return "th";
    }
}

std::string labelNumber(long n) { return (n < 0 ? "" : " ") + std::to_string(n); }

void msfClear(MainWindow& w) {
    Grid& g = w.msfResults;
    g.setCols(4);
    const char* titles[] = {" Tip", " Horse Name", " Win", " Barrier"};
    const int widths[] = {500, 2800, 800, 0};
    for (int c = 0; c < 4; ++c) {
        g.setCell(0, c, titles[c]);
        g.setColWidth(c, widths[c]);
    }
    for (std::int16_t r = 1; r <= 6; ++r) {
        g.setRowCount(r);
        g.addItem(labelNumber(r) + ordinalSuffix(r));
    }
}

}  // namespace selvane
