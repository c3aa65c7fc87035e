// frmResults as a model: its load step and the page it is shown with.
#include <gtest/gtest.h>

#include "kit/FakePorts.h"
#include "results/ResultsWindow.h"

namespace selvane {
namespace {

TEST(ResultsWindow, LoadRulesPlaceTheWebView) {
    struct Case {
        int width, height, topWidth, topHeight, bottomHeight;
        ResultsLayout want;
    };
    const Case cases[] = {
        {11000, 5875, 11000, 720, 600, {11000, 5875, {0, 730, 10950, 4155}, 11000}},
        {8000, 4000, 7000, 500, 300, {8000, 4000, {0, 510, 7950, 2800}, 7000}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resultsLayout(c.width, c.height, c.topWidth, c.topHeight, c.bottomHeight), c.want) << c.width;

    const ResultsWindow window;
    EXPECT_EQ(window.layout(), cases[0].want);
}

TEST(ResultsWindow, ShownOverTheWrapperAndClosedByItsButton) {
    FakeModalWindow modal;
    std::string caption, location;
    bool closed = false;
    int closes = 0;
    modal.onShow = [&](Window& shown) {
        auto& w = dynamic_cast<ResultsWindow&>(shown);
        caption = w.lblMeetingName.caption();
        location = w.WBResults.location();
        w.onClose = [&] { ++closes; };
        w.cmdClose.click();
        w.close();  // the title bar after the button: one close
        closed = w.closed();
    };
    showResultsWindow(modal, "/opt/selvane", "ASHFORD - #05");
    EXPECT_EQ(modal.shownCount, 1);
    EXPECT_EQ(caption, "ASHFORD - #05");
    EXPECT_EQ(location, "/opt/selvane/iFrame_results.html");
    EXPECT_TRUE(closed);
    EXPECT_EQ(closes, 1);
}

}  // namespace
}  // namespace selvane
