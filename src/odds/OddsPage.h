#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace selvane {

class PageWriter;

inline constexpr const char* kOddsPageName = "realodds.html";
inline constexpr int kOddsCells = 12;

// One runner row of the odds table: cell k of the price row (1-based) at index k - 1.
using OddsCells = std::array<std::string, kOddsCells>;

// Rows 1..runnerCount at index row - 1; cells the page did not fill are empty.
using OddsTable = std::vector<OddsCells>;

// How the walk over the price page ended.
enum class OddsPageEnd {
    RunnerRows,   // runnerCount rows after the heading: "</table>" and the foot
    Percentages,  // the percentages row: "&nbsp;" and the tail
    EndOfPage,    // the page ran out (or a "<" had no ">") while realodds.html was open: the foot
    NoPage,       // no "</TABLE>" before the page ran out or a line was due: nothing written
};

// Cuts the runners' price table out of a price page (as rto.html holds it) into realodds.html
// in writer's folder. A later "</TABLE>" starts the page again from its head. The writer's
// open and write failures are thrown, as the page writer throws them.
OddsPageEnd writeOddsPage(std::string_view page, int runnerCount, PageWriter& writer);

// Reads realodds.html's texts twelve to a row, from the row after the "QLD PLC" heading on,
// into rows 1..runnerCount; a text of blanks only is an empty cell, "&nbsp;" is nothing.
OddsTable readOddsPage(std::string_view page, int runnerCount);

}  // namespace selvane
