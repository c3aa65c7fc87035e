#include "OddsOutput.h"

#include "Cli.h"
#include "odds/OddsWindow.h"

namespace selvane::cli {

nlohmann::json oddsRowsJson(const std::vector<OddsRow>& rows) {
    nlohmann::json out = nlohmann::json::array();
    for (const OddsRow& r : rows) {
        nlohmann::json prices = nlohmann::json::array();
        for (const std::string& p : r.prices) prices.push_back(jsonText(p));
        out.push_back({{"number", jsonText(r.number)},
                       {"name", jsonText(r.name)},
                       {"best", jsonText(r.best)},
                       {"prices", prices}});
    }
    return out;
}

void printPriceTable(std::ostream& out, const std::vector<OddsRow>& rows) {
    const std::vector<ReportColumn> columns = oddsColumns();
    out << leftAligned(columns[0].title, 4) << leftAligned(columns[1].title, 24);
    for (std::size_t c = 2; c < columns.size(); ++c) out << rightAligned(columns[c].title, 10);
    out << "\n";
    for (const OddsRow& r : rows) {
        if (r.number.empty() && r.name.empty() && r.best.empty()) {
            out << "    (not on the price page)\n";
            continue;
        }
        out << leftAligned(r.number, 4) << leftAligned(r.name, 24) << rightAligned(r.best, 10);
        for (const std::string& p : r.prices) out << rightAligned(p, 10);
        out << "\n";
    }
}

}  // namespace selvane::cli
