#include "form/RaceSelection.h"

#include "kit/BusyBracket.h"
#include "kit/Guarded.h"
#include "kit/RaceMessages.h"
#include "form/TipGrid.h"
#include "form/FormText.h"
#include "form/RaceFieldParser.h"
#include "form/RunnerList.h"
#include "form/TipWarning.h"
#include "form/Tipping.h"
#include "net/PageLoader.h"
#include "net/PageStatus.h"
#include "net/PageText.h"
#include "net/WorkFiles.h"
#include "results/CheckResults.h"

namespace selvane {
namespace {

// The race list row the page address is built from.
struct RaceRowKey {
    std::string link;
    std::string number;
    std::string track;
};

// Empties what the previous race left on screen; no race is chosen until the new one is shown.
void clearRaceDisplay(MainWindow& w, RunnerTable& runners, ChosenRace& chosen) {
    guarded([&] {
        msfClear(w);
        w.stBar.setPanel(2, "");
        chosen = {};
        w.setRaceLabels("TrackName: ", "Time: ", "Length: ", " ");
        w.lblScrollResults.setCaption("");
        w.txtResults.setText("");
    });
    guarded([&] {
        runners.clearRows(w.lstRaces.count());
        w.lstRaces.clear();
        w.lstTips.clear();
    });
}

// Reads the race page into the runner list, tips it and marks the chosen row: the steps the
// race choice and Command1 share.
void showRace(MainWindow& w, RunnerTable& runners, std::string page, const RaceRowKey& race, ChosenRace& chosen) {
    guarded([&] {
        w.racePage = page;
        parseRaceField(runners, page, &w.pgBar);
    });
    guarded([&] { fillRunnerList(w, runners); });
    guarded([&] {
        w.lblTitle.setCaption(w.lblTitle.caption() + "    --> Track name: " + escapeAmpersands(race.track) +
                              "Race #. " + race.number);
    });
    guarded([&] { workoutPlaces(w); });
    guarded([&] {
        // The mark is never taken off, so the races already visited stay marked.
        const int i = w.lstRaceName.selectedIndex();
        if (i < 0) return;
        w.lstRaceName.setForeColour(i, kVisitedRaceColour);
        const ReportList& list = w.lstRaceName;
        chosen = ChosenRace{.date = w.cmbDateRaces.text(),
                            .meeting = w.cmbTrackName.text(),
                            .link = list.row(i).text,
                            .number = list.subItem(i, 1),
                            .time = list.subItem(i, 2),
                            .track = list.subItem(i, 3),
                            .length = list.subItem(i, 4)};
        showChosenRace(w, chosen);
    });
}

}  // namespace

std::string racePageAddress(const std::string& formGuide, std::string_view link, std::string_view raceNumber) {
    const std::string_view code = link.empty() ? link : link.substr(1);
    return formGuide + "/cgi-bin/tvf/memdeliver.pl/" + text::addressPart(code) + text::addressPart(raceNumber) +
           ".htm?tvf3";
}

std::string raceDataErrorText(std::string_view trackPart) {
    return couldNotAccessText("data", "race's " + std::string(text::trimSpaces(trackPart)), "\r\n",
                              "data error or no data available.") +
           "\r\n\r\n" + kInsufficientFormText;
}

void reportTipOutcome(MessageBoxPort* messages, MainWindow& w, std::string_view trackPart) {
    const TipWarning warning = reportTipOutcome(w);
    if (warning == TipWarning::None || !messages) return;
    if (warning == TipWarning::DataError) {
        messages->show(warningTitle(warning), raceDataErrorText(trackPart), MessageIcon::Critical,
                                 MessageButtons::Ok);
    } else {
        messages->show(warningTitle(warning), kInsufficientFormText, MessageIcon::Information,
                                 MessageButtons::Ok);
    }
}

void chooseRace(Context& ctx, MainWindow& w, RunnerTable& runners, ResultTables& results, ChosenRace& chosen) {
    if (w.lstRaceName.count() == 0) return;
    const CommandScope command(ctx);
    RaceRowKey race;
    BusyBracket bracket(w, ctx.ports.pointer, &w.pgBar);
    clearRaceDisplay(w, runners, chosen);
    guarded([&] {
        const ReportRow& row = w.lstRaceName.row(w.lstRaceName.selectedIndex());
        race.link = row.text;
        race.number = w.lstRaceName.subItem(w.lstRaceName.selectedIndex(), 1);
        race.track = w.lstRaceName.subItem(w.lstRaceName.selectedIndex(), 3);
    });
    guarded([&] {
        w.pageFilePath = racePageAddress(ctx.services.formGuide, race.link, race.number);
        showLoading(w, w.pageFilePath);
        showParsedPage(w, ctx.ports.pump, Parse(ctx, w.pageFilePath));
    });
    std::string page;
    guarded([&] {
        const std::string path = ctx.workPath("test.html");
        if (fileExists(path)) page = readWholeFile(path);
    });
    showRace(w, runners, std::move(page), race, chosen);
    guarded([&] { checkResults(ctx, w, results); });
    bracket.close();
    guarded([&] { reportTipOutcome(ctx.ports.messages, w, race.track); });
}

void rerunTips(Context& ctx, MainWindow& w, const ChosenRace& chosen) {
    if (w.lstRaces.count() == 0) return;
    // A run that stops keeps the previous tips on screen; the report then goes by what is shown.
    workoutPlaces(w);
    // The track part is the label's whole caption, "TrackName: " included.
    reportTipOutcome(ctx.ports.messages, w, text::trimSpaces(chosen.trackCaption()));
}

void reanalyseStoredRace(Context& ctx, MainWindow& w, RunnerTable& runners, ChosenRace& chosen) {
    clearRaceDisplay(w, runners, chosen);
    // The race page the last choice read: test.html holds the results page by now.
    showRace(w, runners, w.racePage, RaceRowKey{}, chosen);
    guarded([&] { reportTipOutcome(ctx.ports.messages, w, ""); });
}

}  // namespace selvane
