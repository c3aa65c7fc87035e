#include "Cli.h"
#include "Csv.h"
#include "MeetingChoice.h"
#include "ResultsOutput.h"
#include "results/CheckResults.h"

namespace selvane::cli {
namespace {

int runResults(Context& ctx) {
    ctx.args.expect(1, 1, {"--date", "--race", "--csv"});
    const bool csv = csvWanted(ctx);
    const std::string track = ctx.args.at(0, "TRACK");
    const int race = raceOption(ctx.args.option("--race"));
    auto app = openMeeting(ctx, track);
    if (race > 0) selectRace(*app, race, track);
    checkResults(*app, app->window, app->results);
    requireResultsPage(*app);

    const MainWindow& w = app->window;
    if (csv) {
        writeResultsCsv(ctx.out, w);
        return kOk;
    }
    return ctx.print(
        [&] {
            nlohmann::json doc = shownResultsJson(w);
            doc["date"] = jsonText(w.cmbDateRaces.text());
            doc["track"] = jsonText(w.cmbTrackName.text());
            return doc;
        },
        [&](std::ostream& out) {
            out << toUtf8(w.cmbDateRaces.text()) << "  " << toUtf8(w.cmbTrackName.text()) << "\n\n";
            printShownResults(out, w);
        });
}

const Registrar registrar{Command{
    "results", "results TRACK [--date DD/MM/YYYY] [--race N] [--csv]",
    "the meeting's result states from the tote results site and race N's result",
    "Downloads the meetings (of --date, or today's), chooses TRACK (its first word, letter case\n"
    "ignored), then reads the results site's meeting page of that date as choosing a race does:\n"
    "the results list, the ticker text and, with --race, the results box text of race N.\n"
    "Exit status 1 when a service cannot be reached or the day's results page cannot be fetched.\n"
    "JSON: {date, track, results: [{link, race, track, result}], ticker, resultText}.\n"
    "--csv prints the results list, one record per race: link, race, track, result.",
    {"--date", "--race"}, runResults}};

}  // namespace
}  // namespace selvane::cli
