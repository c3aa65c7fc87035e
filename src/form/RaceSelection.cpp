#include "form/RaceSelection.h"

#include "kit/BusyBracket.h"
#include "kit/Guarded.h"
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

// The chosen race as the race list row gives it.
struct ChosenRace {
    std::string link;
    std::string number;
    std::string track;
};

// Empties what the previous race left on screen.
void clearRaceDisplay(MainWindow& w, RunnerTable& runners) {
    guarded([&] {
        msfClear(w);
        w.stBar.setPanel(2, "");
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
void showRace(MainWindow& w, RunnerTable& runners, std::string page, const ChosenRace& race) {
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
        w.setRaceLabels("TrackName: " + escapeAmpersands(w.lstRaceName.subItem(i, 3)),
                        "Time: " + w.lstRaceName.subItem(i, 2), "Length: " + w.lstRaceName.subItem(i, 4),
                        w.lstRaceName.subItem(i, 1));
    });
}

}  // namespace

std::string escapeAmpersands(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

std::string racePageAddress(const std::string& formGuide, std::string_view link, std::string_view raceNumber) {
    const std::string_view code = link.empty() ? link : link.substr(1);
    return formGuide + "/cgi-bin/tvf/memdeliver.pl/" + text::addressPart(code) + text::addressPart(raceNumber) +
           ".htm?tvf3";
}

std::string raceDataErrorText(std::string_view trackPart) {
    return "Could not access any data for race's " + std::string(text::trimSpaces(trackPart)) + "\r\n" +
           "This is probably due to data error or no data available." + "\r\n\r\n" + kInsufficientFormText;
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

void chooseRace(Context& ctx, MainWindow& w, RunnerTable& runners, ResultTables& results) {
    if (w.lstRaceName.count() == 0) return;
    const CommandScope command(ctx);
    ChosenRace race;
    BusyBracket bracket(w, ctx.ports.pointer, &w.pgBar);
    clearRaceDisplay(w, runners);
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
    showRace(w, runners, std::move(page), race);
    guarded([&] { checkResults(ctx, w, results); });
    bracket.close();
    guarded([&] { reportTipOutcome(ctx.ports.messages, w, race.track); });
}

void rerunTips(Context& ctx, MainWindow& w) {
    if (w.lstRaces.count() == 0) return;
    // A run that stops keeps the previous tips on screen; the report then goes by what is shown.
    workoutPlaces(w);
    reportTipOutcome(ctx.ports.messages, w, text::trimSpaces(w.lblTrackName.caption()));
}

void reanalyseStoredRace(Context& ctx, MainWindow& w, RunnerTable& runners) {
    clearRaceDisplay(w, runners);
    // The race page the last choice read: test.html holds the results page by now.
    showRace(w, runners, w.racePage, ChosenRace{});
    guarded([&] { reportTipOutcome(ctx.ports.messages, w, ""); });
}

}  // namespace selvane
