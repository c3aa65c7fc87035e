#include "Cli.h"
#include "MeetingChoice.h"
#include "ResultsOutput.h"
#include "TipsOutput.h"
#include "form/RaceSelection.h"
#include "form/Tipping.h"
#include "net/PageStatus.h"

namespace selvane::cli {
namespace {

TipWarning warningShown(const FakeMessageBox& box) {
    for (const ShownMessage& m : box.shown) {
        if (m.title == warningTitle(TipWarning::DataError)) return TipWarning::DataError;
        if (m.title == warningTitle(TipWarning::InsufficientForm)) return TipWarning::InsufficientForm;
    }
    return TipWarning::None;
}

std::vector<RunnerEntry> runnerList(const ReportList& list) {
    std::vector<RunnerEntry> entries;
    for (int i = 0; i < list.count(); ++i)
        entries.push_back(RunnerEntry{list.row(i).text, list.subItem(i, 1), list.subItem(i, 2), list.subItem(i, 3),
                                      list.subItem(i, 4), list.subItem(i, 5)});
    return entries;
}

int runRace(Context& ctx) {
    auto app = chooseRaceOfArguments(ctx);
    const MainWindow& w = app->window;
    // A race page that could not be fetched still shows the placeholder tips and the warning:
    // they are printed, and the exit status says the page failed.
    const int row = w.lstRaceName.selectedIndex();
    const std::string raceAddress = racePageAddress(app->services.formGuide, w.lstRaceName.row(row).text,
                                                    w.lstRaceName.subItem(row, 1));
    std::string raceFailure = firstFetchFailure(w);
    if (raceFailure.rfind(std::string(kFetchFailedStatus) + ": " + raceAddress + " ", 0) != 0) raceFailure.clear();
    if (raceFailure.empty()) requireResultsPage(*app);

    ShownTips shown = readShownTips(w);
    shown.warning = warningShown(ctx.ports.messages);
    // Why the tipping published nothing: the same run on the same runner list, off the window.
    const TipOutcome outcome = computeTips(tipInputs(w));
    if (outcome.stop != TipStop::None && outcome.stop != TipStop::EmptyField) shown.error = outcome.error;
    const std::vector<RunnerEntry> field = runnerList(w.lstRaces);

    const std::vector<ShownMessage>& messages = ctx.ports.messages.shown;
    ctx.print(
        [&] {
            nlohmann::json doc = shownTipsJson(shown);
            doc["race"] = {{"track", jsonText(w.lblTrackName.caption())},
                           {"number", jsonText(w.lblRaceNumber.caption())},
                           {"time", jsonText(w.lblRaceTime.caption())},
                           {"length", jsonText(w.lblRaceLength.caption())},
                           {"date", jsonText(w.cmbDateRaces.text())}};
            doc["field"] = runnerEntriesJson(field);
            doc["messages"] = nlohmann::json::array();
            for (const ShownMessage& m : messages)
                doc["messages"].push_back({{"title", jsonText(m.title)}, {"text", jsonText(m.text)}});
            doc.update(shownResultsJson(w));
            return doc;
        },
        [&](std::ostream& out) {
            out << toUtf8(w.cmbDateRaces.text()) << "  " << toUtf8(w.lblTrackName.caption()) << "  Race #. "
                << toUtf8(w.lblRaceNumber.caption()) << "  " << toUtf8(w.lblRaceTime.caption()) << "  "
                << toUtf8(w.lblRaceLength.caption()) << "\n\nField\n";
            printRunnerEntries(out, field);
            out << "\n";
            printShownTips(out, shown);
            for (const ShownMessage& m : messages)
                out << "Message \"" << plainText(m.title) << "\": " << plainText(m.text) << "\n";
            out << "\nMeeting results\n";
            printShownResults(out, w);
        });
    if (raceFailure.empty()) return kOk;
    ctx.err << "selvane-cli race: " << raceFailure << "\n";
    return kInputError;
}

const Registrar registrar{Command{
    "race", "race TRACK RACE [--date DD/MM/YYYY]",
    "a race's field, its five tips, the each-way best bet and any warning",
    "Downloads the meetings (of --date, or today's), chooses TRACK (its first word, letter case\n"
    "ignored) and double-clicks race RACE as the window would: prints the race details, the\n"
    "field, the tips, the grid with the each-way best bet, the status line, the warning and the\n"
    "meeting's result states. Exit status 1 when the service cannot be reached or has no such\n"
    "meeting or race, or the race page or the results site's page of the day cannot be fetched\n"
    "(a race page that cannot be fetched still prints the placeholder tips and the warning); a\n"
    "race without data is a warning, not an error.\n"
    "JSON: the keys of tips, plus race {track, number, time, length, date}, field [{number,\n"
    "form, name, jockey, weight, barrier}], messages [{title, text}], results, ticker, resultText.",
    {"--date"}, runRace}};

}  // namespace
}  // namespace selvane::cli
