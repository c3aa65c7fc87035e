// Choosing a race against the stand-in services, through the real meeting commands, fetcher and
// HTML engine. The field comes from the stand-in's generated day; the tips are written out.
#include <gtest/gtest.h>

#include "app/Commands.h"
#include "form/RaceSelection.h"
#include "standin/Pages.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"
#include "TipRows.h"

namespace selvane {
namespace {

namespace sd = standin;
using test::Rows;
using test::rowsOf;

struct ChooseRaceFlow : ::testing::Test {
    test::StandinFixture web;
    test::AppFixture f{web.services()};
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    MainWindow& w = f.app->window;
    std::vector<ShownMessage>& shown = f.fakes.messages.shown;
    std::size_t meeting = 0;

    ChooseRaceFlow() {
        f.app->ports.connectivity = &f.fakes.connectivity;
        f.fakes.messages.watchedWindow = &w;
        wireCommands(*f.app);
    }
    // Downloads the meetings and opens meeting m.
    const sd::Meeting& openMeeting(std::size_t m) {
        w.cmdDownload.click();
        w.cmbTrackName.setSelectedIndex(static_cast<int>(meeting = m));
        return day.meetings[m];
    }
    void choose(int raceNumber) {
        w.lstRaceName.setSelectedIndex(raceNumber - 1);
        shown.clear();
        w.lstRaceName.onDoubleClick();
    }
    void override(int race, const std::string& page, int status = 200) {
        web.server.setOverride("/cgi-bin/tvf/memdeliver.pl/" + day.meetings[meeting].formCode + std::to_string(race) +
                                   ".htm?tvf3", page, status);
    }
};

// Eight runners with forms, the last `withoutForm` of them with an empty form cell.
std::string eightRunnerPage(const sd::RaceDay& day, int withoutForm) {
    sd::Race race = day.meetings[0].races[2];
    race.runners.resize(8);
    const char* forms[] = {"3121", "1111", "3331", "21", "6", "452", "x31", "2"};
    for (int i = 0; i < 8; ++i) {
        sd::Runner& r = race.runners[i];
        r.number = std::to_string(i + 1);
        r.num = r.barrier = i + 1;
        r.emergency = r.scratched = false;
        r.form = i >= 8 - withoutForm ? "" : forms[i];
    }
    std::string page = sd::racePage(day, day.meetings[0], race);
    for (std::size_t at; (at = page.find("<td>&nbsp;</td>")) != std::string::npos;) page.replace(at, 15, "<td></td>");
    return page;
}

TEST_F(ChooseRaceFlow, ShowsTheFieldTipsBestBetAndResults) {
    const sd::Race& race = openMeeting(0).races[1];
    choose(2);
    Rows field;
    for (const sd::Runner& r : race.runners)
        field.push_back({r.number, r.form.empty() ? "\\~" : r.form, r.name, r.jockey, r.weight, std::to_string(r.barrier)});
    EXPECT_EQ(rowsOf(w.lstRaces), field);
    EXPECT_EQ(rowsOf(w.lstTips), (Rows{{" 1st", " 4.  STONY PRINCE", " 40%", "1"}, {" 2nd", " 6.  SIR ROMANCE", " 30%", "3"},
                                       {" 3rd", " 5.  HAPPY EXPRESS", " 30%", "2"}, {" 4th", " 3.  NORTHERN RIDGE", " 20%", "4"},
                                       {" 5th", " 2.  RUSTY RANGER", " 10%", "6"}}));
    EXPECT_EQ(w.stBar.panel(2), "Tip each way best bet #  4.  STONY PRINCE");
    EXPECT_EQ(w.lblTrackName.caption() + "|" + w.lblRaceTime.caption() + "|" + w.lblRaceLength.caption() + "|" +
                  w.lblRaceNumber.caption(),
              "TrackName: " + race.trackWords + " |Time: " + race.startTime() + "|Length: " + race.lengthText() + "|2");
    EXPECT_EQ(w.lstResults.count(), static_cast<int>(day.meetings[0].races.size()));
    choose(1);  // visited races keep their colour
    EXPECT_EQ(w.lstRaceName.row(1).foreColour, kVisitedRaceColour);
    EXPECT_EQ(w.lstRaceName.row(2).foreColour, kDefaultColour);
}

// A page that cannot be fetched shows placeholders, never the previous race's field.
TEST_F(ChooseRaceFlow, AMissingPageShowsPlaceholdersAndTheDataError) {
    openMeeting(0);
    choose(1);
    ASSERT_GT(w.lstRaces.count(), 0);
    override(3, "<html><body>Not found</body></html>", 404);
    choose(3);
    EXPECT_EQ(w.lstRaces.count(), 0);
    // Placeholder tips, and the data error box shown once the window is usable again.
    EXPECT_EQ(test::gridOf(w.msfResults).back(), (std::vector<std::string>{" 5th", " n/a", " 0%", " 0", "...."}));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Race's Data Error");
    EXPECT_EQ(shown[0].text, "Could not access any data for race's " + day.meetings[0].races[2].trackWords +
                                 "\r\nThis is probably due to data error or no data available.\r\n\r\n"
                                 "No bets should be made due to insufficient form data");
    EXPECT_EQ(shown[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(shown[0].windowEnabled && shown[0].pointerNormal);
    for (Control* c : w.controls()) EXPECT_TRUE(c->enabled());
    EXPECT_FALSE(f.fakes.pointer.hourglass);
}

TEST_F(ChooseRaceFlow, InsufficientFormTickingAndTheReanalyseButton) {
    w.lstRaces.onClick();  // empty lists ignore clicks
    w.lstRaceName.onDoubleClick();
    EXPECT_TRUE(f.fakes.pointer.history.empty());
    openMeeting(0);
    override(3, eightRunnerPage(day, 2));
    choose(3);
    EXPECT_EQ(w.insufficientFormCount, 2);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Insufficient Form");
    EXPECT_EQ(shown[0].text, "No bets should be made due to insufficient form data");
    EXPECT_EQ(shown[0].icon, MessageIcon::Information);

    // Ticking one of the two and clicking the list tips again without the warning.
    shown.clear();
    w.lstRaces.setChecked(7, true);
    w.lstRaces.onClick();
    EXPECT_EQ(w.insufficientFormCount, 1);
    EXPECT_TRUE(shown.empty());
    // Command1 tips the stored race page afresh, the tick forgotten; an ampersand shows doubled.
    w.lstRaceName.setSelectedIndex(w.lstRaceName.addRow("m", {"9", "1:00", "F & M HCP ", "1000m"}));
    w.Command1.click();
    EXPECT_EQ(w.insufficientFormCount, 2);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(w.lblTitle.caption(), "Racecourse:     --> Track name: Race #. ");
    EXPECT_EQ(w.lblTrackName.caption(), "TrackName: F && M HCP ");

    // An empty form cell never shows an earlier race's text.
    override(3, eightRunnerPage(day, 0));
    choose(3);
    ASSERT_EQ(w.lstRaces.subItem(7, 1), "2");
    override(3, eightRunnerPage(day, 2));
    choose(3);
    EXPECT_EQ(w.lstRaces.subItem(7, 1), "");
}


}  // namespace
}  // namespace selvane
