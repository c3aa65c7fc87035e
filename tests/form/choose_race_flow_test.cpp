// Choosing a race against the stand-in services, through the real meeting commands, fetcher and
// HTML engine. The field comes from the stand-in's generated day; the tips are written out.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "form/RaceSelection.h"
#include "standin/Pages.h"
#include "standin/RaceDay.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

namespace sd = standin;

using Rows = std::vector<std::vector<std::string>>;

Rows rowsOf(const ReportList& list) {
    Rows out;
    for (const ReportRow& r : list.rows()) {
        out.push_back({r.text});
        out.back().insert(out.back().end(), r.subItems.begin(), r.subItems.end());
    }
    return out;
}

Rows gridOf(const Grid& g) {
    Rows out;
    for (int r = 1; r < g.rowCount(); ++r) out.push_back({g.cell(r, 0), g.cell(r, 1), g.cell(r, 2), g.cell(r, 3)});
    return out;
}

// Placings as the results box shows them: " - " between the runners.
std::string dashed(const std::string& placings) {
    std::string out;
    for (char c : placings) out += c == ',' ? std::string(" - ") : std::string(1, c);
    return out;
}

const Rows kPlaceholders = {{" 1st", " n/a", " 0%"}, {" 2nd", " n/a", " 0%"}, {" 3rd", " n/a", " 0%"},
                            {" 4th", " n/a", " 0%"}, {" 5th", " n/a", " 0%"}};

struct ChooseRaceFlow : ::testing::Test {
    test::StandinFixture web;
    test::AppFixture f{web.services()};
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    std::vector<std::string> titles;
    std::vector<bool> pointerDuringChoice;

    ChooseRaceFlow() {
        app().ports.connectivity = &f.fakes.connectivity;
        f.fakes.messages.watchedWindow = &w();
        wireCommands(app());
        w().lblTitle.setObserver([this] {
            if (titles.empty() || titles.back() != w().lblTitle.caption()) titles.push_back(w().lblTitle.caption());
        });
    }

    App& app() { return *f.app; }
    MainWindow& w() { return app().window; }
    std::vector<ShownMessage>& shown() { return f.fakes.messages.shown; }

    // Download Race Meetings, then the meeting in the track box (and the date box entry, if given).
    const sd::Meeting& openMeeting(const sd::RaceDay& d, std::size_t meeting, const std::string& date = {}) {
        w().cmdDownload.click();
        if (!date.empty()) {
            const auto& dates = w().cmbDateRaces.entries();
            w().cmbDateRaces.setSelectedIndex(static_cast<int>(std::find(dates.begin(), dates.end(), date) - dates.begin()));
        }
        w().cmbTrackName.setSelectedIndex(static_cast<int>(meeting));
        EXPECT_EQ(w().lstRaceName.count(), static_cast<int>(d.meetings[meeting].races.size()));
        return d.meetings[meeting];
    }

    void choose(int raceNumber) {
        w().lstRaceName.setSelectedIndex(raceNumber - 1);
        titles.clear();
        const std::size_t before = f.fakes.pointer.history.size();
        w().lstRaceName.onDoubleClick();
        pointerDuringChoice.assign(f.fakes.pointer.history.begin() + static_cast<long>(before),
                                   f.fakes.pointer.history.end());
    }

    void override(const sd::Meeting& m, int race, const std::string& page, int status = 200) {
        web.server.setOverride("/cgi-bin/tvf/memdeliver.pl/" + m.formCode + std::to_string(race) + ".htm?tvf3", page,
                               status);
    }

    // The data error box, shown once the window is usable again.
    void expectPlaceholders(const std::string& track) {
        EXPECT_EQ(rowsOf(w().lstTips), kPlaceholders);
        ASSERT_EQ(w().msfResults.rowCount(), 6);
        EXPECT_EQ(w().msfResults.cell(5, 3), " 0");
        ASSERT_EQ(shown().size(), 1u);
        EXPECT_EQ(shown()[0].title, "Race's Data Error");
        EXPECT_EQ(shown()[0].text, "Could not access any data for race's " + track +
                                       "\r\nThis is probably due to data error or no data available.\r\n\r\n"
                                       "No bets should be made due to insufficient form data");
        EXPECT_EQ(shown()[0].icon, MessageIcon::Critical);
        EXPECT_TRUE(shown()[0].windowEnabled);
        EXPECT_TRUE(shown()[0].pointerNormal);
    }

    void expectWindowEnabled() {
        for (Control* c : w().controls()) EXPECT_TRUE(c->enabled());
        EXPECT_FALSE(f.fakes.pointer.hourglass);
    }
};

TEST_F(ChooseRaceFlow, ShowsTheFieldTipsBestBetAndTheMeetingsResults) {
    const sd::LocalTime now = *sd::parseLocalTime("2026-12-06T14:00");
    const sd::Meeting& m = openMeeting(day, 0);
    const sd::Race& race = m.races[1];
    choose(2);

    Rows field;
    for (const sd::Runner& r : race.runners)
        field.push_back({r.number, r.form.empty() ? "\\~" : r.form, r.name, r.jockey, r.weight, std::to_string(r.barrier)});
    EXPECT_EQ(rowsOf(w().lstRaces), field);
    EXPECT_EQ(rowsOf(w().lstTips), (Rows{{" 1st", " 4.  STONY PRINCE", " 40%", "1"}, {" 2nd", " 6.  SIR ROMANCE", " 30%", "3"},
                                         {" 3rd", " 5.  HAPPY EXPRESS", " 30%", "2"}, {" 4th", " 3.  NORTHERN RIDGE", " 20%", "4"},
                                         {" 5th", " 2.  RUSTY RANGER", " 10%", "6"}}));
    EXPECT_EQ(gridOf(w().msfResults),
              (Rows{{" 1st", "  4.  STONY PRINCE", "  40%", " 1"}, {" 2nd", "  5.  HAPPY EXPRESS", "  30%", " 2"},
                    {" 3rd", "  6.  SIR ROMANCE", "  30%", " 3"}, {" 4th", "  3.  NORTHERN RIDGE", "  20%", " 4"},
                    {" 5th", "  2.  RUSTY RANGER", "  10%", " 6"}}));
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(w().msfResults.cellBackColour(r, 1) == 0xC0C000u, r == 1) << r;
    EXPECT_EQ(w().stBar.panel(2), "Tip each way best bet #  4.  STONY PRINCE");

    // The visited races keep their colour; the others have none.
    choose(1);
    EXPECT_EQ(w().lstRaceName.row(0).foreColour, kVisitedRaceColour);
    EXPECT_EQ(w().lstRaceName.row(1).foreColour, kVisitedRaceColour);
    EXPECT_EQ(w().lstRaceName.row(2).foreColour, kDefaultColour);
    choose(2);

    EXPECT_EQ(w().lblTrackName.caption(), "TrackName: " + race.trackWords + " ");
    EXPECT_EQ(w().lblRaceTime.caption(), "Time: " + race.startTime());
    EXPECT_EQ(w().lblRaceLength.caption(), "Length: " + race.lengthText());
    EXPECT_EQ(w().lblRaceNumber.caption(), "2");
    // After the caption it had: the race page's title, the chosen race added to it, then the
    // results page's load.
    ASSERT_GE(titles.size(), 4u);
    EXPECT_EQ(titles[1], "Racecourse : " + m.name + " Race 2");
    EXPECT_EQ(titles[2], "Racecourse : " + m.name + " Race 2    --> Track name: " + race.trackWords + " Race #. 2");
    EXPECT_EQ(titles.back(), "Racecourse: ");

    Rows results;
    std::string ticker;
    for (const sd::Race& r : m.races) {
        const std::string state = sd::resultsStateText(r, day.date, now);
        results.push_back({m.toteCode, std::to_string(r.number), m.resultsName, state});
        ticker += "#R." + std::to_string(r.number) + "  [ " + state + " ];      ";
    }
    EXPECT_EQ(rowsOf(w().lstResults), results);
    EXPECT_EQ(w().lblScrollResults.caption(), ticker);
    ASSERT_EQ(sd::raceStateAt(race, day.date, now), sd::RaceState::Final);
    EXPECT_EQ(w().txtResults.text(), dashed(sd::placingsText(race)));

    expectWindowEnabled();
    EXPECT_EQ(pointerDuringChoice, (std::vector<bool>{true, false}));
}

TEST_F(ChooseRaceFlow, AFieldUnderFiveAndAMissingPageShowPlaceholders) {
    std::size_t meeting = 0;
    int small = 0;
    for (std::size_t i = 0; i < day.meetings.size() && !small; ++i)
        for (const sd::Race& r : day.meetings[i].races)
            if (r.runners.size() < 5) meeting = i, small = r.number;
    ASSERT_NE(small, 0);
    const sd::Meeting& m = openMeeting(day, meeting);
    choose(small);
    EXPECT_EQ(w().lstRaces.count(), static_cast<int>(m.races[small - 1].runners.size()));
    expectPlaceholders(m.races[small - 1].trackWords);
    expectWindowEnabled();

    // A page that cannot be fetched never shows the previous race's field.
    const int other = small == 1 ? 2 : 1;
    override(m, other, "<html><body>Not found</body></html>", 404);
    shown().clear();
    choose(other);
    EXPECT_EQ(w().lstRaces.count(), 0);
    expectPlaceholders(m.races[other - 1].trackWords);
    EXPECT_EQ(w().lblRaceNumber.caption(), std::to_string(other));
    EXPECT_EQ(w().lstRaceName.row(other - 1).foreColour, kVisitedRaceColour);
    expectWindowEnabled();
}

// Eight runners of which `withoutForm` have an empty form cell (first starters here write none).
std::string eightRunnerPage(const sd::RaceDay& day, const sd::Meeting& m, int withoutForm) {
    sd::Race race = m.races[2];
    race.runners.resize(8);
    const char* forms[] = {"3121", "1111", "3331", "21", "6", "452", "x31", "2"};
    for (int i = 0; i < 8; ++i) {
        sd::Runner& r = race.runners[i];
        r.number = std::to_string(i + 1);
        r.num = i + 1;
        r.emergency = r.scratched = false;
        r.barrier = i + 1;
        r.form = i >= 8 - withoutForm ? "" : forms[i];
    }
    std::string page = sd::racePage(day, m, race);
    for (std::size_t at; (at = page.find("<td>&nbsp;</td>")) != std::string::npos;) page.replace(at, 15, "<td></td>");
    return page;
}

TEST_F(ChooseRaceFlow, InsufficientFormAndTickingAFormlessRunner) {
    const sd::Meeting& m = openMeeting(day, 0);
    for (const auto& [withoutForm, warned] : std::vector<std::pair<int, bool>>{{3, true}, {2, true}, {1, false}}) {
        SCOPED_TRACE(withoutForm);
        override(m, 3, eightRunnerPage(day, m, withoutForm));
        shown().clear();
        choose(3);
        EXPECT_EQ(w().lstRaces.count(), 8);
        EXPECT_EQ(w().insufficientFormCount, withoutForm);
        ASSERT_EQ(shown().size(), warned ? 1u : 0u);
        if (warned) {
            EXPECT_EQ(shown()[0].title, "Insufficient Form");
            EXPECT_EQ(shown()[0].text, "No bets should be made due to insufficient form data");
            EXPECT_EQ(shown()[0].icon, MessageIcon::Information);
        }
    }

    // Two without form warn; ticking one of them and clicking the list takes the warning away.
    override(m, 3, eightRunnerPage(day, m, 2));
    choose(3);
    shown().clear();
    w().lstRaces.setChecked(7, true);
    w().lstRaces.onClick();
    EXPECT_EQ(rowsOf(w().lstTips), (Rows{{" 1st", " 1.  CAPTAIN ROVER", " 75%", "1"}, {" 2nd", " 2.  OCEAN WARRIOR", " 73%", "2"},
                                         {" 3rd", " 4.  NORTHERN ROMANCE", " 50%", "4"}, {" 4th", " 3.  COPPER PRINCESS", " 50%", "3"},
                                         {" 5th", " 6.  ROYAL VENTURE", " 12%", "6"}}));
    EXPECT_EQ(w().insufficientFormCount, 1);
    EXPECT_EQ(shown().size(), 0u);
    w().lstRaces.setChecked(7, false);
    w().lstRaces.onClick();
    EXPECT_EQ(w().insufficientFormCount, 2);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].title, "Insufficient Form");
}

TEST_F(ChooseRaceFlow, AnEmptyCellNeverShowsAnEarlierRacesText) {
    const sd::Meeting& m = openMeeting(day, 0);
    override(m, 3, eightRunnerPage(day, m, 0));
    choose(3);
    ASSERT_EQ(w().lstRaces.subItem(7, 1), "2");
    override(m, 4, "", 404);
    choose(4);
    ASSERT_EQ(w().lstRaces.count(), 0);
    // Runners 7 and 8 have no form cell text: they must not take race 3's.
    override(m, 3, eightRunnerPage(day, m, 2));
    choose(3);
    EXPECT_EQ(w().lstRaces.subItem(6, 1), "");
    EXPECT_EQ(w().lstRaces.subItem(7, 1), "");
}

TEST_F(ChooseRaceFlow, ATrackWithAnAmpersand) {
    std::size_t meeting = 0;
    int number = 0;
    for (std::size_t i = 0; i < day.meetings.size() && !number; ++i)
        for (const sd::Race& r : day.meetings[i].races)
            if (r.trackWords.find(" & ") != std::string::npos) meeting = i, number = r.number;
    ASSERT_NE(number, 0);
    const sd::Meeting& m = openMeeting(day, meeting);
    const std::string words = m.races[number - 1].trackWords;
    choose(number);

    std::string doubled;
    for (char c : words) doubled += c == '&' ? std::string("&&") : std::string(1, c);
    EXPECT_EQ(w().lstRaceName.subItem(number - 1, 3), words + " ");
    EXPECT_EQ(w().lblTrackName.caption(), "TrackName: " + doubled + " ");
    ASSERT_GE(titles.size(), 3u);
    EXPECT_EQ(titles[2], "Racecourse : " + m.name + " Race " + std::to_string(number) + "    --> Track name: " +
                             doubled + " Race #. " + std::to_string(number));
}

TEST_F(ChooseRaceFlow, MatchesSandownHillsideOnTheResultsSite) {
    const sd::RaceDay sandown = sd::generateRaceDay(sd::Date{2026, 12, 5}, 1);
    std::size_t meeting = sandown.meetings.size();
    for (std::size_t i = 0; i < sandown.meetings.size(); ++i)
        if (sandown.meetings[i].name == "SANDOWN-HILLSIDE") meeting = i;
    ASSERT_LT(meeting, sandown.meetings.size());
    const sd::Meeting& m = openMeeting(sandown, meeting, "05/12/2026");
    choose(1);

    ASSERT_EQ(w().lstResults.count(), static_cast<int>(m.races.size()));
    EXPECT_EQ(rowsOf(w().lstResults)[0],
              (std::vector<std::string>{"MS", "1", "SANDOWN (MS)", sd::placingsText(m.races[0])}));
    EXPECT_EQ(w().txtResults.text(), dashed(sd::placingsText(m.races[0])));
}

}  // namespace
}  // namespace selvane
