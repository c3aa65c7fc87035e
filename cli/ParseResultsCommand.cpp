#include <iomanip>

#include "Cli.h"
#include "ResultsOutput.h"
#include "app/MainWindow.h"
#include "results/CheckResults.h"
#include "results/ResultParser.h"

namespace selvane::cli {
namespace {

// The results rows, ticker and chosen race's text, as the main window would show them.
struct Shown {
    std::vector<ReportRow> rows;
    std::string ticker;
    std::string resultText;
};

Shown showFor(const ResultTables& t, const std::string& track, double race) {
    MainWindow w;
    fillMeetingResults(w, t, track, race);
    return Shown{w.lstResults.rows(), w.lblScrollResults.caption(), w.txtResults.text()};
}

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
        for (int r = 1; r <= t.resultRaceCounts[i]; ++r) out << " R" << r << ": " << toUtf8(t.resultRecords[i].result(r));
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

    if (ctx.json) {
        nlohmann::json doc{{"meetings", meetingsJson(tables)}, {"meetingCount", tables.resultMeetingCount}};
        if (track) {
            const Shown shown = showFor(tables, *track, race);
            doc.update(shownResultsJson(shown.rows, shown.ticker, shown.resultText));
        }
        ctx.out << doc.dump(2) << "\n";
        return kOk;
    }
    printMeetings(ctx.out, tables);
    if (track) {
        const Shown shown = showFor(tables, *track, race);
        ctx.out << "\n";
        printShownResults(ctx.out, shown.rows, shown.ticker, shown.resultText);
    }
    return kOk;
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
