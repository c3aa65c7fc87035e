#include "odds/OddsCommand.h"

#include <ostream>
#include <string>

#include "Cli.h"
#include "MeetingChoice.h"
#include "OddsOutput.h"
#include "odds/OddsWindow.h"

namespace selvane::cli {
namespace {

// The heading as the window shows it: a doubled "&" is one ampersand.
std::string shownCaption(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        out += caption[i];
        if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] == '&') ++i;
    }
    return out;
}

int runOdds(Context& ctx) {
    // The race's field fills the runner list, whose count is the odds window's row count.
    auto app = chooseRaceOfArguments(ctx);

    std::string heading;
    ctx.ports.modal.onShow = [&heading](Window& window) {
        if (auto* odds = dynamic_cast<OddsWindow*>(&window)) heading = odds->lblMeetingName.caption();
    };
    const LiveOddsRun run = liveOdds(*app, app->window, app->odds);
    ctx.ports.modal.onShow = nullptr;
    if (run.end == LiveOddsRun::End::Unavailable)
        throw InputError(run.address + ": the price page could not be read (" + run.cause + ")");

    const std::vector<ShownMessage>& messages = ctx.ports.messages.shown;
    return ctx.print(
        [&] {
            nlohmann::json doc{{"heading", jsonText(heading)},
                               {"address", jsonText(run.address)},
                               {"rows", oddsRowsJson(run.rows)},
                               {"messages", nlohmann::json::array()}};
            for (const ShownMessage& m : messages)
                doc["messages"].push_back({{"title", jsonText(m.title)}, {"text", jsonText(m.text)}});
            return doc;
        },
        [&](std::ostream& out) {
            if (!heading.empty()) out << plainText(shownCaption(heading)) << "\n\n";
            printPriceTable(out, run.rows);
            for (const ShownMessage& m : messages)
                out << "Message \"" << plainText(m.title) << "\": " << plainText(m.text) << "\n";
        });
}

const Registrar registrar{
    Command{"odds",
            "odds TRACK RACE [--date DD/MM/YYYY]",
            "a race's live prices with each runner's best price",
            "Downloads the meetings (of --date, or today's), chooses TRACK (its first word, letter case\n"
            "ignored), double-clicks race RACE and presses Live Odds as the window would: prints the odds\n"
            "window's heading and one row per runner of the race's field: number, name, best price and the\n"
            "seven tote prices (n/a: no price, scr: scratched). Exit status 1 when the service cannot be\n"
            "reached, has no such meeting or race, or the price page cannot be fetched or holds no prices.\n"
            "JSON: {heading, address (the price page), rows: [{number, name, best, prices: [AUS TOTE,\n"
            "STAB Win, NSW Win, QLD Win, STAB PLC, NSW PLC, QLD PLC]}] as page odds gives them,\n"
            "messages: [{title, text}]}.",
            {"--date"},
            runOdds}};

}  // namespace
}  // namespace selvane::cli
