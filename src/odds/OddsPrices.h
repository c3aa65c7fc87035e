#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "odds/OddsPage.h"

namespace selvane {

// The odds table's price cells (1-based) in the order of the window's price columns: AUS TOTE,
// STAB Win, NSW Win, QLD Win, STAB PLC, NSW PLC, QLD PLC. Cell 9 is read but never shown.
inline constexpr std::array<int, 7> kPriceCells = {5, 6, 7, 8, 10, 11, 12};

// One row of the odds window.
struct OddsRow {
    std::string number;                 // cell 1 as stored
    std::string name;                   // cell 2 in proper case
    std::string best;                   // the best price: a price text, "scr", "-100.0" or empty
    std::array<std::string, 7> prices;  // the price cells as stored, in window order
};

// One price cell as a number text: lower case, every "n/a" as "-100.0", or else every "scr" as
// "-10.0" (N/A and SCR alike).
std::string replaceOddsString2Num(std::string_view sData);

// The largest of the seven price cells, as its number text; "-10.0" in it reads "scr" again.
// A cell that is not a number after the rewrite (an empty cell) never wins; with no number at
// all the best price is empty.
std::string bestOdds(const OddsCells& cells);

// First letter of every word upper case, the rest lower case; words end at blanks. Letters are
// those of Latin-1 (É and é too), in UTF-8 where the text is valid UTF-8, else one byte each.
std::string properCase(std::string_view text);

// The window rows of the odds table, in row order.
std::vector<OddsRow> oddsRows(const OddsTable& table);

}  // namespace selvane
