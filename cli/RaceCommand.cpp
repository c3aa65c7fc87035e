#include "Cli.h"
#include "Csv.h"
#include "MeetingChoice.h"
#include "PunterJson.h"
#include "ResultsOutput.h"
#include "TipsOutput.h"
#include "form/RaceSelection.h"
#include "form/Tipping.h"
#include "net/PageStatus.h"
#include "net/PageText.h"

namespace selvane::cli {
namespace {

TipWarning warningShown(const FakeMessageBox& box) {
    for (const ShownMessage& m : box.shown) {
        if (m.title == warningTitle(TipWarning::DataError)) return TipWarning::DataError;
        if (m.title == warningTitle(TipWarning::InsufficientForm)) return TipWarning::InsufficientForm;
    }
    return TipWarning::None;
}

std::vector<RunnerEntry> runnerList(const ReportList& list) {
    std::vector<RunnerEntry> entries;
    for (int i = 0; i < list.count(); ++i)
        entries.push_back(RunnerEntry{list.row(i).text, list.subItem(i, 1), list.subItem(i, 2), list.subItem(i, 3),
                                      list.subItem(i, 4), list.subItem(i, 5)});
    return entries;
}

// One record per runner: its list texts, its tip place, win percentage and the best bet mark.
void writeRaceCsv(std::ostream& out, const std::vector<RunnerEntry>& field, const TipOutcome& o) {
    std::vector<std::vector<std::string>> records{
        {"number", "form", "name", "jockey", "weight", "barrier", "tip", "win", "bestBet"}};
    const bool published = o.stop == TipStop::None;
    const int bestBet = published && o.bestBetRow > 0 ? o.tipOrder[o.gridOrder[o.bestBetRow] - 1] : 0;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const RunnerEntry& e = field[i];
        std::string place, win;
        for (std::size_t k = 0; published && k < o.tips.size(); ++k)
            if (o.tipOrder[k] == static_cast<int>(i) + 1) {
                place = std::to_string(k + 1);
                win = std::string(text::trimSpaces(o.tips[k].win));
                if (!win.empty() && win.back() == '%') win.pop_back();
            }
        records.push_back({e.number, e.form, e.name, e.jockey, e.weight, e.barrier, place, win,
                           bestBet == static_cast<int>(i) + 1 ? "yes" : ""});
    }
    writeCsv(out, records);
}

nlohmann::json runnerJson(const RunnerEntry& e) {
    const std::string_view number = text::trimSpaces(e.number);
    return {{"number", leadingWhole(number)},
            {"emergency", !number.empty() && (number.back() == 'e' || number.back() == 'E')},
            {"name", trimmedText(e.name)},
            {"form", trimmedText(e.form)},
            {"jockey", trimmedText(e.jockey)},
            {"weight", decimalOrNull(e.weight)},
            {"barrier", leadingWhole(e.barrier)}};
}

// The race as data: the field, the published tips, the best bet and the meeting's results.
nlohmann::json raceDataJson(const MainWindow& w, const std::vector<RunnerEntry>& field, const TipOutcome& o,
                            int insufficientForm) {
    using nlohmann::json;
    json runners = json::array();
    for (const RunnerEntry& e : field) runners.push_back(runnerJson(e));
    const auto runnerOfTip = [&](std::size_t k) -> const RunnerEntry* {
        const int at = k < o.tipOrder.size() ? o.tipOrder[k] : 0;
        return at >= 1 && at <= static_cast<int>(field.size()) ? &field[at - 1] : nullptr;
    };
    json tips = json::array();
    json bestBet = nullptr;
    if (o.stop == TipStop::None) {
        for (std::size_t k = 0; k < o.tips.size(); ++k) {
            const RunnerEntry* e = runnerOfTip(k);
            if (!e) continue;
            const json r = runnerJson(*e);
            tips.push_back({{"tip", k + 1}, {"number", r["number"]}, {"name", r["name"]},
                            {"win", leadingWhole(o.tips[k].win)}, {"barrier", r["barrier"]}});
        }
        const int tip = o.bestBetRow > 0 && o.bestBetRow < static_cast<int>(o.gridOrder.size()) ? o.gridOrder[o.bestBetRow] : 0;
        if (const RunnerEntry* e = tip > 0 ? runnerOfTip(static_cast<std::size_t>(tip - 1)) : nullptr) {
            const json r = runnerJson(*e);
            bestBet = {{"tip", tip}, {"number", r["number"]}, {"name", r["name"]}};
        }
    }
    json doc = resultsDataJson(w);
    doc["date"] = isoDate(w.cmbDateRaces.text());
    doc["meeting"] = trimmedText(w.cmbTrackName.text());
    doc["race"] = chosenRaceJson(w);
    doc["field"] = runners;
    doc["tips"] = tips;
    doc["bestBet"] = bestBet;
    doc["insufficientForm"] = insufficientForm;
    return doc;
}

int runRace(Context& ctx) {
    const bool csv = csvWanted(ctx);
    const std::optional<long long> stake = stakeOption(ctx.args.option("--stake"));
    const bool explain = ctx.args.flag("--explain");
    auto app = chooseRaceOfArguments(ctx, {"--explain", "--stake", "--csv"});
    const MainWindow& w = app->window;
    // A race page that could not be fetched still shows the placeholder tips and the warning:
    // they are printed, and the exit status says the page failed.
    const std::string raceFailure = racePageFailure(*app);
    recordFetched(ctx, *app);
    if (raceFailure.empty()) requireResultsPage(*app);

    ShownTips shown = readShownTips(w);
    shown.warning = warningShown(ctx.ports.messages);
    // Why the tipping published nothing: the same run on the same runner list, off the window.
    const std::vector<TipInput> inputs = tipInputs(w);
    const TipOutcome outcome = computeTips(inputs);
    if (outcome.stop != TipStop::None && outcome.stop != TipStop::EmptyField) shown.error = outcome.error;
    const std::vector<RunnerEntry> field = runnerList(w.lstRaces);

    if (csv) writeRaceCsv(ctx.out, field, outcome);
    const std::vector<ShownMessage>& messages = ctx.ports.messages.shown;
    if (!csv)
        ctx.print(
            [&] {
                nlohmann::json doc = raceDataJson(w, field, outcome, shown.insufficientForm);
                if (explain) {
                    doc["explain"] = explainJson(outcome, inputs);
                    for (nlohmann::json& row : doc["explain"]) row["number"] = leadingWhole(row["number"].get<std::string>());
                }
                if (stake) doc.update(stakeJson(outcome, *stake));
                std::vector<std::string> warnings = ctx.warnings;
                for (const std::string& m : messageWarnings(messages)) warnings.push_back(m);
                if (!shown.error.empty()) warnings.push_back("the tipping stopped: " + shown.error);
                return punterDocument(doc, warnings, raceFailure);
            },
            [&](std::ostream& out) {
                out << terminalLine(w.cmbDateRaces.text()) << "  " << terminalLine(w.lblTrackName.caption()) << "  Race #. "
                    << terminalLine(w.lblRaceNumber.caption()) << "  " << terminalLine(w.lblRaceTime.caption()) << "  "
                    << terminalLine(w.lblRaceLength.caption()) << "\n\nField\n";
                printRunnerEntries(out, field);
                out << "\n";
                printShownTips(out, shown);
                if (explain) printExplain(out, outcome, inputs);
                if (stake) printStake(out, outcome, *stake);
                printMessages(out, messages);
                out << "\nMeeting results\n";
                printShownResults(out, w);
            });
    if (raceFailure.empty()) return kOk;
    ctx.err << "selvane-cli race: " << terminalLine(raceFailure) << "\n";
    return kInputError;
}

const Registrar registrar{
    Command{"race",
            "race TRACK RACE [--date DD/MM/YYYY] [--explain] [--stake AMOUNT] [--csv]",
            "a race's field, its five tips, the each-way best bet and any warning",
            "Downloads the meetings (of --date, or today's), chooses TRACK (its first word, letter case\n"
            "ignored) and double-clicks race RACE as the window would: prints the race details, the\n"
            "field, the tips, the grid with the each-way best bet, the status line, the warning and the\n"
            "meeting's result states. Exit status 1 when the service cannot be reached or has no such\n"
            "meeting or race, or the race page or the results site's page of the day cannot be fetched\n"
            "(a race page that cannot be fetched still prints the placeholder tips and the warning); a\n"
            "race without data is a warning, not an error. --explain and --stake add what\n"
            "they add to tips. --csv prints one record per runner instead: number, form, name, jockey,\n"
            "weight, barrier, tip (its place 1-5, or empty), win (percent), bestBet (yes or empty).\n"
            "JSON: {date, meeting, race: {number, time, name, length}, field: [{number, emergency, name,\n"
            "form, jockey, weight, barrier}], tips: [{tip, number, name, win, barrier}], bestBet: {tip,\n"
            "number, name}, insufficientForm, results, result, error, warnings} (docs/cli-json.md);\n"
            "--explain adds explain, --stake boxes and eachWay.",
            {"--date", "--stake"},
            runRace,
            {"--explain", "--csv"},
            true, true}};

}  // namespace
}  // namespace selvane::cli
