#include "Cli.h"
#include "TipsOutput.h"
#include "app/TipGrid.h"
#include "form/RunnerFile.h"

namespace selvane::cli {
namespace {

int runTips(Context& ctx) {
    ctx.args.expect(1, 1, {});
    const std::string text = readInputFile(ctx.args.at(0, "FILE"));
    MainWindow w;
    msfClear(w);
    setRunnerList(w, parseRunnerFile(text));
    const ShownTips shown = tipAndReport(w);
    if (ctx.json)
        ctx.out << shownTipsJson(shown).dump(2) << "\n";
    else
        printShownTips(ctx.out, shown);
    return kOk;
}

const Registrar registrar{Command{
    "tips", "tips FILE",
    "tip a field from a runner file: the five tips, the grid, the each-way best bet",
    "FILE (or - for stdin) holds one runner a line, tab-separated: number, form, name, barrier,\n"
    "ticked (1 ticked; 0 or missing not). Prints the tip list, the grid rows with the highlighted\n"
    "best bet, the status line, the insufficient-form count, the warning the program would show\n"
    "and, when the tipping stops, why.\n"
    "JSON: {tips: [{label, runner, win, barrier}], grid: [{label, runner, win, barrier, highlight}],\n"
    "status, insufficientForm, warning, error}.",
    {}, runTips}};

}  // namespace
}  // namespace selvane::cli
