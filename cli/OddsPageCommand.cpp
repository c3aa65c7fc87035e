#include <ostream>

#include "Cli.h"
#include "OddsOutput.h"
#include "form/RunnerTable.h"
#include "odds/LiveOdds.h"
#include "odds/OddsWindow.h"

namespace selvane::cli {
namespace {

const char* endText(OddsPageEnd end) {
    switch (end) {
        case OddsPageEnd::RunnerRows:
            return "the runner count";
        case OddsPageEnd::Percentages:
            return "the percentages row";
        case OddsPageEnd::EndOfPage:
            return "the end of the page";
        case OddsPageEnd::NoPage:
            break;
    }
    return "no price table";
}

int runnersOption(const std::optional<std::string>& value) {
    if (!value) throw UsageError("--runners is required");
    const std::optional<int> n = digitsNumber(*value, 3);
    if (!n || *n > RunnerTable::kLastSlot)
        throw UsageError("--runners takes a runner count from 0 to " + std::to_string(RunnerTable::kLastSlot));
    return *n;
}

int runOddsPage(Context& ctx) {
    ctx.args.expect(1, 1, {"--runners"});
    const int runners = runnersOption(ctx.args.option("--runners"));
    const std::string page = readInputFile(ctx.args.at(0, "FILE"));
    const OddsOutcome odds = oddsFromPage(page, runners, ctx.workFolder);
    return ctx.print(
        [&] {
            return nlohmann::json{{"page", odds.hasPage ? jsonText(odds.page) : nlohmann::json()},
                                  {"rows", oddsRowsJson(odds.rows)}};
        },
        [&](std::ostream& out) {
            if (!odds.hasPage) {
                out << "No " << kOddsPageName << " (" << terminalLine(odds.cause) << "): the window would say \""
                    << kOddsUnavailableText << "\"\n";
                return;
            }
            out << kOddsPageName << ": " << odds.page.size() << " bytes, ended at " << endText(odds.end) << "\n";
            if (odds.rows.empty()) {
                out << "No rows: the runner count is 0.\n";
                return;
            }
            printPriceTable(out, odds.rows);
        });
}

const Registrar registrar{Command{
    "page odds",
    "page odds FILE --runners N",
    "cut a saved price page (as rto.html holds it) into realodds.html and read the odds rows back",
    "FILE is the page after the HTML engine (see normalise); N is the runner list's count (0 to 100).\n"
    "Prints each runner's seven prices and best price as the odds window shows them.\n"
    "JSON: {page: the bytes written to realodds.html (null when none was written),\n"
    "rows: [{number, name, best, prices: [AUS TOTE, STAB Win, NSW Win, QLD Win, STAB PLC, NSW PLC, QLD PLC]}]}.",
    {"--runners"},
    runOddsPage}};

}  // namespace
}  // namespace selvane::cli
