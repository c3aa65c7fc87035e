#include "Cli.h"
#include "net/WorkFiles.h"
#include "pages/PageWriter.h"
#include "results/ResultsFiles.h"
#include "results/ResultsPage.h"

namespace selvane::cli {
namespace {

int runPageResults(Context& ctx) {
    ctx.args.expect(1, 1, {});
    std::string page = readInputFile(ctx.args.at(0, "FILE"));
    const std::string path = (ctx.workFolder / kResultsPage).string();
    ResultsPageEnd end;
    {
        PageWriter writer(ctx.workFolder);
        end = writeResultsPage(writer, page);
    }
    // Without a table start the page is not written: an empty page, not an earlier one.
    const std::string bytes = end == ResultsPageEnd::NoResultTables ? std::string() : readWholeFile(path);
    if (end == ResultsPageEnd::NoResultTables && !ctx.json)
        ctx.err << "selvane-cli page results: no result tables on the page; results.html is not written\n";
    return ctx.print([&] { return nlohmann::json{{"page", jsonText(bytes)}}; },
                     [&](std::ostream& out) { out << bytes; });
}

const Registrar registrar{Command{
    "page results", "page results FILE",
    "copy the result tables of a saved race result page (as test.html holds it) into results.html",
    "FILE is the page after the HTML engine (see normalise). Prints the bytes written to\n"
    "results.html: the page head on black, the result tables up to the fifth </table>, the foot.\n"
    "A page without result tables writes nothing (a note on stderr).\n"
    "JSON: {page}.",
    {}, runPageResults}};

}  // namespace
}  // namespace selvane::cli
