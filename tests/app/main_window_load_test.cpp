#include "app/MainWindowLoad.h"

#include <gtest/gtest.h>

#include "kit/Clock.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

TEST(MainWindowLoad, EmptiesTheListsAndGivesThemTheirColumns) {
    test::AppFixture f;
    MainWindow& w = f.app->window;
    w.lstRaces.addRow("left over", {});
    loadMainWindow(*f.app);
    EXPECT_EQ(w.lstRaces.count(), 0);
    EXPECT_EQ(w.lstRaces.columns().size(), 6u);
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
    EXPECT_EQ(w.lblScrollResults.caption(), "");
    EXPECT_EQ(w.lblScrollResults.left(), 0);
    EXPECT_EQ(w.picBaseResults.width(), MainWindow::kOuterWidthTwips);
    EXPECT_EQ(w.picBaseScroll.visible(), true);
    EXPECT_EQ(w.cmdLiveOdds.enabled(), true);
    EXPECT_EQ(w.timerResultScroll.interval(), 150);
    EXPECT_EQ(w.timerResultScroll.enabled(), true);
    // The tip grid shows its six labelled rows under the header.
    EXPECT_EQ(w.msfResults.rowCount(), 7);
    EXPECT_EQ(w.msfResults.cell(6, 0), " 6th");
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
