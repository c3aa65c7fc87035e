#include "OddsOutput.h"

#include <cstdlib>
#include <map>
#include <optional>

#include "Cli.h"
#include "Csv.h"
#include "PunterJson.h"
#include "net/PageText.h"
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

namespace {

bool onPricePage(const OddsRow& r) {
    return !(r.number.empty() && r.name.empty() && r.best.empty());
}

}  // namespace

nlohmann::json oddsDataJson(const std::vector<OddsRow>& rows, const std::vector<std::string>& fieldNumbers,
                            const std::vector<std::string>& fieldNames) {
    static const char* const kTotes[] = {"ausTote", "stabWin", "nswWin", "qldWin", "stabPlace", "nswPlace", "qldPlace"};
    nlohmann::json out = nlohmann::json::array();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const OddsRow& r = rows[i];
        if (!onPricePage(r)) {
            out.push_back({{"number", leadingWhole(i < fieldNumbers.size() ? fieldNumbers[i] : "")},
                           {"name", trimmedText(i < fieldNames.size() ? fieldNames[i] : "")},
                           {"onPricePage", false},
                           {"best", nullptr},
                           {"scratched", false},
                           {"prices", nullptr}});
            continue;
        }
        nlohmann::json prices = nlohmann::json::object();
        for (std::size_t p = 0; p < std::size(kTotes); ++p)
            prices[kTotes[p]] = p < r.prices.size() ? decimalOrNull(r.prices[p]) : nullptr;
        out.push_back({{"number", leadingWhole(r.number)},
                       {"name", trimmedText(r.name)},
                       {"onPricePage", true},
                       {"best", decimalOrNull(r.best)},
                       {"scratched", text::trimSpaces(r.best) == "scr"},
                       {"prices", prices}});
    }
    return out;
}

std::string priceHeader() {
    const std::vector<ReportColumn> columns = oddsColumns();
    std::string out = leftAligned(columns[0].title, 4) + leftAligned(columns[1].title, 24);
    for (std::size_t c = 2; c < columns.size(); ++c) out += rightAligned(columns[c].title, 10);
    return out;
}

namespace {

std::string priceLine(const OddsRow& r) {
    if (!onPricePage(r)) return "    (not on the price page)";
    std::string out = leftAligned(r.number, 4) + leftAligned(r.name, 24) + rightAligned(r.best, 10);
    for (const std::string& p : r.prices) out += rightAligned(p, 10);
    return out;
}

// A best price that is a price: "scr", "-100.0" (all n/a) and empty are not.
std::optional<double> priceValue(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (*end != '\0' || v <= 0) return std::nullopt;
    return v;
}

}  // namespace

void printPriceTable(std::ostream& out, const std::vector<OddsRow>& rows) {
    out << priceHeader() << "\n";
    for (const OddsRow& r : rows) out << priceLine(r) << "\n";
}

void writeOddsCsv(std::ostream& out, const std::vector<OddsRow>& rows) {
    const std::vector<ReportColumn> columns = oddsColumns();
    std::vector<std::vector<std::string>> records{{"number", "name", "best"}};
    for (std::size_t c = 3; c < columns.size(); ++c) records[0].push_back(columns[c].title);
    for (const OddsRow& r : rows) {
        if (!onPricePage(r)) continue;
        records.push_back({r.number, r.name, r.best});
        records.back().insert(records.back().end(), r.prices.begin(), r.prices.end());
    }
    writeCsv(out, records);
}

std::string priceMove(const std::string& before, const std::string& now) {
    const auto b = priceValue(before), n = priceValue(now);
    if (!b || !n || *b == *n) return "";
    return *n < *b ? "▼" : "▲";
}

std::vector<BoardRow> oddsBoardRows(const std::vector<OddsRow>& previous, const std::vector<OddsRow>& rows) {
    std::map<std::string, std::string> was;
    for (const OddsRow& r : previous)
        if (onPricePage(r)) was[r.number] = r.best;
    std::vector<BoardRow> out;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const OddsRow& r = rows[i];
        const auto it = was.find(r.number);
        const std::string move = onPricePage(r) && it != was.end() ? priceMove(it->second, r.best) : "";
        const std::string mark = r.best == "scr" ? "  scratched" : move.empty() ? "" : " " + move;
        // Rows off the price page have no number: their place in the field keys them.
        out.push_back({onPricePage(r) ? r.number : "#" + std::to_string(i), priceLine(r) + mark});
    }
    return out;
}

}  // namespace selvane::cli
