#include "TipsOutput.h"

#include <algorithm>
#include <cstdio>

#include "Cli.h"
#include "form/BetTerms.h"

namespace selvane::cli {
namespace {

nlohmann::json nullOr(const std::string& text) { return text.empty() ? nlohmann::json(nullptr) : jsonText(text); }

}  // namespace

ShownTips tipAndReport(MainWindow& w) {
    const TipRun run = workoutPlaces(w);
    const TipWarning warning = reportTipOutcome(w);
    ShownTips shown = readShownTips(w);
    if (run.stop != TipStop::None && run.stop != TipStop::EmptyField) shown.error = run.error;
    shown.warning = warning;
    return shown;
}

ShownTips readShownTips(const MainWindow& w) {
    ShownTips shown;
    for (int i = 0; i < w.lstTips.count(); ++i)
        shown.tips.push_back(TipRow{w.lstTips.row(i).text, w.lstTips.subItem(i, 1), w.lstTips.subItem(i, 2),
                                    w.lstTips.subItem(i, 3)});
    const Grid& g = w.msfResults;
    for (int r = 1; r < g.rowCount(); ++r) {
        TipRow row;
        if (g.cols() >= 4)
            row = TipRow{g.cell(r, 0), g.cell(r, 1), g.cell(r, 2), g.cell(r, 3),
                         g.cellBackColour(r, 1) == kBestBetColour};
        shown.grid.push_back(std::move(row));
    }
    shown.status = w.stBar.panel(2);
    shown.insufficientForm = w.insufficientFormCount;
    return shown;
}

nlohmann::json shownTipsJson(const ShownTips& shown) {
    nlohmann::json tips = nlohmann::json::array();
    for (const TipRow& t : shown.tips)
        tips.push_back({{"label", jsonText(t.label)},
                        {"runner", jsonText(t.runner)},
                        {"win", jsonText(t.win)},
                        {"barrier", jsonText(t.barrier)}});
    nlohmann::json grid = nlohmann::json::array();
    for (const TipRow& t : shown.grid)
        grid.push_back({{"label", jsonText(t.label)},
                        {"runner", jsonText(t.runner)},
                        {"win", jsonText(t.win)},
                        {"barrier", jsonText(t.barrier)},
                        {"highlight", t.highlight}});
    return {{"tips", tips},
            {"grid", grid},
            {"status", jsonText(shown.status)},
            {"insufficientForm", shown.insufficientForm},
            {"warning", nullOr(warningTitle(shown.warning))},
            {"error", nullOr(shown.error)}};
}

void printShownTips(std::ostream& out, const ShownTips& shown) {
    std::vector<std::vector<std::string>> tips{{"Tip", "Horse Name", "Win", "Barrier"}};
    for (const TipRow& t : shown.tips) tips.push_back({t.label, t.runner, t.win, t.barrier});
    out << "Tips\n";
    printTable(out, tips);

    std::vector<std::vector<std::string>> grid{{"Tip", "Horse Name", "Win", "Barrier", ""}};
    for (const TipRow& t : shown.grid)
        grid.push_back({t.label, t.runner, t.win, t.barrier, t.highlight ? "<- each way best bet" : ""});
    out << "\nGrid\n";
    printTable(out, grid);

    out << "\nStatus: " << terminalLine(shown.status) << "\n";
    out << "Insufficient form: " << shown.insufficientForm << "\n";
    out << "Warning: " << (shown.warning == TipWarning::None ? "none" : warningTitle(shown.warning)) << "\n";
    if (!shown.error.empty()) out << "Tipping stopped: " << terminalLine(shown.error) << "\n";
}

nlohmann::json explainJson(const TipOutcome& o, const std::vector<TipInput>& field) {
    nlohmann::json rows = nlohmann::json::array();
    if (!o.ranked) return rows;
    for (std::size_t i = 0; i < field.size() && i < o.formScore.size(); ++i) {
        nlohmann::json digits = nlohmann::json::array();
        for (char d : o.formDigits[i]) digits.push_back(d - '0');
        rows.push_back({{"number", jsonText(field[i].number)},
                        {"digits", digits},
                        {"mean", o.formDigits[i].empty() ? nlohmann::json(nullptr) : jsonNumber(o.formMean[i])},
                        {"barrier", jsonNumber(o.barrierValue[i])},
                        {"formScore", jsonNumber(o.formScore[i])},
                        {"rankValue", jsonNumber(o.rankValue[i])},
                        {"reason", o.reason[i] == TipReason::None ? nlohmann::json(nullptr) : reasonText(o.reason[i])}});
    }
    return rows;
}

void printExplain(std::ostream& out, const TipOutcome& o, const std::vector<TipInput>& field) {
    out << "\nWorking\n";
    if (!o.ranked) {
        out << "  none: the tipping stopped before ranking the field\n";
        return;
    }
    std::vector<std::vector<std::string>> rows{{"#.", "Working", "Rank value"}};
    for (std::size_t i = 0; i < field.size() && i < o.formScore.size(); ++i) {
        char rank[64];
        std::snprintf(rank, sizeof rank, "%.2f", static_cast<double>(o.rankValue[i]));
        rows.push_back({field[i].number, explainLine(o, i), rank});
    }
    printTable(out, rows);
}

std::optional<long long> stakeOption(const std::optional<std::string>& value) {
    if (!value) return std::nullopt;
    const auto cents = parseStake(*value);
    if (!cents) throw UsageError("--stake takes an amount above 0 and up to 1000000, with at most two decimals");
    return cents;
}

namespace {

// Boxes only of tips the run published; a stopped run has none.
std::vector<BoxBet> publishedBoxes(const TipOutcome& o) {
    return o.tips.empty() ? std::vector<BoxBet>{} : boxBets(static_cast<int>(o.tips.size()));
}

}  // namespace

nlohmann::json stakeJson(const TipOutcome& o, long long stakeCents) {
    nlohmann::json boxes = nlohmann::json::array();
    for (const BoxBet& b : publishedBoxes(o))
        boxes.push_back({{"bet", b.bet},
                         {"combinations", b.combinations},
                         {"flexiPercent", static_cast<double>(flexiHundredths(stakeCents, b.combinations)) / 100.0}});
    return {{"boxes", boxes},
            {"eachWay", {{"starters", o.starters}, {"places", eachWayPlaces(o.starters)}}}};
}

void printStake(std::ostream& out, const TipOutcome& o, long long stakeCents) {
    const std::vector<BoxBet> boxes = publishedBoxes(o);
    out << "\nBoxes of the tips, stake $" << twoPlaces(stakeCents) << "\n";
    if (boxes.empty()) {
        out << "  none: no tips\n";
    } else {
        std::vector<std::vector<std::string>> rows{{"Bet", "Combinations", "Cost at 1", "Flexi"}};
        for (const BoxBet& b : boxes)
            rows.push_back({b.name, std::to_string(b.combinations), "$" + std::to_string(b.combinations),
                            twoPlaces(flexiHundredths(stakeCents, b.combinations)) + "%"});
        printTable(out, rows);
    }
    const int places = eachWayPlaces(o.starters);
    out << "Each way: " << o.starters << (o.starters == 1 ? " starter, " : " starters, ")
        << (places == 0 ? "win only" : std::to_string(places) + " places") << "\n";
}

nlohmann::json runnerRowsJson(const RunnerTable& table) {
    nlohmann::json rows = nlohmann::json::array();
    for (int i = 1; i <= table.runnerCount(); ++i) {
        const RunnerRow& r = table.runnerRows[i];
        rows.push_back({{"number", jsonText(r.number)},
                        {"form", jsonText(r.form)},
                        {"horse", jsonText(r.horse)},
                        {"jockey", jsonText(r.jockey)},
                        {"weight", jsonText(r.weight)},
                        {"api", jsonText(r.api)},
                        {"win", jsonText(r.win)},
                        {"place", jsonText(r.place)},
                        {"stakes", jsonText(r.stakes)}});
    }
    return rows;
}

nlohmann::json runnerEntriesJson(const std::vector<RunnerEntry>& entries) {
    nlohmann::json runners = nlohmann::json::array();
    for (const RunnerEntry& e : entries)
        runners.push_back({{"number", jsonText(e.number)},
                           {"form", jsonText(e.form)},
                           {"name", jsonText(e.name)},
                           {"jockey", jsonText(e.jockey)},
                           {"weight", jsonText(e.weight)},
                           {"barrier", jsonText(e.barrier)}});
    return runners;
}

void printRunnerEntries(std::ostream& out, const std::vector<RunnerEntry>& entries) {
    std::vector<std::vector<std::string>> rows{{"#.", "Form", "Horse Name", "Jockey", "Weight", "Barrier"}};
    for (const RunnerEntry& e : entries) rows.push_back({e.number, e.form, e.name, e.jockey, e.weight, e.barrier});
    printTable(out, rows);
}

}  // namespace selvane::cli
