// The results check, the live results command, the results links and the ticker against the
// stand-in's tote results site, with the main window as choosing a meeting and a race leaves it.
#include <gtest/gtest.h>

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
    bool ready;           // the busy bracket closed before the window came up
};

struct ResultsFlow : ::testing::Test {
    test::StandinFixture web;
    test::AppFixture fx{web.services()};
    App& app = *fx.app;
    MainWindow& w = app.window;
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    const sd::Meeting& meeting = day.meetings[0];
    const std::string site = web.server.resultsSiteRoot() + "2026/12/06/" + meeting.toteCode;
    std::vector<Shown> shown;

    ResultsFlow() {
        wireCommands(app);
        w.cmbDateRaces.addItem("06/12/2026");
        w.cmbTrackName.addItem(meeting.name.substr(0, meeting.name.find(' ')));
        fx.fakes.messages.watchedWindow = &w;
        fx.fakes.modal.onShow = [this](Window& window) {
            auto& r = dynamic_cast<ResultsWindow&>(window);
            // A link in the result: to the browser when it is a web address.
            for (const char* link : {"file:///etc/passwd", "https://tote.example/AF06.html"})
                r.WBResults.onLinkClick(link);
            shown.push_back({r.lblMeetingName.caption(), r.WBResults.location(),
                             test::readFile(app.workPath("iFrame_results.html")),
                             w.cmdLiveResults.enabled() && !fx.fakes.pointer.hourglass});
        };
    }

    void setClock(int minutes) {
        const auto two = [](int n) { return std::to_string(100 + n).substr(1); };
        web.server.setNow("2026-12-06T" + two(minutes / 60) + ":" + two(minutes % 60));
    }

    // The meeting chosen, its results checked, race `race` chosen, as the race commands leave it.
    void chooseRace(int race) {
        w.cmbDateRaces.setSelectedIndex(0);
        w.cmbTrackName.setSelectedIndex(0);
        w.lstRaceName.clear();
        for (const sd::Race& r : meeting.races)
            w.lstRaceName.addRow("m" + meeting.formCode, {std::to_string(r.number), r.startTime(), r.trackWords, ""});
        w.lstRaceName.setSelectedIndex(race - 1);
        checkResults(app, w, app.results);
        app.chosenRace = {.date = "06/12/2026",
                          .meeting = meeting.name,
                          .link = "m" + meeting.formCode,
                          .number = std::to_string(race),
                          .track = meeting.track + " "};
    }

    // The wrapper's sixteen lines.
    static std::string wrapper(const std::string& framed) {
        return "<html><head><title></title>\r\n<style type=\"Text/css\">\r\n<!--\r\n"
               ".style1 {font-size: 36px; color: #FFFFFF;}\r\n-->\r\n</style>\r\n</head>\r\n"
               "<body bgcolor=\"#000000\" scroll=\"no\" leftMargin=\"5\" topMargin=\"8\" bottommargin=\"0\" "
               "marginheight=\"0\" marginwidth=\"0\">\r\n<iframe src=\"" + framed + "\"\r\n"
               "Scrolling=\"no\" base Target=\"_blank\"\r\nAlign=\"left\" width=\"700\" Height =\"300\"\r\n"
               "leftMargin=\"5\" topMargin=\"8\"\r\nmarginheight=\"0\" marginwidth=\"0\"\r\nframeborder=\"0\">\r\n"
               "</iframe>\r\n</body></html>\r\n";
    }
};

// The placeholder only while a race is not final. A final race's page that cannot be fetched or
// holds no tables shows a page that says so and why, never the placeholder nor the results.html of
// the row before. Both keep the best bet in status panel 2; a failure stands in its place and
// names its address.
TEST_F(ResultsFlow, PlaceholderUntilTheRaceIsFinalThenItsResultOrWhyNot) {
    const sd::Race& race = meeting.races[1];
    std::string placings;
    for (char c : sd::placingsText(race)) placings += c == ',' ? std::string(" - ") : std::string(1, c);
    const std::string final = sd::placingsText(race), blank = "blank_results.html",
                      bestBet = "Tip each way best bet #5",
                      failed = "Page could not be fetched: " + site + "02.html (HTTP 404)";
    const struct {
        int minutesFromJump;
        std::string state, box, framed, title;
        std::string shows = {};  // a line of results.html
        int status = 0;          // of an override of the race page
        std::string body = {};   // its text
        std::string panel2 = "Tip each way best bet #5", lblStatus = "Done";
    } cases[] = {
        {-10, race.toteTime(), "N/A", blank, " - #R.02"},
        {1, "CLOSED", "CLOSED", blank, " - #R.02"},
        {30, final, placings, "results.html", " - #02", "Race 2"},
        {30, final, placings, "results.html", " - #02", "Cause: HTTP 404", 404, "<p>Gone</p>", failed, failed},
        {4, "INTERIM", "N/A", blank, " - #R.02"},
        {30, final, placings, "results.html", " - #02", "Cause: HTTP 404", 404, "<p>Gone</p>", failed, failed},
        {30, final, placings, "results.html", " - #02", "Race 2"},
        {30, final, placings, "results.html", " - #02", "Cause: the page holds no result tables", 200,
         "<p>Updating</p>"},
        // A page that ends before its fifth table end still shows its tables.
        {30, final, placings, "results.html", " - #02", "Race 2 so far", 200,
         R"(<table width="100%" border="1" cellpadding="0"><td>Race 2 so far</td>)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state + " " + std::to_string(c.status));
        shown.clear();
        web.server.clearOverrides();
        if (c.status) web.server.setOverride("/tote/2026/12/06/" + meeting.toteCode + "02.html", c.body, c.status);
        setClock(race.startMinutes + c.minutesFromJump);
        chooseRace(2);
        EXPECT_EQ(std::make_pair(w.lstResults.subItem(1, 3), w.txtResults.text()), std::make_pair(c.state, c.box));
        w.stBar.setPanel(2, bestBet);  // as the race's tips leave it
        w.stBar.setPanelTooltip(2, "Each way: 3 places");
        w.cmdLiveResults.click();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(std::make_tuple(w.lstResults.selectedIndex(), shown[0].title, shown[0].location, shown[0].ready),
                  std::make_tuple(1, meeting.track + c.title, app.workPath("iFrame_results.html"), true));
        EXPECT_EQ(std::make_tuple(w.stBar.panel(2), w.stBar.panelTooltip(2), w.lblStatus.caption()),
                  std::make_tuple(c.panel2, c.panel2 == bestBet ? "Each way: 3 places" : bestBet, c.lblStatus));
        EXPECT_EQ(shown[0].wrapper, wrapper(c.framed));
        // The raw race page is never left behind.
        EXPECT_FALSE(std::filesystem::exists(app.workPath(meeting.toteCode + "02.html")));
        if (c.framed != "results.html") continue;
        const std::string page = test::readFile(app.workPath("results.html"));
        EXPECT_NE(page.find(c.shows), std::string::npos) << page;
        const bool notice = c.shows.rfind("Cause: ", 0) == 0;
        EXPECT_EQ(page.find("The result could not be fetched") != std::string::npos, notice);
    }
    // The results button and the ticker open the race's result page; with no race selected, nothing.
    w.cmdResults.click();
    w.lblScrollResults.onClick();
    w.lstRaceName.setSelectedIndex(-1);
    w.cmdResults.click();
    w.lblScrollResults.onClick();
    std::vector<std::string> opened(std::size(cases), "https://tote.example/AF06.html");
    opened.insert(opened.end(), {site + "02.html", site + "02.html"});
    EXPECT_EQ(fx.fakes.shell.opened, opened);
}

// The meeting page's markup goes to test.html only where something may show it; the CLI over its
// own temporary folder skips the engine's run and shows the same results.
TEST_F(ResultsFlow, TheMeetingPageMarkupOnlyWhereItCanBeSeen) {
    // Whether test.html holds the meeting page's markup, and what the window shows.
    const auto check = [&](bool unseen) {
        app.markupUnseen = unseen;
        std::filesystem::remove(app.workPath("test.html"));
        chooseRace(2);
        const std::string test = app.workPath("test.html");
        std::string shows = w.lblScrollResults.caption() + "|" + w.txtResults.text() + "|" + w.lblTitle.caption() +
                            "|" + w.lblStatus.caption();
        for (int i = 0; i < w.lstResults.count(); ++i) shows += "|" + w.lstResults.row(i).text + " " + w.lstResults.subItem(i, 3);
        return std::make_pair(std::filesystem::exists(test) && test::readFile(test).find(meeting.name) != std::string::npos,
                              shows);
    };
    const auto window = check(false), cli = check(true);
    EXPECT_EQ(std::make_pair(window.first, cli.first), std::make_pair(true, false));
    EXPECT_NE(window.second.find("#R." + std::to_string(meeting.races.back().number) + " "), std::string::npos)
        << window.second;
    EXPECT_EQ(cli.second, window.second);
}

// The boxes come before the busy bracket, with the window as the user left it. A results page
// that cannot be fetched leaves no older page's meetings listed: the results are inaccessible.
TEST_F(ResultsFlow, BoxesBeforeTheBracketWithTheWindowAsTheUserLeftIt) {
    w.lstResults.addRow("old");
    checkResults(app, w, app.results);  // no chosen date: nothing happens
    EXPECT_EQ(std::make_pair(web.server.requestCount(), w.lstResults.count()), std::make_pair(std::size_t{0}, 1));
    const auto box = [&](bool raceChosen) {
        fx.fakes.messages.shown.clear();
        chooseRace(1);
        if (!raceChosen) app.chosenRace.number = " ";
        const int focus = w.lstRaceName.focusRequests();
        w.cmdLiveResults.click();
        EXPECT_EQ(fx.fakes.messages.shown.size(), 1u);
        const ShownMessage& b = fx.fakes.messages.shown.at(0);
        return std::make_tuple(b.title, b.text, b.icon, b.buttons, b.windowEnabled && b.pointerNormal,
                               w.lstRaceName.focusRequests() - focus);
    };
    const std::string noRace = "You have not select any races yet.\r\rWhich race number you want to see the live "
                               "results\rplease double click to select it first.";
    EXPECT_EQ(box(false),
              std::make_tuple("No Race Select", noRace, MessageIcon::Information, MessageButtons::Ok, true, 1));
    EXPECT_EQ(std::make_tuple(w.lblTitle.caption(), w.lstResults.row(0).text, w.lstResults.subItem(0, 2)),
              std::make_tuple("Racecourse: ", meeting.toteCode, meeting.resultsName));

    web.server.setOverride("/tote/2026/12/06/mtgraces.html", "<html><body>Server busy</body></html>", 500);
    EXPECT_EQ(box(true), std::make_tuple("Live Results Inaccessible", "Could not access any live results data for "
                                         "Meeting: " + meeting.name + "\rThis is probably due to race results has no "
                                         "record available.", MessageIcon::Critical, MessageButtons::Ok, true, 0));
    EXPECT_EQ(std::make_tuple(w.lstResults.count(), w.lblScrollResults.caption(), app.results.resultMeetingCount),
              std::make_tuple(0, "", 0));
    // An empty race list: no reaction at all.
    fx.fakes.messages.shown.clear();
    w.lstRaceName.clear();
    w.cmdLiveResults.click();
    EXPECT_TRUE(fx.fakes.messages.shown.empty() && shown.empty());
}

// The fake measure makes a character 120 twips wide.
TEST_F(ResultsFlow, TickerMovesLeftAndEntersAgainFromTheStripsRightEdge) {
    const int strip = MainWindow::kTickerStripWidthTwips;
    const std::tuple<std::string, int, int, int> cases[] = {  // caption, left before, ticks, left after
        {"", 0, 2, strip - 4}, {"", 8, 1, 4},  // empty: at or left of 0 goes back at once
        {std::string(75, 'x'), 0, 2249, -8996}, {std::string(75, 'x'), 0, 2250, strip},  // 9000 twips wide
    };
    for (const auto& [caption, from, ticks, left] : cases) {
        w.lblScrollResults.setCaption(caption);
        w.lblScrollResults.setLeft(from);
        for (int i = 0; i < ticks; ++i) w.timerResultScroll.fire();
        EXPECT_EQ(w.lblScrollResults.left(), left) << '"' << caption << "\" from " << from;
    }
}

}  // namespace
}  // namespace selvane
