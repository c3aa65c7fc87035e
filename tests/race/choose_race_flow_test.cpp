// Choosing a race against the stand-in services, through the real meeting commands, fetcher and
// HTML engine. Expected values come from the stand-in's generated day, not from the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/Commands.h"
#include "form/RaceSelection.h"
#include "form/Tipping.h"
#include "standin/Pages.h"
#include "standin/RaceDay.h"
#include "standin/Server.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

namespace sd = standin;

constexpr const char* kNow = "2026-12-06T14:00";

sd::Options clockAt(const char* now) {
    sd::Options o;
    o.now = now;
    o.seed = 1;
    return o;
}

// The runner list entries and tipping input the program should reach for a generated race.
struct Expected {
    std::vector<ReportRow> runners;
    std::vector<TipInput> inputs;
};

Expected expectedField(const sd::Race& race) {
    Expected e;
    for (const sd::Runner& r : race.runners) {
        const std::string form = r.form.empty() ? "\\~" : r.form;
        e.runners.push_back(ReportRow{r.number, {form, r.name, r.jockey, r.weight, std::to_string(r.barrier)}});
        e.inputs.push_back(TipInput{r.number, form, r.name, std::to_string(r.barrier), false});
    }
    return e;
}

std::vector<std::vector<std::string>> rowsOf(const ReportList& list) {
    std::vector<std::vector<std::string>> out;
    for (const ReportRow& r : list.rows()) {
        std::vector<std::string> row{r.text};
        row.insert(row.end(), r.subItems.begin(), r.subItems.end());
        out.push_back(row);
    }
    return out;
}

std::vector<std::vector<std::string>> rowsOf(const std::vector<ReportRow>& rows) {
    std::vector<std::vector<std::string>> out;
    for (const ReportRow& r : rows) {
        std::vector<std::string> row{r.text};
        row.insert(row.end(), r.subItems.begin(), r.subItems.end());
        out.push_back(row);
    }
    return out;
}

// Placings as the results box shows them: " - " between the runners.
std::string dashed(const std::string& placings) {
    std::string out;
    for (char c : placings) out += c == ',' ? std::string(" - ") : std::string(1, c);
    return out;
}

class ChooseRaceFlow : public ::testing::Test {
protected:
    explicit ChooseRaceFlow(const char* now = kNow) : server(clockAt(now)) {
        server.start();
        f = std::make_unique<test::AppFixture>(
            Services{server.formGuideUrl(), server.resultsSiteRoot(), server.makerSiteUrl()});
        app().ports.connectivity = &f->fakes.connectivity;
        wireCommands(app());
        app().window.lblTitle.setObserver([this] {
            if (titles.empty() || titles.back() != w().lblTitle.caption()) titles.push_back(w().lblTitle.caption());
        });
    }

    App& app() { return *f->app; }
    MainWindow& w() { return app().window; }
    std::vector<ShownMessage>& shown() { return f->fakes.messages.shown; }

    // Download Race Meetings, then the meeting in the track box (and the date box entry, if given).
    const sd::Meeting& openMeeting(const sd::RaceDay& day, std::size_t meeting, const std::string& date = {}) {
        w().cmdDownload.click();
        if (!date.empty()) {
            const auto& dates = w().cmbDateRaces.entries();
            const auto it = std::find(dates.begin(), dates.end(), date);
            EXPECT_NE(it, dates.end()) << date;
            if (it != dates.end()) w().cmbDateRaces.setSelectedIndex(static_cast<int>(it - dates.begin()));
        }
        w().cmbTrackName.setSelectedIndex(static_cast<int>(meeting));
        EXPECT_EQ(w().lstRaceName.count(), static_cast<int>(day.meetings[meeting].races.size()));
        return day.meetings[meeting];
    }

    void choose(int raceNumber) {
        w().lstRaceName.setSelectedIndex(raceNumber - 1);
        titles.clear();
        const std::size_t before = f->fakes.pointer.history.size();
        w().lstRaceName.onDoubleClick();
        pointerDuringChoice.assign(f->fakes.pointer.history.begin() + static_cast<long>(before),
                                   f->fakes.pointer.history.end());
    }

    std::string racePath(const sd::Meeting& m, int race) {
        return "/cgi-bin/tvf/memdeliver.pl/" + m.formCode + std::to_string(race) + ".htm?tvf3";
    }

    void expectPlaceholders(const std::string& track) {
        ASSERT_EQ(w().lstTips.count(), 5);
        const char* labels[] = {" 1st", " 2nd", " 3rd", " 4th", " 5th"};
        for (int r = 1; r <= 5; ++r) {
            EXPECT_EQ(rowsOf(w().lstTips)[r - 1], (std::vector<std::string>{labels[r - 1], " n/a", " 0%"}));
            EXPECT_EQ(w().msfResults.cell(r, 0), labels[r - 1]);
            EXPECT_EQ(w().msfResults.cell(r, 1), " n/a");
            EXPECT_EQ(w().msfResults.cell(r, 2), " 0%");
            EXPECT_EQ(w().msfResults.cell(r, 3), " 0");
        }
        EXPECT_EQ(w().msfResults.rowCount(), 6);
        ASSERT_EQ(shown().size(), 1u);
        EXPECT_EQ(shown()[0].title, "Race's Data Error");
        EXPECT_EQ(shown()[0].text, "Could not access any data for race's " + track +
                                       "\r\nThis is probably due to data error or no data available.\r\n\r\n"
                                       "No bets should be made due to insufficient form data");
        EXPECT_EQ(shown()[0].icon, MessageIcon::Critical);
        EXPECT_EQ(shown()[0].buttons, MessageButtons::Ok);
    }

    void expectWindowEnabled() {
        for (Control* c : w().controls()) EXPECT_TRUE(c->enabled());
        EXPECT_FALSE(f->fakes.pointer.hourglass);
    }

    sd::Server server;
    std::unique_ptr<test::AppFixture> f;
    std::vector<std::string> titles;
    std::vector<bool> pointerDuringChoice;
};

TEST_F(ChooseRaceFlow, ShowsTheFieldTipsBestBetAndTheMeetingsResults) {
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    const sd::LocalTime now = *sd::parseLocalTime(kNow);
    const sd::Meeting& m = openMeeting(day, 0);
    const sd::Race& race = m.races[1];
    ASSERT_GE(race.runners.size(), 5u);
    choose(2);

    const Expected e = expectedField(race);
    EXPECT_EQ(rowsOf(w().lstRaces), rowsOf(e.runners));

    const TipOutcome want = computeTips(e.inputs);
    ASSERT_EQ(want.stop, TipStop::None);
    std::vector<std::vector<std::string>> tips, grid;
    for (const TipRow& t : want.tips) tips.push_back({t.label, t.runner, t.win, t.barrier});
    EXPECT_EQ(rowsOf(w().lstTips), tips);
    for (int r = 1; r <= 5; ++r) {
        const TipRow& g = want.grid[r - 1];
        EXPECT_EQ(w().msfResults.cell(r, 0), g.label);
        EXPECT_EQ(w().msfResults.cell(r, 1), g.runner);
        EXPECT_EQ(w().msfResults.cell(r, 2), g.win);
        EXPECT_EQ(w().msfResults.cell(r, 3), g.barrier);
        EXPECT_EQ(w().msfResults.cellBackColour(r, 1) == 0xC0C000u, r == want.bestBetRow) << r;
    }
    EXPECT_EQ(w().stBar.panel(2), "Tip each way best bet #" + want.grid[want.bestBetRow - 1].runner);
    EXPECT_EQ(w().insufficientFormCount, want.insufficientFormCount);

    // The visited race keeps its colour; the others have none.
    for (int i = 0; i < w().lstRaceName.count(); ++i)
        EXPECT_EQ(w().lstRaceName.row(i).foreColour, i == 1 ? kVisitedRaceColour : kDefaultColour) << i;
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

    std::vector<std::vector<std::string>> results;
    std::string ticker;
    for (const sd::Race& r : m.races) {
        const std::string state = sd::resultsStateText(r, day.date, now);
        results.push_back({m.toteCode, std::to_string(r.number), m.resultsName, state});
        ticker += "#R." + std::to_string(r.number) + "  [ " + state + " ];      ";
    }
    EXPECT_EQ(rowsOf(w().lstResults), results);
    EXPECT_EQ(w().lblScrollResults.caption(), ticker);
    // Race 2 started 20 minutes or more before the clock: its placings are final.
    ASSERT_EQ(sd::raceStateAt(race, day.date, now), sd::RaceState::Final);
    EXPECT_EQ(w().txtResults.text(), dashed(sd::placingsText(race)));

    expectWindowEnabled();
    EXPECT_EQ(pointerDuringChoice, (std::vector<bool>{true, false}));
}

TEST_F(ChooseRaceFlow, AFieldUnderFiveAndAMissingPageShowPlaceholders) {
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    std::size_t meeting = 0;
    int small = 0;
    for (std::size_t i = 0; i < day.meetings.size() && !small; ++i)
        for (const sd::Race& r : day.meetings[i].races)
            if (r.runners.size() < 5) meeting = i, small = r.number;
    ASSERT_NE(small, 0);
    const sd::Meeting& m = openMeeting(day, meeting);
    const sd::Race& race = m.races[small - 1];

    choose(small);
    EXPECT_EQ(w().lstRaces.count(), static_cast<int>(race.runners.size()));
    expectPlaceholders(race.trackWords);
    expectWindowEnabled();

    // A page that cannot be fetched never shows the previous race's field.
    const int other = small == 1 ? 2 : 1;
    server.setOverride(racePath(m, other), "<html><body>Not found</body></html>", 404);
    shown().clear();
    choose(other);
    EXPECT_EQ(w().lstRaces.count(), 0);
    expectPlaceholders(m.races[other - 1].trackWords);
    EXPECT_EQ(w().lblRaceNumber.caption(), std::to_string(other));
    EXPECT_EQ(w().lstRaceName.row(other - 1).foreColour, kVisitedRaceColour);
    EXPECT_FALSE(w().lstResults.rows().empty());
    expectWindowEnabled();
}

// Eight runners of which `withoutForm` have an empty form cell (first starters here write none).
sd::Race eightRunners(sd::Race race, int withoutForm) {
    race.runners.resize(8);
    const char* forms[] = {"3121", "1111", "3331", "21", "6", "452", "x31", "2"};
    for (int i = 0; i < 8; ++i) {
        sd::Runner& r = race.runners[i];
        r.number = std::to_string(i + 1);
        r.num = i + 1;
        r.emergency = false;
        r.scratched = false;
        r.barrier = i + 1;
        r.form = i >= 8 - withoutForm ? "" : forms[i];
    }
    return race;
}

std::string pageWithEmptyForms(const sd::RaceDay& day, const sd::Meeting& m, const sd::Race& race) {
    std::string page = sd::racePage(day, m, race);
    for (std::size_t at; (at = page.find("<td>&nbsp;</td>")) != std::string::npos;) page.replace(at, 15, "<td></td>");
    return page;
}

std::vector<std::vector<std::string>> tipsFor(std::vector<TipInput> inputs) {
    std::vector<std::vector<std::string>> rows;
    for (const TipRow& t : computeTips(inputs).tips) rows.push_back({t.label, t.runner, t.win, t.barrier});
    return rows;
}

TEST_F(ChooseRaceFlow, InsufficientFormAndTickingAFormlessRunner) {
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    const sd::Meeting& m = openMeeting(day, 0);
    const std::vector<std::pair<int, bool>> cases = {{3, true}, {2, true}, {1, false}};
    for (const auto& [withoutForm, warned] : cases) {
        SCOPED_TRACE(withoutForm);
        const sd::Race race = eightRunners(m.races[2], withoutForm);
        server.setOverride(racePath(m, 3), pageWithEmptyForms(day, m, race));
        shown().clear();
        choose(3);
        Expected e = expectedField(race);
        for (TipInput& in : e.inputs)
            if (in.form == "\\~") in.form.clear();
        EXPECT_EQ(w().lstRaces.count(), 8);
        EXPECT_EQ(rowsOf(w().lstTips), tipsFor(e.inputs));
        EXPECT_EQ(w().insufficientFormCount, withoutForm);
        if (warned) {
            ASSERT_EQ(shown().size(), 1u);
            EXPECT_EQ(shown()[0].title, "Insufficient Form");
            EXPECT_EQ(shown()[0].text, "No bets should be made due to insufficient form data");
            EXPECT_EQ(shown()[0].icon, MessageIcon::Information);
        } else {
            EXPECT_EQ(shown().size(), 0u);
        }
    }

    // Two without form warn; ticking one of them and clicking the list takes the warning away.
    const sd::Race race = eightRunners(m.races[2], 2);
    server.setOverride(racePath(m, 3), pageWithEmptyForms(day, m, race));
    choose(3);
    Expected e = expectedField(race);
    for (TipInput& in : e.inputs)
        if (in.form == "\\~") in.form.clear();
    shown().clear();
    w().lstRaces.setChecked(7, true);
    w().lstRaces.onClick();
    e.inputs[7].ticked = true;
    EXPECT_EQ(rowsOf(w().lstTips), tipsFor(e.inputs));
    EXPECT_EQ(w().insufficientFormCount, 1);
    EXPECT_EQ(shown().size(), 0u);
    w().lstRaces.setChecked(7, false);
    w().lstRaces.onClick();
    EXPECT_EQ(w().insufficientFormCount, 2);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].title, "Insufficient Form");
}

TEST_F(ChooseRaceFlow, AnEmptyCellNeverShowsAnEarlierRacesText) {
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    const sd::Meeting& m = openMeeting(day, 0);
    server.setOverride(racePath(m, 3), pageWithEmptyForms(day, m, eightRunners(m.races[2], 0)));
    choose(3);
    ASSERT_EQ(w().lstRaces.subItem(7, 1), "2");
    server.setOverride(racePath(m, 4), "", 404);
    choose(4);
    ASSERT_EQ(w().lstRaces.count(), 0);
    // Runners 7 and 8 have no form cell text: they must not take race 3's.
    server.setOverride(racePath(m, 3), pageWithEmptyForms(day, m, eightRunners(m.races[2], 2)));
    choose(3);
    EXPECT_EQ(w().lstRaces.subItem(6, 1), "");
    EXPECT_EQ(w().lstRaces.subItem(7, 1), "");
    EXPECT_EQ(w().insufficientFormCount, 2);
}

TEST_F(ChooseRaceFlow, ATrackWithAnAmpersand) {
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
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

class SandownDayFlow : public ChooseRaceFlow {};

TEST_F(SandownDayFlow, MatchesSandownHillsideOnTheResultsSite) {
    const sd::Date date{2026, 12, 5};
    ASSERT_TRUE(sd::isSandownDay(date, 1));
    const sd::RaceDay day = sd::generateRaceDay(date, 1);
    std::size_t meeting = day.meetings.size();
    for (std::size_t i = 0; i < day.meetings.size(); ++i)
        if (day.meetings[i].name == "SANDOWN-HILLSIDE") meeting = i;
    ASSERT_LT(meeting, day.meetings.size());
    const sd::Meeting& m = openMeeting(day, meeting, "05/12/2026");
    EXPECT_EQ(w().cmbTrackName.text(), "SANDOWN-HILLSIDE");
    choose(1);

    ASSERT_EQ(w().lstResults.count(), static_cast<int>(m.races.size()));
    EXPECT_EQ(m.resultsName, "SANDOWN (MS)");
    EXPECT_EQ(rowsOf(w().lstResults)[0],
              (std::vector<std::string>{"MS", "1", "SANDOWN (MS)", sd::placingsText(m.races[0])}));
    EXPECT_EQ(w().txtResults.text(), dashed(sd::placingsText(m.races[0])));
    // The day before the clock: every race is final or abandoned.
    for (int r = 0; r < w().lstResults.count(); ++r) {
        const std::string& state = w().lstResults.subItem(r, 3);
        EXPECT_TRUE(state == "abnd" || state.find(',') != std::string::npos) << state;
    }
}

}  // namespace
}  // namespace selvane
