#include "Cli.h"
#include "TipsOutput.h"
#include "form/TipGrid.h"
#include "form/RunnerFile.h"

namespace selvane::cli {
namespace {

int runTips(Context& ctx) {
    ctx.args.expect(1, 1, {"--explain", "--stake"});
    const std::optional<long long> stake = stakeOption(ctx.args.option("--stake"));
    const bool explain = ctx.args.flag("--explain");
    const std::string& path = ctx.args.at(0, "FILE");
    std::vector<TipInput> field;
    try {
        field = parseRunnerFile(readInputFile(path));
    } catch (const RunnerFileTooLong& e) {
        throw InputError(path + ": " + e.what());
    }
    MainWindow w;
    msfClear(w);
    setRunnerList(w, field);
    const ShownTips shown = tipAndReport(w);
    const TipOutcome outcome = computeTips(field);
    return ctx.print(
        [&] {
            nlohmann::json doc = shownTipsJson(shown);
            if (explain) doc["explain"] = explainJson(outcome, field);
            if (stake) doc.update(stakeJson(outcome, *stake));
            return doc;
        },
        [&](std::ostream& out) {
            printShownTips(out, shown);
            if (explain) printExplain(out, outcome, field);
            if (stake) printStake(out, outcome, *stake);
        });
}

const Registrar registrar{Command{
    "tips", "tips FILE [--explain] [--stake AMOUNT]",
    "tip a field from a runner file: the five tips, the grid, the each-way best bet",
    "FILE (or - for stdin) holds one runner a line, tab-separated: number, form, name, barrier,\n"
    "ticked (1 ticked; 0 or missing not), at most 100 runners. Prints the tip list, the grid\n"
    "rows with the highlighted best bet, the status line, the insufficient-form count, the\n"
    "warning the program would show and, when the tipping stops, why.\n"
    "--explain adds each runner's working: the placings read, their mean, the barrier, the form\n"
    "score, the rank value and why a runner has no mean (no form, ticked, emergency, zeros only).\n"
    "--stake AMOUNT adds the boxes of the five tips (quinella 10, exacta 20, trifecta 60, first\n"
    "four 120 combinations) with the flexi percentage AMOUNT buys (AMOUNT / combinations x 100)\n"
    "and the each-way terms by starters (neither ticked nor emergencies): 1-4 win only, 5-7 two\n"
    "places, 8 or more three.\n"
    "JSON: {tips: [{label, runner, win, barrier}], grid: [{label, runner, win, barrier, highlight}],\n"
    "status, insufficientForm, warning, error}; --explain adds explain: [{number, digits, mean,\n"
    "barrier, formScore, rankValue, reason}]; --stake adds boxes: [{bet, combinations,\n"
    "flexiPercent}] and eachWay: {starters, places}.",
    {"--stake"}, runTips, {"--explain"}}};

}  // namespace
}  // namespace selvane::cli
