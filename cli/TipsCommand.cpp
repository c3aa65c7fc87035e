#include "Cli.h"
#include "TipsOutput.h"
#include "form/TipGrid.h"
#include "form/RunnerFile.h"

namespace selvane::cli {
namespace {

int runTips(Context& ctx) {
    ctx.args.expect(1, 1, {});
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
    return ctx.print([&] { return shownTipsJson(shown); }, [&](std::ostream& out) { printShownTips(out, shown); });
}

const Registrar registrar{Command{
    "tips", "tips FILE",
    "tip a field from a runner file: the five tips, the grid, the each-way best bet",
    "FILE (or - for stdin) holds one runner a line, tab-separated: number, form, name, barrier,\n"
    "ticked (1 ticked; 0 or missing not), at most 100 runners. Prints the tip list, the grid\n"
    "rows with the highlighted best bet, the status line, the insufficient-form count, the\n"
    "warning the program would show and, when the tipping stops, why.\n"
    "JSON: {tips: [{label, runner, win, barrier}], grid: [{label, runner, win, barrier, highlight}],\n"
    "status, insufficientForm, warning, error}.",
    {}, runTips}};

}  // namespace
}  // namespace selvane::cli
