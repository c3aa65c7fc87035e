#include "app/Commands.h"

#include "app/App.h"
#include "app/ExitCleanUp.h"
#include "app/Recording.h"
#include "form/RaceSelection.h"
#include "kit/ShellOpen.h"
#include "meetings/MeetingCommands.h"
#include "odds/OddsCommand.h"
#include "promo/TellAFriend.h"
#include "promo/WebLink.h"
#include "results/LiveResults.h"
#include "results/Ticker.h"

namespace selvane {
namespace {

void wireMeetingCommands(App& app) {
    MainWindow& w = app.window;
    w.cmdDownload.onClick = [&app] {
        downloadRaceMeetings(app, app.window, app.meetings, app.connection, app.chosenRace);
    };
    w.cmdPrevious.onClick = [&app] { downloadPreviousMeetings(app, app.window, app.meetings); };
    w.cmbDateRaces.onClick = [&app] { chooseMeetingDate(app, app.window, app.meetings, app.chosenRace); };
    w.cmbTrackName.onClick = [&app] { chooseTrack(app.window, app.meetings, app.chosenRace); };
}

void wireRaceSelection(App& app, const CommandShown& shown) {
    MainWindow& w = app.window;
    w.lstRaceName.onDoubleClick = [&app, shown] {
        const std::string at = recordTime();
        chooseRace(app, app.window, app.runners, app.results, app.chosenRace);
        if (shown) shown(at, nullptr);
    };
    w.lstRaces.onClick = [&app] { rerunTips(app, app.window, app.chosenRace); };
    w.Command1.onClick = [&app] {
        reanalyseStoredRace(app, app.window, app.runners, app.chosenRace);
    };
}

void wireResults(App& app, const CommandShown& shown) {
    MainWindow& w = app.window;
    w.timerResultScroll.onTimer = [&app] { tickResultScroll(app.window, app.ports.measure); };
    w.cmdLiveResults.onClick = [&app, shown] {
        const std::string at = recordTime();
        liveResults(app, app.window, app.chosenRace);
        if (shown) shown(at, nullptr);
    };
    const auto openLink = [&app] {
        if (app.ports.shell) openResultsLink(app.window, *app.ports.shell, app.services.resultsSiteRoot);
    };
    w.cmdResults.onClick = openLink;
    w.lblScrollResults.onClick = openLink;
}

void wireOdds(App& app, const CommandShown& shown) {
    app.window.cmdLiveOdds.onClick = [&app, shown] {
        // The prices are as fetched at the click, however long the punter keeps their window.
        const std::string at = recordTime();
        const LiveOddsRun run = liveOdds(app, app.window, app.chosenRace, app.odds);
        if (shown) shown(at, &run);
    };
}

void wirePromotion(App& app) {
    MainWindow& w = app.window;
    w.cmdEmail.onClick = [&app] { cmdEmail(app.services.makerSite, app.ports.mail, app.ports.messages); };
    // The web link answers the release of a button, not a click: a right click must not open it.
    w.cmdWeb.onMouseUp = [&app](int button) { cmdWebMouseUp(button, app.services.makerSite, app.ports.shell); };
    // The advert strip shows only the frame page; its links open in the punter's browser.
    w.WebBrowser1.onLinkClick = [&app](const std::string& address) { openClickedLink(app.ports.shell, address); };
}

}  // namespace

void wireCommands(App& app, CommandShown shown) {
    app.window.cmdExit.onClick = [&app] { exitProgram(app); };
    wireMeetingCommands(app);
    wireRaceSelection(app, shown);
    wireResults(app, shown);
    wirePromotion(app);
    wireOdds(app, shown);
}

}  // namespace selvane
