#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <vector>

#include "odds/OddsPrices.h"

namespace selvane::cli {

// The odds window's rows: [{number, name, best, prices: [seven texts in window order]}].
nlohmann::json oddsRowsJson(const std::vector<OddsRow>& rows);

// The rows under the window's headings; a row the price page did not fill (an emergency) says so.
void printPriceTable(std::ostream& out, const std::vector<OddsRow>& rows);

}  // namespace selvane::cli
