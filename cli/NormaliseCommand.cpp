#include "Cli.h"
#include "net/HtmlEngine.h"

namespace selvane::cli {
namespace {

int runNormalise(Context& ctx) {
    ctx.args.expect(1, 1, {});
    const std::string bytes = readInputFile(ctx.args.at(0, "FILE"));
    const NormalisedPage page = normalisePage(bytes);
    return ctx.print([&] { return nlohmann::json{{"title", jsonText(page.title)}, {"markup", jsonText(page.markup)}}; },
                     [&](std::ostream& out) { out << page.markup << "\r\n"; });
}

const Registrar registrar{Command{
    "normalise", "normalise FILE", "print the HTML engine's markup of a saved page (as test.html holds it)",
    "Prints the markup the page loader would store in test.html (CR LF line ends). With --json:\n"
    "{title, markup}, the markup without test.html's final CR LF.",
    {}, runNormalise}};

}  // namespace
}  // namespace selvane::cli
