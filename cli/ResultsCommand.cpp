#include "Cli.h"
#include "Csv.h"
#include "Watch.h"
#include "MeetingChoice.h"
#include "PunterJson.h"
#include "ResultsOutput.h"
#include "results/CheckResults.h"

namespace selvane::cli {
namespace {

// TRACK opened, race `race` (when above 0) chosen and the results checked as the window does;
// InputError when the results site's page of the day could not be fetched.
std::unique_ptr<App> checkedResults(Context& ctx, const std::string& track, int race) {
    auto app = openMeeting(ctx, track);
    if (race > 0) selectRace(*app, race, track);
    checkResults(*app, app->window, app->results);
    recordFetched(ctx, *app);
    requireResultsPage(*app);
    return app;
}

}  // namespace

Board resultsBoard(Context& ctx, const std::string& track, int race) {
    return fetchBoard(ctx, [&](Board& board) {
        const auto app = checkedResults(ctx, track, race);
        const MainWindow& w = app->window;
        board.heading = terminalLine(w.cmbDateRaces.text()) + "  " + terminalLine(w.cmbTrackName.text()) + "\n" + kResultsHeader;
        for (const ReportRow& row : w.lstResults.rows())
            board.rows.push_back({row.subItems.at(1) + "\t" + row.subItems.at(0), resultsRowText(row)});
        if (race > 0) board.rows.push_back({"\tresult", "Race result: " + terminalLine(w.txtResults.text())});
    });
}

namespace {

int runResults(Context& ctx) {
    ctx.args.expect(1, 1, {"--date", "--race", "--csv", "--watch", "--every"});
    const bool csv = csvWanted(ctx);
    const std::string track = ctx.args.at(0, "TRACK");
    const int race = raceOption(ctx.args.option("--race"));
    if (watchWanted(ctx)) return watchCommand(ctx, csv, [&] { return resultsBoard(ctx, track, race); });
    const auto app = checkedResults(ctx, track, race);
    const MainWindow& w = app->window;
    if (csv) {
        writeResultsCsv(ctx.out, w);
        return kOk;
    }
    return ctx.print(
        [&] {
            nlohmann::json doc = resultsDataJson(w);
            doc["date"] = isoDate(w.cmbDateRaces.text());
            doc["meeting"] = trimmedText(w.cmbTrackName.text());
            return punterDocument(doc, ctx.warnings);
        },
        [&](std::ostream& out) {
            out << terminalLine(w.cmbDateRaces.text()) << "  " << terminalLine(w.cmbTrackName.text()) << "\n\n";
            printShownResults(out, w);
        });
}

const Registrar registrar{Command{
    "results", "results TRACK [--date DD/MM/YYYY] [--race N] [--csv] [--watch [--every S]]",
    "the meeting's result states from the tote results site and race N's result",
    "Downloads the meetings (of --date, or today's), chooses TRACK (its first word, letter case\n"
    "ignored), then reads the results site's meeting page of that date as choosing a race does:\n"
    "the results list, the ticker text and, with --race, the results box text of race N.\n"
    "Exit status 1 when a service cannot be reached or the day's results page cannot be fetched.\n"
    "JSON: {date, meeting, results: [{race, state, placings, time}], result: {race, placings},\n"
    "error, warnings} (docs/cli-json.md).\n"
    "--csv prints the results list, one record per race: link, race, track, result.\n"
    "--watch fetches again every S seconds (--every, 5 to 3600, default 30) and redraws: rows\n"
    "whose state changed are marked, the time of the last good fetch and the data's age are\n"
    "shown, and a failed fetch reads \"stale since hh:mm:ss\". Not on a terminal it prints one\n"
    "block per fetch. Ctrl-C ends it: exit status 0 when the last fetch worked, else 1.",
    {"--date", "--race", "--every"}, runResults, {"--csv", "--watch"}, true, true}};

}  // namespace
}  // namespace selvane::cli
