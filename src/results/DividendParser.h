#pragma once

#include <string_view>

#include "results/RaceDividends.h"

namespace selvane {

// Reads a race result page (as served, or as the HTML engine stored it) row by row. A row is
// known by its first cell, letter case ignored:
//   "Race 2" …  the last cell is the state: OFFICIAL, INTERIM, CLOSED, ABANDONED;
//   "1st", "2nd", "=3rd" …  place, runner number, …, win dividend, place dividend (the last two);
//   "Quinella", "Exacta", "Trifecta", "First Four"  name, runners ("1-3", "1/3/6"), …, amount;
//   "Scratchings"  "Nil" or numbers separated by commas.
// Other rows are passed over. A row that is known but unreadable adds an issue and nothing else;
// so does a page that ends inside a row or before its </body> or </html>, as it may have lost rows.
// Amounts are dollars per $1 unit, "$1,234.50", "13.40", "$4.6" or "$7", at most $10,000,000;
// a blank cell ("&nbsp;") declares nothing.
RaceDividends parseDividends(std::string_view page);

}  // namespace selvane
