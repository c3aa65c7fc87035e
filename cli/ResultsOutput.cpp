#include "ResultsOutput.h"

#include <iomanip>

#include "Cli.h"

namespace selvane::cli {

int raceOption(const std::optional<std::string>& value) {
    if (!value) return 0;
    const std::string& v = *value;
    if (v.empty() || v.size() > 4 || v.find_first_not_of("0123456789") != std::string::npos)
        throw UsageError("--race takes a race number");
    return std::stoi(v);
}

void printShownResults(std::ostream& out, const std::vector<ReportRow>& rows, const std::string& ticker,
                       const std::string& resultText) {
    if (rows.empty()) {
        out << "The meeting is not on the results page.\n";
        return;
    }
    out << "link  Race #.  Track Name                Results\n";
    for (const ReportRow& row : rows) {
        out << std::left << std::setw(6) << row.text << std::setw(9) << row.subItems.at(0) << std::setw(26)
            << row.subItems.at(1) << row.subItems.at(2) << std::right << "\n";
    }
    out << "Ticker: " << ticker << "\n";
    out << "Race result: " << resultText << "\n";
}

nlohmann::json shownResultsJson(const std::vector<ReportRow>& rows, const std::string& ticker,
                                const std::string& resultText) {
    nlohmann::json list = nlohmann::json::array();
    for (const ReportRow& row : rows) {
        list.push_back({{"link", jsonText(row.text)},
                        {"race", jsonText(row.subItems.at(0))},
                        {"track", jsonText(row.subItems.at(1))},
                        {"result", jsonText(row.subItems.at(2))}});
    }
    return {{"results", list}, {"ticker", jsonText(ticker)}, {"resultText", jsonText(resultText)}};
}

}  // namespace selvane::cli
