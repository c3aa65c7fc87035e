#include <iomanip>

#include "Cli.h"
#include "ResultsOutput.h"
#include "kit/MainWindow.h"
#include "results/CheckResults.h"
#include "results/ResultParser.h"

namespace selvane::cli {
namespace {

nlohmann::json meetingsJson(const ResultTables& t) {
    nlohmann::json meetings = nlohmann::json::array();
    for (int i = 1; i <= t.storedMeetings(); ++i) {
        nlohmann::json races = nlohmann::json::array();
        for (int r = 1; r <= t.resultRaceCounts[i]; ++r) races.push_back(jsonText(t.resultRecords[i].result(r)));
        meetings.push_back({{"name", jsonText(t.resultMeetingNames[i])},
                            {"code", jsonText(t.resultRecords[i].code(1))},
                            {"races", races}});
    }
    return meetings;
}

void printMeetings(std::ostream& out, const ResultTables& t) {
    out << "Meetings on the page: " << t.storedMeetings() << " (counted: " << t.resultMeetingCount << ")\n";
    for (int i = 1; i <= t.storedMeetings(); ++i) {
        out << "  " << std::setw(2) << i << "  " << leftAligned(t.resultMeetingNames[i], 24) << " "
            << rightAligned(t.resultRecords[i].code(1), 2) << " ";
        for (int r = 1; r <= t.resultRaceCounts[i]; ++r) out << " R" << r << ": " << terminalLine(t.resultRecords[i].result(r));
        out << "\n";
    }
}

int runParseResults(Context& ctx) {
    ctx.args.expect(1, 1, {"--track", "--race"});
    const double race = raceOption(ctx.args.option("--race"));
    const auto track = ctx.args.option("--track");
    // The race's text is read from the results list of the meeting --track names.
    if (ctx.args.flag("--race") && !track) throw UsageError("--race needs --track");
    std::string page = readInputFile(ctx.args.at(0, "FILE"));

    ResultTables tables;
    parseResultMeetings(tables, page);
    MainWindow w;  // the results controls, as the main window would show them
    if (track) fillMeetingResults(w, tables, *track, race);
    return ctx.print(
        [&] {
            nlohmann::json doc{{"meetings", meetingsJson(tables)}, {"meetingCount", tables.resultMeetingCount}};
            if (track) doc.update(shownResultsJson(w));
            return doc;
        },
        [&](std::ostream& out) {
            printMeetings(out, tables);
            if (!track) return;
            out << "\n";
            printShownResults(out, w);
        });
}

const Registrar registrar{Command{
    "parse results", "parse results FILE [--track T] [--race N]",
    "read a saved results meeting page (mtgraces.html) into the results tables",
    "FILE is the page as the program stores it (raw lines). Prints the meetings of the horse\n"
    "section; with --track, the results list of the meeting the track box text T names, the\n"
    "ticker text and the results box text of race N.\n"
    "JSON: {meetings: [{name, code, races}], meetingCount, and with --track: results: [{link,\n"
    "race, track, result}], ticker, resultText}.",
    {"--track", "--race"},
    runParseResults}};

}  // namespace
}  // namespace selvane::cli
