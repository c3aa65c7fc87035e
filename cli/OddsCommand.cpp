#include "odds/OddsCommand.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "Cli.h"
#include "Csv.h"
#include "MeetingChoice.h"
#include "OddsOutput.h"
#include "PunterJson.h"
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

struct OddsFetch {
    std::string heading;
    LiveOddsRun run;
    nlohmann::json race;  // the date, meeting and race as data
    std::vector<std::string> fieldNumbers, fieldNames;
};

// Live Odds pressed on the chosen race, as the window would; InputError when the prices cannot be had.
OddsFetch fetchOdds(Context& ctx, std::vector<std::string> options) {
    // The race's field fills the runner list, whose count is the odds window's row count.
    auto app = chooseRaceOfArguments(ctx, std::move(options));
    // Without the race's field there is no row to put a price in.
    if (const std::string failure = racePageFailure(*app); !failure.empty()) throw InputError(failure);

    OddsFetch fetch;
    const MainWindow& w = app->window;
    fetch.race = {{"date", isoDate(w.cmbDateRaces.text())},
                  {"meeting", trimmedText(w.cmbTrackName.text())},
                  {"race", chosenRaceJson(w)}};
    for (int i = 0; i < w.lstRaces.count(); ++i) {
        fetch.fieldNumbers.push_back(w.lstRaces.row(i).text);
        fetch.fieldNames.push_back(w.lstRaces.subItem(i, 2));
    }
    ctx.ports.modal.onShow = [&fetch](Window& window) {
        if (auto* odds = dynamic_cast<OddsWindow*>(&window)) fetch.heading = odds->lblMeetingName.caption();
    };
    fetch.run = liveOdds(*app, app->window, app->chosenRace, app->odds);
    recordFetched(ctx, *app, &fetch.run);
    ctx.ports.modal.onShow = nullptr;
    requireWorkFilesWritten(*app);
    if (fetch.run.end == LiveOddsRun::End::Unavailable)
        throw InputError(fetch.run.address + ": the price page could not be read (" + fetch.run.cause + ")");
    return fetch;
}

const std::vector<std::string> kOddsOptions = {"--csv", "--watch", "--every"};

}  // namespace

Board oddsBoard(Context& ctx, std::vector<OddsRow>& previous) {
    return fetchBoard(ctx, [&](Board& board) {
        const OddsFetch fetch = fetchOdds(ctx, kOddsOptions);
        if (fetch.run.end != LiveOddsRun::End::Shown) {
            const auto& shown = ctx.ports.messages.shown;
            std::string text = shown.empty() ? "no prices were shown" : plainText(shown.front().text);
            std::replace(text.begin(), text.end(), '\n', ' ');
            throw InputError(text);
        }
        board.heading = terminalLine(shownCaption(fetch.heading)) + "\n" + priceHeader();
        board.rows = oddsBoardRows(previous, fetch.run.rows);
        previous = fetch.run.rows;
    });
}

namespace {

int runOdds(Context& ctx) {
    const bool csv = csvWanted(ctx);
    if (watchWanted(ctx)) {
        ctx.args.expect(2, 2, {"--date", "--csv", "--watch", "--every"});
        raceArgument(ctx.args.at(1, "RACE"));
        std::vector<OddsRow> previous;
        return watchCommand(ctx, csv, [&] { return oddsBoard(ctx, previous); });
    }
    const OddsFetch fetch = fetchOdds(ctx, kOddsOptions);
    const std::string& heading = fetch.heading;
    const LiveOddsRun& run = fetch.run;
    if (csv) {
        writeOddsCsv(ctx.out, run.rows);
        return kOk;
    }

    const std::vector<ShownMessage>& messages = ctx.ports.messages.shown;
    return ctx.print(
        [&] {
            nlohmann::json doc = fetch.race;
            doc["address"] = jsonText(run.address);
            doc["runners"] = oddsDataJson(run.rows, fetch.fieldNumbers, fetch.fieldNames);
            std::vector<std::string> warnings = ctx.warnings;
            for (const std::string& m : messageWarnings(messages)) warnings.push_back(m);
            return punterDocument(doc, warnings);
        },
        [&](std::ostream& out) {
            if (!heading.empty()) out << terminalLine(shownCaption(heading)) << "\n\n";
            printPriceTable(out, run.rows);
            printMessages(out, messages);
        });
}

const Registrar registrar{
    Command{"odds",
            "odds TRACK RACE [--date DD/MM/YYYY] [--csv] [--watch [--every S]]",
            "a race's live prices with each runner's best price",
            "Downloads the meetings (of --date, or today's), chooses TRACK (its first word, letter case\n"
            "ignored), double-clicks race RACE and presses Live Odds as the window would: prints the odds\n"
            "window's heading and one row per runner of the race's field: number, name, best price and the\n"
            "seven tote prices (n/a: no price, scr: scratched). Exit status 1 when the service cannot be\n"
            "reached, has no such meeting or race, or the race page or the price page cannot be fetched,\n"
            "or the price page holds no prices.\n"
            "JSON: {date, meeting, race: {number, time, name, length}, address (the price page),\n"
            "runners: [{number, name, onPricePage, best, scratched, prices: {ausTote, stabWin, nswWin,\n"
            "qldWin, stabPlace, nswPlace, qldPlace}}], error, warnings} (docs/cli-json.md).\n"
            "--csv prints one record per runner on the price page: number, name, best, the seven prices.\n"
            "--watch fetches again every S seconds (--every, 5 to 3600, default 30) and redraws: a best\n"
            "price shorter than at the last good fetch is marked \"▼\", a longer one \"▲\", scratched runners\n"
            "\"scratched\"; the time of the last good fetch and the data's age are shown, and a failed\n"
            "fetch reads \"stale since hh:mm:ss\". Not on a terminal it prints one block per fetch.\n"
            "Ctrl-C ends it: exit status 0 when the last fetch worked, else 1.",
            {"--date", "--every"},
            runOdds,
            {"--csv", "--watch"},
            true, true}};

}  // namespace
}  // namespace selvane::cli
