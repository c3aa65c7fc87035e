#include "ResultsOutput.h"

#include "Cli.h"
#include "Csv.h"

namespace selvane::cli {

int raceOption(const std::optional<std::string>& value) {
    if (!value) return 0;
    const std::optional<int> n = digitsNumber(*value, 4);
    if (!n) throw UsageError("--race takes a race number");
    return *n;
}

std::string resultsRowText(const ReportRow& row) {
    return leftAligned(row.text, 6) + leftAligned(row.subItems.at(0), 9) + leftAligned(row.subItems.at(1), 26) +
           terminalLine(row.subItems.at(2));
}

void printShownResults(std::ostream& out, const MainWindow& w) {
    const std::vector<ReportRow>& rows = w.lstResults.rows();
    if (rows.empty()) {
        out << "The meeting is not on the results page.\n";
        return;
    }
    out << kResultsHeader << "\n";
    for (const ReportRow& row : rows) out << resultsRowText(row) << "\n";
    out << "Ticker: " << terminalLine(w.lblScrollResults.caption()) << "\n";
    out << "Race result: " << terminalLine(w.txtResults.text()) << "\n";
}

void writeResultsCsv(std::ostream& out, const MainWindow& w) {
    std::vector<std::vector<std::string>> records{{"link", "race", "track", "result"}};
    for (const ReportRow& row : w.lstResults.rows())
        records.push_back({row.text, row.subItems.at(0), row.subItems.at(1), row.subItems.at(2)});
    writeCsv(out, records);
}

nlohmann::json shownResultsJson(const MainWindow& w) {
    nlohmann::json list = nlohmann::json::array();
    for (const ReportRow& row : w.lstResults.rows()) {
        list.push_back({{"link", jsonText(row.text)},
                        {"race", jsonText(row.subItems.at(0))},
                        {"track", jsonText(row.subItems.at(1))},
                        {"result", jsonText(row.subItems.at(2))}});
    }
    return {{"results", list},
            {"ticker", jsonText(w.lblScrollResults.caption())},
            {"resultText", jsonText(w.txtResults.text())}};
}

}  // namespace selvane::cli
