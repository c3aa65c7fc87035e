#pragma once

#include "form/Tipping.h"
#include "kit/Controls.h"

namespace selvane::test {

using Rows = std::vector<std::vector<std::string>>;

// Each list row as its text and sub-items.
inline Rows rowsOf(const ReportList& list) {
    Rows out;
    for (const ReportRow& r : list.rows()) out.push_back(r.subItems), out.back().insert(out.back().begin(), r.text);
    return out;
}

// Grid rows from `from` on: four cells, then their colours (B the best bet's, . the default).
inline Rows gridOf(const Grid& g, int from = 1) {
    Rows out;
    for (int r = from; r < g.rowCount(); ++r) {
        out.push_back({g.cell(r, 0), g.cell(r, 1), g.cell(r, 2), g.cell(r, 3), ""});
        for (int c = 0; c < 4; ++c) {
            const Colour colour = g.cellBackColour(r, c);
            out.back()[4] += colour == kBestBetColour ? 'B' : colour == kDefaultColour ? '.' : '?';
        }
    }
    return out;
}

}  // namespace selvane::test
