// checkResults against the stand-in's tote results site, with the date and track boxes and the
// race list set as the meeting commands leave them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/App.h"
#include "results/CheckResults.h"
#include "standin/Pages.h"
#include "standin/RaceDay.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

namespace sd = standin;

struct CheckResultsFlow : ::testing::Test {
    test::StandinFixture web;
    test::AppFixture fx{web.services()};
    App& app = *fx.app;
    MainWindow& w = app.window;
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);

    // The date box on date, the track box on the meeting's first word, race `race` selected.
    void choose(const std::string& date, const std::string& track, int race) {
        w.cmbDateRaces.addItem(date);
        w.cmbDateRaces.setSelectedIndex(w.cmbDateRaces.count() - 1);
        w.cmbTrackName.addItem(track);
        w.cmbTrackName.setSelectedIndex(w.cmbTrackName.count() - 1);
        w.lstRaceName.clear();
        for (int r = 1; r <= race; ++r) w.lstRaceName.addRow("mxxx", {std::to_string(r), "12:00", "X ", "1000m"});
        w.lstRaceName.setSelectedIndex(race - 1);
    }

    std::string pagePath() const { return "/tote/2026/12/06/mtgraces.html"; }
};

TEST_F(CheckResultsFlow, FetchesTheDatesPageIntoTheWorkFolder) {
    const sd::Meeting& m = day.meetings[1];
    choose("06/12/2026", m.name.substr(0, m.name.find(' ')), 1);
    checkResults(app, app.window, app.results);
    EXPECT_EQ(w.yearPart + w.monthPart + w.dayPart, "20261206");
    // Stored as downloadTRACK stores it: every line break a CR LF, no empty lines.
    std::string lines, line;
    for (char c : web.server.reply(pagePath()).body) {
        if (c != '\r' && c != '\n') {
            line += c;
        } else if (!line.empty()) {
            lines += line + "\r\n";
            line.clear();
        }
    }
    EXPECT_EQ(test::readFile(app.workPath("mtgraces.html")), lines);
    EXPECT_EQ(w.lblTitle.caption(), "Racecourse: ");
    ASSERT_EQ(w.lstResults.count(), static_cast<int>(m.races.size()));
    EXPECT_EQ(w.lstResults.row(0).text, m.toteCode);
    EXPECT_EQ(w.lstResults.subItem(0, 2), m.resultsName);
}

TEST_F(CheckResultsFlow, WithoutAChosenDateNothingHappens) {
    w.lstResults.addRow("old");
    w.txtResults.setText("old");
    const std::size_t requests = web.server.requestCount();
    checkResults(app, app.window, app.results);
    EXPECT_EQ(web.server.requestCount(), requests);
    EXPECT_EQ(w.lstResults.count(), 1);
    EXPECT_EQ(w.txtResults.text(), "old");
}

TEST_F(CheckResultsFlow, AFailedFetchNeverShowsTheOlderPagesMeetings) {
    const sd::Meeting& m = day.meetings[0];
    choose("06/12/2026", m.name.substr(0, m.name.find(' ')), 1);
    checkResults(app, app.window, app.results);
    ASSERT_EQ(w.lstResults.count(), static_cast<int>(m.races.size()));

    web.server.setOverride(pagePath(), "<html><body>Server busy</body></html>", 500);
    w.txtResults.setText("kept");
    checkResults(app, app.window, app.results);
    EXPECT_EQ(w.lstResults.count(), 0);
    EXPECT_EQ(w.lblScrollResults.caption(), "");
    EXPECT_EQ(w.txtResults.text(), "kept");
    EXPECT_EQ(app.results.resultMeetingCount, 0);
}

TEST_F(CheckResultsFlow, APageWithoutTheTrottingHeadingCountsItsMeetings) {
    std::string page = web.server.reply(pagePath()).body;
    page = page.substr(0, page.find("TROTS"));
    web.server.setOverride(pagePath(), page);
    const sd::Meeting& m = day.meetings.back();
    choose("06/12/2026", m.name.substr(0, m.name.find(' ')), 2);
    checkResults(app, app.window, app.results);
    EXPECT_EQ(app.results.resultMeetingCount, static_cast<int>(day.meetings.size()));
    EXPECT_EQ(w.lstResults.count(), static_cast<int>(m.races.size()));
}

TEST_F(CheckResultsFlow, RaceStatesMoveWithTheClock) {
    const sd::Meeting& m = day.meetings[0];
    const sd::Race& race = m.races[0];
    const std::string track = m.name.substr(0, m.name.find(' '));
    const auto at = [&](int minutesFromJump) {
        const int t = race.startMinutes + minutesFromJump;
        char iso[32];
        std::snprintf(iso, sizeof iso, "2026-12-06T%02d:%02d", t / 60, t % 60);
        web.server.setNow(iso);
        choose("06/12/2026", track, 1);
        checkResults(app, app.window, app.results);
        return std::pair{w.lstResults.subItem(0, 3), w.txtResults.text()};
    };
    std::string placings;
    for (char c : sd::placingsText(race)) placings += c == ',' ? std::string(" - ") : std::string(1, c);
    const std::vector<std::pair<int, std::pair<std::string, std::string>>> cases = {
        {-10, {race.toteTime(), "N/A"}},
        {1, {"CLOSED", "CLOSED"}},
        {3, {"INTERIM", "N/A"}},
        {30, {sd::placingsText(race), placings}},
    };
    for (const auto& [minutes, want] : cases) EXPECT_EQ(at(minutes), want) << minutes;
}

}  // namespace
}  // namespace selvane
