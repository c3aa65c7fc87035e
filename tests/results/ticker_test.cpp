// The results ticker's tick on the main-window models (the fake measure makes a character 120
// twips wide).
#include <gtest/gtest.h>

#include <string>

#include "app/App.h"
#include "app/Commands.h"
#include "results/Ticker.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

struct TickerTest : ::testing::Test {
    test::AppFixture fx;
    App& app = *fx.app;
    MainWindow& w = app.window;
    void SetUp() override { wireCommands(app); }
    void tick(int n) {
        for (int i = 0; i < n; ++i) w.timerResultScroll.fire();
    }
};

TEST_F(TickerTest, MovesLeftAndEntersAgainFromTheStripsRightEdge) {
    const int strip = MainWindow::kTickerStripWidthTwips;
    struct Case {
        std::string caption;
        int startLeft;
        int ticks;
        int left;
    };
    const Case cases[] = {
        {"", 0, 1, strip},                      // empty: at or left of 0 goes back at once
        {"", 0, 2, strip - 4},
        {"", 4, 1, strip},
        {"", 8, 1, 4},
        {std::string(75, 'x'), 0, 2249, -8996},  // 9000 twips wide
        {std::string(75, 'x'), 0, 2250, strip},
        {std::string(75, 'x'), 0, 2251, strip - 4},
        {"#R.1  [ 3,5,7 ];      ", strip, 10, strip - 40},
    };
    for (const Case& c : cases) {
        w.lblScrollResults.setCaption(c.caption);
        w.lblScrollResults.setLeft(c.startLeft);
        tick(c.ticks);
        EXPECT_EQ(w.lblScrollResults.left(), c.left) << '"' << c.caption << "\" from " << c.startLeft << ", " << c.ticks << " ticks";
    }
}

TEST_F(TickerTest, StandsStillWhileTheTimerIsDisabled) {
    w.lblScrollResults.setCaption("#R.1  [ 3,5,7 ];      ");
    w.lblScrollResults.setLeft(100);
    w.timerResultScroll.setEnabled(false);
    tick(5);
    EXPECT_EQ(w.lblScrollResults.left(), 100);
    w.timerResultScroll.setEnabled(true);
    tick(5);
    EXPECT_EQ(w.lblScrollResults.left(), 80);
}

}  // namespace
}  // namespace selvane
