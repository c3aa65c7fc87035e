// The live results command and the results links against the stand-in's tote results site,
// with the main window as choosing a meeting and a race leaves it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

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
    std::string title;
    std::string location;
    std::string wrapper;        // iFrame_results.html at that moment
    bool resultsPage = false;   // results.html there
    bool mainEnabled = false;   // the busy bracket closed before the window came up
    bool hourglass = true;
};

struct LiveResultsFlow : ::testing::Test {
    test::StandinFixture web;
    test::AppFixture fx{web.services()};
    App& app = *fx.app;
    MainWindow& w = app.window;
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    // One with a seventh race, for the links.
    const sd::Meeting& meeting = *std::find_if(day.meetings.begin(), day.meetings.end(),
                                               [](const sd::Meeting& m) { return m.races.size() >= 7; });
    std::vector<Shown> shown;

    LiveResultsFlow() {
        wireCommands(app);
        fx.fakes.modal.onShow = [this](Window& window) {
            auto& r = dynamic_cast<ResultsWindow&>(window);
            shown.push_back({r.lblMeetingName.caption(), r.WBResults.location(),
                             test::readFile(app.workPath("iFrame_results.html")),
                             std::filesystem::exists(app.workPath("results.html")), w.cmdLiveResults.enabled(),
                             fx.fakes.pointer.hourglass});
        };
    }

    void setClock(int minutes) {
        char iso[32];
        std::snprintf(iso, sizeof iso, "2026-12-06T%02d:%02d", minutes / 60, minutes % 60);
        web.server.setNow(iso);
    }

    // The meeting chosen, its results fetched, race `race` chosen, as the race commands leave it.
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

    std::string framing(const std::string& page) const {
        return "<iframe src=\"" + page + "\"\r\n";
    }
};

TEST_F(LiveResultsFlow, PlaceholderUntilTheRaceIsFinalThenItsResultTables) {
    const sd::Race& race = meeting.races[1];
    struct Case {
        int minutesFromJump;
        std::string state;
        std::string framed;
        std::string titleEnd;
        bool resultsPage;
    };
    const Case cases[] = {
        {-10, race.toteTime(), "blank_results.html", " - #R.02", false},
        {1, "CLOSED", "blank_results.html", " - #R.02", false},
        {4, "INTERIM", "blank_results.html", " - #R.02", false},
        {30, sd::placingsText(race), "results.html", " - #02", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        shown.clear();
        setClock(race.startMinutes + c.minutesFromJump);
        chooseRace(2);
        ASSERT_EQ(w.lstResults.subItem(1, 3), c.state);
        w.cmdLiveResults.click();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(w.lstResults.selectedIndex(), 1);
        EXPECT_EQ(shown[0].title, meeting.track + c.titleEnd);
        EXPECT_EQ(shown[0].location, app.workPath("iFrame_results.html"));
        EXPECT_NE(shown[0].wrapper.find(framing(c.framed)), std::string::npos);
        EXPECT_EQ(shown[0].resultsPage, c.resultsPage);
        EXPECT_TRUE(shown[0].mainEnabled);
        EXPECT_FALSE(shown[0].hourglass);
        // The raw race page is never left behind.
        EXPECT_FALSE(std::filesystem::exists(app.workPath(meeting.toteCode + "02.html")));
    }
    // The final race's tables on black, finished and closed.
    const std::string page = test::readFile(app.workPath("results.html"));
    EXPECT_NE(page.find("</head>\r\n<body bgcolor=\"#000000\""), std::string::npos);
    EXPECT_NE(page.find("\r\n<table width=\"100%\" border=\"1\" cellpadding=\"0\">\r\n<tr>\r\n<td>\r\nRace 2\r\n"),
              std::string::npos);
    EXPECT_NE(page.find("\r\nOFFICIAL\r\n"), std::string::npos);
    const std::string end = "</table>\r\n</body>\r\n</html>\r\n";
    EXPECT_EQ(page.substr(page.size() - end.size()), end);
    EXPECT_EQ(w.stBar.panel(2), "");
}

TEST_F(LiveResultsFlow, ARacePageThatCannotBeFetchedNeverShowsAnEarlierResult) {
    setClock(meeting.races[2].startMinutes + 30);
    chooseRace(1);
    w.cmdLiveResults.click();
    ASSERT_EQ(shown.size(), 1u);
    ASSERT_NE(shown[0].wrapper.find(framing("results.html")), std::string::npos);

    const std::string missing = "/tote/2026/12/06/" + meeting.toteCode + "03.html";
    struct Case {
        std::string body;
        int status;
        std::string panel2;
    };
    const Case cases[] = {
        {"<html><body>Not found</body></html>", 404,
         "Page could not be fetched: " + web.server.resultsSiteRoot() + "2026/12/06/" + meeting.toteCode + "03.html (HTTP 404)"},
        // Fetched, but the tables are not there.
        {"<html><body><p>Results are being updated</p></body></html>", 200, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        shown.clear();
        web.server.setOverride(missing, c.body, c.status);
        chooseRace(3);
        w.cmdLiveResults.click();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].title, meeting.track + " - #03");
        EXPECT_NE(shown[0].wrapper.find(framing("blank_results.html")), std::string::npos);
        EXPECT_FALSE(shown[0].resultsPage);
        EXPECT_EQ(w.stBar.panel(2), c.panel2);
    }
}

TEST_F(LiveResultsFlow, BoxesBeforeTheBracketWithTheWindowAsTheUserLeftIt) {
    setClock(meeting.races[0].startMinutes + 30);
    fx.fakes.messages.watchedWindow = &w;
    struct Case {
        std::string name;
        bool raceChosen;
        bool resultsListed;
        std::string title;  // empty: no box
        std::string text;
        MessageIcon icon;
    };
    const Case cases[] = {
        {"no race chosen", false, true, "No Race Select",
         "You have not select any races yet.\r\rWhich race number you want to see the live results\r"
         "please double click to select it first.",
         MessageIcon::Information},
        {"meeting not on the results site", true, false, "Live Results Inaccessible",
         "Could not access any live results data for Meeting: " + meeting.name +
             "\rThis is probably due to race results has no record available.",
         MessageIcon::Critical},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fx.fakes.messages.shown.clear();
        chooseRace(1);
        if (!c.raceChosen) w.lblRaceNumber.setCaption(" ");
        if (!c.resultsListed) w.lstResults.clear();
        const int focus = w.lstRaceName.focusRequests();
        const std::size_t requests = web.server.requestCount();
        w.cmdLiveResults.click();
        ASSERT_EQ(fx.fakes.messages.shown.size(), 1u);
        const ShownMessage& box = fx.fakes.messages.shown[0];
        EXPECT_EQ(box.title, c.title);
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        EXPECT_TRUE(box.windowEnabled);
        EXPECT_TRUE(box.pointerNormal);
        EXPECT_EQ(w.lstRaceName.focusRequests() - focus, c.raceChosen ? 0 : 1);
        EXPECT_EQ(web.server.requestCount(), requests);
        EXPECT_TRUE(shown.empty());
    }

    // An empty race list: no reaction at all.
    fx.fakes.messages.shown.clear();
    w.lstRaceName.clear();
    w.cmdLiveResults.click();
    EXPECT_TRUE(fx.fakes.messages.shown.empty());
    EXPECT_TRUE(shown.empty());
}

TEST_F(LiveResultsFlow, ResultsButtonAndTickerOpenTheRacesResultAddress) {
    setClock(meeting.races[0].startMinutes - 60);
    const std::string day = web.server.resultsSiteRoot() + "2026/12/06/" + meeting.toteCode;
    struct Case {
        int race;  // 0: none selected
        bool byTicker;
        std::vector<std::string> opened;
    };
    const Case cases[] = {
        {7, false, {day + "07.html"}},
        {7, true, {day + "07.html"}},
        {2, true, {day + "02.html"}},
        {0, false, {}},
        {0, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.race) + (c.byTicker ? " ticker" : " button"));
        fx.fakes.shell.opened.clear();
        chooseRace(c.race == 0 ? 1 : c.race);
        if (c.race == 0) w.lstRaceName.setSelectedIndex(-1);
        if (c.byTicker)
            w.lblScrollResults.onClick();
        else
            w.cmdResults.click();
        EXPECT_EQ(fx.fakes.shell.opened, c.opened);
    }
    EXPECT_TRUE(shown.empty());
}

}  // namespace
}  // namespace selvane
