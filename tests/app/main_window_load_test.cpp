#include "app/MainWindowLoad.h"

#include <gtest/gtest.h>

#include "kit/Clock.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

std::vector<std::pair<std::string, int>> columnsOf(const ReportList& list) {
    std::vector<std::pair<std::string, int>> out;
    for (const ReportColumn& c : list.columns()) out.emplace_back(c.title, c.widthTwips);
    return out;
}

using Columns = std::vector<std::pair<std::string, int>>;

TEST(MainWindowLoad, GivesTheFourListsTheirColumnsStyleAndNoRows) {
    test::AppFixture f;
    MainWindow& w = f.app->window;
    w.lstRaces.addRow("left over", {});
    loadMainWindow(*f.app);

    struct Case {
        const ReportList& list;
        Columns columns;
    };
    const Case cases[] = {
        {w.lstTips, {{"Tip", 500}, {"Horse Name", 2500}, {"Win", 800}, {"Barrier", 800}}},
        {w.lstRaces,
         {{"#.", 700}, {"Form", 1000}, {"Horse Name", 3000}, {"Jockey", 2000}, {"Weight", 800}, {"Barrier", 700}}},
        {w.lstRaceName, {{"link", 0}, {"Race #.", 1000}, {"Time", 1200}, {"Track Name", 4800}, {"Length", 1200}}},
        {w.lstResults, {{"link", 1000}, {"Race #.", 1000}, {"Track Name", 4800}, {"Results", 1200}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(columnsOf(c.list), c.columns);
        EXPECT_EQ(c.list.count(), 0);
        EXPECT_EQ(c.list.style().reportView, true);
        EXPECT_EQ(c.list.style().singleBorder, true);
    }
    EXPECT_EQ(w.lstRaces.checkBoxes(), true);
    EXPECT_EQ(w.lstTips.checkBoxes(), false);
}

TEST(MainWindowLoad, StartState) {
    MockClock clock(CivilDate{2024, 3, 9}, 23, 59);
    ScopedClock use(clock);
    test::AppFixture f;
    MainWindow& w = f.app->window;
    w.stBar.setPanel(2, "old message");
    w.cmdLiveOdds.setEnabled(false);
    w.picBaseScroll.setVisible(false);
    w.lblScrollResults.setCaption("#R.1  [ 3,5,7 ];      ");
    loadMainWindow(*f.app);

    EXPECT_EQ(w.stBar.panel(1), "Date: 09/03/2024");
    EXPECT_EQ(w.stBar.panel(2), "");
    EXPECT_EQ(w.pgBar.visible(), false);
    EXPECT_EQ(w.pgBar.min(), 0);
    EXPECT_EQ(w.lblScrollResults.caption(), "");
    EXPECT_EQ(w.lblScrollResults.left(), 0);
    EXPECT_EQ(w.picBaseResults.width(), MainWindow::kOuterWidthTwips);
    EXPECT_EQ(w.picBaseScroll.visible(), true);
    EXPECT_EQ(w.cmdLiveOdds.enabled(), true);
    EXPECT_EQ(w.cmdLiveResults.enabled(), true);
    EXPECT_EQ(w.cmdResults.enabled(), true);
    EXPECT_EQ(w.cmbDateRaces.count(), 0);
    EXPECT_EQ(w.cmbTrackName.count(), 0);
    EXPECT_EQ(w.timerResultScroll.interval(), 150);
    EXPECT_EQ(w.timerResultScroll.enabled(), true);
    // The tip grid shows its six labelled rows under the header.
    EXPECT_EQ(w.msfResults.rowCount(), 7);
    EXPECT_EQ(w.msfResults.cell(6, 0), " 6th");
}

TEST(MainWindow, CaptionsOfTheWindowAndItsControls) {
    MainWindow w;
    const std::pair<const Label*, const char*> labels[] = {
        {&w.Frame3, "Meetings Options: "}, {&w.lblDate, "Date: "},
        {&w.lblSelectMeeting, "Place: "},  {&w.Frame1, "Race Info: "},
        {&w.lblMeeting, "Meeting: "},      {&w.lblTrackName, "Track Name: "},
        {&w.lblRace, "Race Number: "},     {&w.lblRaceTime, "Time: "},
        {&w.lblRaceLength, "Length: "},    {&w.Label1, "Meeting Live Result: "},
        {&w.lblRaceResults, "Race Live Result: "}, {&w.fraStatus, "Status"},
        {&w.lblTitle, "Racecourse: "},     {&w.lblURL, "Page URL : "},
    };
    for (const auto& [label, caption] : labels) EXPECT_EQ(label->caption(), caption);
    const std::pair<const Button*, const char*> buttons[] = {
        {&w.cmdDownload, "Download Race Meetings"}, {&w.cmdPrevious, "Download Previous Race Meetings"},
        {&w.cmdLiveOdds, "Live Odds"},              {&w.cmdLiveResults, "Live Results"},
        {&w.cmdResults, "..."},                     {&w.cmdEmail, "Email To A Friend"},
        {&w.cmdWeb, "Website"},                     {&w.cmdExit, "Exit"},
    };
    for (const auto& [button, caption] : buttons) EXPECT_EQ(button->caption(), caption);
    EXPECT_EQ(std::string(MainWindow::kCaption), "Box Five & Each Way Selvane");
}

TEST(Clock, ShortDateIsDayMonthYearWithLeadingZeros) {
    const std::pair<CivilDate, const char*> cases[] = {
        {{2024, 3, 9}, "09/03/2024"}, {{1999, 12, 31}, "31/12/1999"}, {{2025, 1, 1}, "01/01/2025"}};
    for (const auto& [date, text] : cases) EXPECT_EQ(shortDate(date), text);
}

TEST(Clock, MockClockGivesItsLocalDateAndMovesByTheMinute) {
    MockClock clock(CivilDate{2024, 2, 29}, 23, 59);
    EXPECT_EQ(clock.today(), (CivilDate{2024, 2, 29}));
    clock.advanceMinute();
    EXPECT_EQ(clock.today(), (CivilDate{2024, 3, 1}));
}

}  // namespace
}  // namespace selvane
