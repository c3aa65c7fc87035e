#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "Watch.h"
#include "odds/OddsPrices.h"

namespace selvane::cli {

// The odds window's rows: [{number, name, best, prices: [seven texts in window order]}].
nlohmann::json oddsRowsJson(const std::vector<OddsRow>& rows);

// The price rows as data, runner by runner of the race's field (fieldNumbers, fieldNames: the
// runner list's texts, for rows the price page did not fill): [{number, name, onPricePage, best,
// scratched, prices: {ausTote, stabWin, nswWin, qldWin, stabPlace, nswPlace, qldPlace}}], each
// price a number or null.
nlohmann::json oddsDataJson(const std::vector<OddsRow>& rows, const std::vector<std::string>& fieldNumbers,
                            const std::vector<std::string>& fieldNames);

// The window's column headings as one table line.
std::string priceHeader();

// The rows under the window's headings; a row the price page did not fill (an emergency) says so.
void printPriceTable(std::ostream& out, const std::vector<OddsRow>& rows);

// One record per runner on the price page: number, name, best, the seven prices; header first.
// A row the price page did not fill (an emergency) has nothing to put in a record.
void writeOddsCsv(std::ostream& out, const std::vector<OddsRow>& rows);

// How a best price moved between two fetches: "▼" shortened, "▲" drifted, "" same or not
// comparable (no price, "scr", a runner new to the page).
std::string priceMove(const std::string& before, const std::string& now);

// The price table as watch rows keyed by runner number: each row's best price compared with the
// runner's in `previous` (the last good fetch; empty on the first) and scratched runners marked.
std::vector<BoardRow> oddsBoardRows(const std::vector<OddsRow>& previous, const std::vector<OddsRow>& rows);

struct Context;
// One fetch of the odds command as a watch board; `previous` holds the last good fetch's rows
// and is replaced by this one's when it succeeds. A failed fetch is a board that is not ok.
Board oddsBoard(Context& ctx, std::vector<OddsRow>& previous);

}  // namespace selvane::cli
