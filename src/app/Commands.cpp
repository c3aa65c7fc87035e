#include "app/Commands.h"

#include "app/App.h"
#include "app/ExitCleanUp.h"
#include "form/RaceSelection.h"
#include "meetings/MeetingCommands.h"
#include "odds/OddsCommand.h"
#include "results/LiveResults.h"
#include "results/Ticker.h"

namespace selvane {
namespace {

void wireMeetingCommands(App& app) {
    MainWindow& w = app.window;
    w.cmdDownload.onClick = [&app] { downloadRaceMeetings(app, app.window, app.meetings, app.connection); };
    w.cmdPrevious.onClick = [&app] { downloadPreviousMeetings(app, app.window, app.meetings); };
    w.cmbDateRaces.onClick = [&app] { chooseMeetingDate(app, app.window, app.meetings); };
    w.cmbTrackName.onClick = [&app] { chooseTrack(app.window, app.meetings); };
}

void wireRaceSelection(App& app) {
    MainWindow& w = app.window;
    w.lstRaceName.onDoubleClick = [&app] { chooseRace(app, app.window, app.runners, app.results); };
    w.lstRaces.onClick = [&app] { rerunTips(app, app.window); };
    w.Command1.onClick = [&app] { reanalyseStoredRace(app, app.window, app.runners); };
}

void wireResults(App& app) {
    MainWindow& w = app.window;
    w.timerResultScroll.onTimer = [&app] { tickResultScroll(app.window, app.ports.measure); };
    w.cmdLiveResults.onClick = [&app] { liveResults(app, app.window); };
    const auto openLink = [&app] {
        if (app.ports.shell) openResultsLink(app.window, *app.ports.shell, app.services.resultsSiteRoot);
    };
    w.cmdResults.onClick = openLink;
    w.lblScrollResults.onClick = openLink;
}

void wireOdds(App& app) {
    app.window.cmdLiveOdds.onClick = [&app] { liveOdds(app, app.window, app.odds); };
}

}  // namespace

void wireCommands(App& app) {
    app.window.cmdExit.onClick = [&app] { exitProgram(app); };
    wireMeetingCommands(app);
    wireRaceSelection(app);
    wireResults(app);
    wireOdds(app);
}

}  // namespace selvane
