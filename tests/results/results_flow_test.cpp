// The results check, the live results command, the results links and the ticker against the
// stand-in's tote results site, with the main window as choosing a meeting and a race leaves it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/App.h"
#include "app/Commands.h"
#include "results/CheckResults.h"
#include "results/ResultsWindow.h"
#include "standin/RaceDay.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

namespace sd = standin;

// What the user saw while the results window was up.
struct Shown {
    std::string title, location;
    std::string wrapper;  // iFrame_results.html at that moment
    bool resultsPage;     // results.html there
    bool mainEnabled;     // the busy bracket closed before the window came up
    bool hourglass;
};

struct ResultsFlow : ::testing::Test {
    test::StandinFixture web;
    test::AppFixture fx{web.services()};
    App& app = *fx.app;
    MainWindow& w = app.window;
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    // One with a seventh race, for the links.
    const sd::Meeting& meeting = *std::find_if(day.meetings.begin(), day.meetings.end(),
                                               [](const sd::Meeting& m) { return m.races.size() >= 7; });
    const std::string site = web.server.resultsSiteRoot() + "2026/12/06/" + meeting.toteCode;
    std::vector<Shown> shown;

    ResultsFlow() {
        wireCommands(app);
        fx.fakes.messages.watchedWindow = &w;
        fx.fakes.modal.onShow = [this](Window& window) {
            auto& r = dynamic_cast<ResultsWindow&>(window);
            shown.push_back({r.lblMeetingName.caption(), r.WBResults.location(),
                             test::readFile(app.workPath("iFrame_results.html")),
                             std::filesystem::exists(app.workPath("results.html")), w.cmdLiveResults.enabled(),
                             fx.fakes.pointer.hourglass});
        };
    }

    void setClock(int minutes) {
        const auto two = [](int n) { return std::to_string(100 + n).substr(1); };
        web.server.setNow("2026-12-06T" + two(minutes / 60) + ":" + two(minutes % 60));
    }

    // The meeting chosen, its results checked, race `race` chosen, as the race commands leave it.
    void chooseRace(int race) {
        if (w.cmbDateRaces.count() == 0) {
            w.cmbDateRaces.addItem("06/12/2026");
            w.cmbTrackName.addItem(meeting.name.substr(0, meeting.name.find(' ')));
        }
        w.cmbDateRaces.setSelectedIndex(0);
        w.cmbTrackName.setSelectedIndex(0);
        w.lblMeeting.setCaption("Meeting: " + meeting.name + " ");
        w.lstRaceName.clear();
        for (const sd::Race& r : meeting.races)
            w.lstRaceName.addRow("m" + meeting.formCode, {std::to_string(r.number), r.startTime(), r.trackWords, ""});
        w.lstRaceName.setSelectedIndex(race - 1);
        checkResults(app, w, app.results);
        w.setRaceLabels("TrackName: " + meeting.track + " ", "Time: ", "Length: ", std::to_string(race));
    }

    bool frames(const Shown& s, const std::string& page) const {
        return s.wrapper.find("<iframe src=\"" + page + "\"\r\n") != std::string::npos;
    }
};

TEST_F(ResultsFlow, CheckResultsStoresTheDaysPageAndListsTheMeeting) {
    // Without a chosen date nothing happens.
    w.lstResults.addRow("old");
    checkResults(app, w, app.results);
    EXPECT_EQ(std::make_pair(web.server.requestCount(), w.lstResults.count()), std::make_pair(std::size_t{0}, 1));

    chooseRace(1);
    EXPECT_EQ(std::make_pair(w.yearPart + w.monthPart + w.dayPart, w.lblTitle.caption()),
              std::make_pair(std::string("20261206"), std::string("Racecourse: ")));
    ASSERT_EQ(w.lstResults.count(), static_cast<int>(meeting.races.size()));
    EXPECT_EQ(std::make_pair(w.lstResults.row(0).text, w.lstResults.subItem(0, 2)),
              std::make_pair(meeting.toteCode, meeting.resultsName));

    // A failed fetch never shows the older page's meetings.
    web.server.setOverride("/tote/2026/12/06/mtgraces.html", "<html><body>Server busy</body></html>", 500);
    w.txtResults.setText("kept");
    checkResults(app, w, app.results);
    EXPECT_EQ(std::make_tuple(w.lstResults.count(), w.lblScrollResults.caption(), w.txtResults.text()),
              std::make_tuple(0, "", "kept"));
    EXPECT_EQ(app.results.resultMeetingCount, 0);
}

// A final race's page that cannot be fetched or holds no tables shows the placeholder, never the
// results.html of the row before.
TEST_F(ResultsFlow, PlaceholderUntilTheRaceIsFinalThenItsResultTables) {
    const sd::Race& race = meeting.races[1];
    std::string placings;
    for (char c : sd::placingsText(race)) placings += c == ',' ? std::string(" - ") : std::string(1, c);
    const std::string final = sd::placingsText(race), blank = "blank_results.html", fetched = "Page could not be "
                              "fetched: " + site + "02.html (HTTP 404)";
    const struct {
        int minutesFromJump;
        std::string state, box, framed, title;
        int status = 0;  // of an override of the race page
        std::string panel2 = {};
    } cases[] = {
        {-10, race.toteTime(), "N/A", blank, " - #R.02"},
        {1, "CLOSED", "CLOSED", blank, " - #R.02"},
        {4, "INTERIM", "N/A", blank, " - #R.02"},
        {30, final, placings, "results.html", " - #02"},
        {30, final, placings, blank, " - #02", 404, fetched},
        {30, final, placings, "results.html", " - #02"},
        {30, final, placings, blank, " - #02", 200, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state + " " + std::to_string(c.status));
        shown.clear();
        web.server.clearOverrides();
        if (c.status) web.server.setOverride("/tote/2026/12/06/" + meeting.toteCode + "02.html", "<p>Updating</p>", c.status);
        setClock(race.startMinutes + c.minutesFromJump);
        chooseRace(2);
        EXPECT_EQ(std::make_pair(w.lstResults.subItem(1, 3), w.txtResults.text()), std::make_pair(c.state, c.box));
        w.cmdLiveResults.click();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(std::make_tuple(w.lstResults.selectedIndex(), shown[0].title, shown[0].location, w.stBar.panel(2)),
                  std::make_tuple(1, meeting.track + c.title, app.workPath("iFrame_results.html"), c.panel2));
        EXPECT_TRUE(frames(shown[0], c.framed));
        EXPECT_EQ(shown[0].resultsPage, c.framed == "results.html");
        EXPECT_TRUE(shown[0].mainEnabled && !shown[0].hourglass);
        // The raw race page is never left behind.
        EXPECT_FALSE(std::filesystem::exists(app.workPath(meeting.toteCode + "02.html")));
        if (c.framed == "results.html") {  // this race's tables
            EXPECT_NE(test::readFile(app.workPath("results.html")).find("\r\nRace 2\r\n"), std::string::npos);
        }
    }
}

TEST_F(ResultsFlow, BoxesBeforeTheBracketWithTheWindowAsTheUserLeftIt) {
    setClock(meeting.races[0].startMinutes + 30);
    const struct {
        bool raceChosen, resultsListed;
        std::string title, text;
        MessageIcon icon;
    } cases[] = {
        {false, true, "No Race Select",
         "You have not select any races yet.\r\rWhich race number you want to see the live results\r"
         "please double click to select it first.",
         MessageIcon::Information},
        {true, false, "Live Results Inaccessible",
         "Could not access any live results data for Meeting: " + meeting.name +
             "\rThis is probably due to race results has no record available.",
         MessageIcon::Critical},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        fx.fakes.messages.shown.clear();
        chooseRace(1);
        if (!c.raceChosen) w.lblRaceNumber.setCaption(" ");
        if (!c.resultsListed) w.lstResults.clear();
        const int focus = w.lstRaceName.focusRequests();
        const std::size_t requests = web.server.requestCount();
        w.cmdLiveResults.click();
        ASSERT_EQ(fx.fakes.messages.shown.size(), 1u);
        const ShownMessage& box = fx.fakes.messages.shown[0];
        EXPECT_EQ(std::tie(box.title, box.text, box.icon, box.buttons),
                  std::make_tuple(c.title, c.text, c.icon, MessageButtons::Ok));
        EXPECT_TRUE(box.windowEnabled && box.pointerNormal);
        EXPECT_EQ(w.lstRaceName.focusRequests() - focus, c.raceChosen ? 0 : 1);
        EXPECT_EQ(web.server.requestCount(), requests);
    }
    // An empty race list: no reaction at all.
    fx.fakes.messages.shown.clear();
    w.lstRaceName.clear();
    w.cmdLiveResults.click();
    EXPECT_TRUE(fx.fakes.messages.shown.empty() && shown.empty());
}

TEST_F(ResultsFlow, ResultsButtonAndTickerOpenTheRacesResultAddress) {
    setClock(meeting.races[0].startMinutes - 60);
    const struct {
        int race;  // 0: none selected
        bool byTicker;
        std::vector<std::string> opened;
    } cases[] = {
        {7, false, {site + "07.html"}}, {2, true, {site + "02.html"}}, {0, false, {}}, {0, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.race) + (c.byTicker ? " ticker" : " button"));
        fx.fakes.shell.opened.clear();
        chooseRace(c.race == 0 ? 1 : c.race);
        if (c.race == 0) w.lstRaceName.setSelectedIndex(-1);
        if (c.byTicker) w.lblScrollResults.onClick();
        else w.cmdResults.click();
        EXPECT_EQ(fx.fakes.shell.opened, c.opened);
    }
}

// The fake measure makes a character 120 twips wide.
TEST_F(ResultsFlow, TickerMovesLeftAndEntersAgainFromTheStripsRightEdge) {
    const int strip = MainWindow::kTickerStripWidthTwips;
    const struct {
        std::string caption;
        int startLeft, ticks, left;
    } cases[] = {
        {"", 0, 2, strip - 4}, {"", 8, 1, 4},  // empty: at or left of 0 goes back at once
        {std::string(75, 'x'), 0, 2249, -8996}, {std::string(75, 'x'), 0, 2250, strip},  // 9000 twips wide
    };
    for (const auto& c : cases) {
        w.lblScrollResults.setCaption(c.caption);
        w.lblScrollResults.setLeft(c.startLeft);
        for (int i = 0; i < c.ticks; ++i) w.timerResultScroll.fire();
        EXPECT_EQ(w.lblScrollResults.left(), c.left) << '"' << c.caption << "\" from " << c.startLeft;
    }
}

}  // namespace
}  // namespace selvane
