#include "kit/BusyBracket.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/TestSupport.h"

namespace selvane {
namespace {

int countEnabled(App& app) {
    int n = 0;
    for (Control* c : app.window.controls()) n += c->enabled() ? 1 : 0;
    return n;
}

TEST(BusyBracket, DisablesEveryControlWithTheTimerAndShowsTheHourglass) {
    test::AppFixture f;
    App& app = *f.app;
    const int all = static_cast<int>(app.window.controls().size());
    ASSERT_EQ(countEnabled(app), all);
    {
        BusyBracket busy(app);
        EXPECT_EQ(countEnabled(app), 0);
        EXPECT_EQ(app.window.timerResultScroll.enabled(), false);
        EXPECT_EQ(app.window.WebBrowser1.enabled(), false);
        EXPECT_EQ(f.fakes.pointer.hourglass, true);
    }
    EXPECT_EQ(countEnabled(app), all);
    EXPECT_EQ(f.fakes.pointer.history, (std::vector<bool>{true, false}));
}

TEST(BusyBracket, ClosingHidesTheProgressBarUnlessToldToLeaveIt) {
    struct Case {
        BusyBracket::ProgressBar onClose;
        bool visibleAfter;
    };
    for (const Case& c : {Case{BusyBracket::ProgressBar::Hide, false}, Case{BusyBracket::ProgressBar::Leave, true}}) {
        test::AppFixture f;
        {
            BusyBracket busy(*f.app, c.onClose);
            f.app->window.pgBar.setVisible(true);
        }
        EXPECT_EQ(f.app->window.pgBar.visible(), c.visibleAfter);
    }
}

TEST(BusyBracket, ClosesWhenTheCommandThrows) {
    test::AppFixture f;
    App& app = *f.app;
    const int all = static_cast<int>(app.window.controls().size());
    try {
        BusyBracket busy(app);
        app.window.pgBar.setVisible(true);
        throw std::runtime_error("fetch failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(countEnabled(app), all);
    EXPECT_EQ(app.window.pgBar.visible(), false);
    EXPECT_EQ(f.fakes.pointer.hourglass, false);
}

TEST(BusyBracket, EarlyCloseEnablesOnceAndTheDestructorDoesNothingMore) {
    test::AppFixture f;
    App& app = *f.app;
    {
        BusyBracket busy(app);
        busy.close();
        EXPECT_EQ(busy.isOpen(), false);
        EXPECT_EQ(app.window.cmdDownload.enabled(), true);
        app.window.cmdDownload.setEnabled(false);  // a later step may disable one again
    }
    EXPECT_EQ(app.window.cmdDownload.enabled(), false);
    EXPECT_EQ(f.fakes.pointer.history, (std::vector<bool>{true, false}));
}

TEST(BusyBracket, NestedBracketReenablesWhenTheInnerOneCloses) {
    // The date command runs inside the download command and closes its own bracket first.
    test::AppFixture f;
    App& app = *f.app;
    BusyBracket outer(app);
    { BusyBracket inner(app); }
    EXPECT_EQ(app.window.cmdLiveOdds.enabled(), true);
    EXPECT_EQ(f.fakes.pointer.hourglass, false);
}

TEST(BusyBracket, AThrowingObserverStillLeavesTheOtherControlsEnabled) {
    test::AppFixture f;
    App& app = *f.app;
    bool armed = false;
    app.window.cmdDownload.setObserver([&] {
        if (armed) throw std::runtime_error("widget gone");
    });
    {
        BusyBracket busy(app);
        armed = true;
    }
    for (Control* c : app.window.controls()) EXPECT_EQ(c->enabled(), true);
    EXPECT_EQ(f.fakes.pointer.hourglass, false);
}

TEST(BusyBracket, AnObserverThatThrowsOnceLeavesNoControlBehind) {
    struct Case {
        const char* what;
        bool throwWhenEnabled;  // else when disabled
        bool closeEarly;
    };
    for (const Case& c : {Case{"opening", false, false}, Case{"closing early", true, true},
                          Case{"closing at the end", true, false}}) {
        SCOPED_TRACE(c.what);
        test::AppFixture f;
        App& app = *f.app;
        const int all = static_cast<int>(app.window.controls().size());
        Control* first = app.window.controls().front();
        bool thrown = false;
        first->setObserver([&] {
            if (thrown || first->enabled() != c.throwWhenEnabled) return;
            thrown = true;
            throw std::runtime_error("widget gone");
        });
        {
            BusyBracket busy(app);
            EXPECT_EQ(countEnabled(app), 0);
            if (c.closeEarly) {
                busy.close();
                EXPECT_EQ(countEnabled(app), all);
            }
        }
        EXPECT_EQ(thrown, true);
        EXPECT_EQ(countEnabled(app), all);
        EXPECT_EQ(f.fakes.pointer.hourglass, false);
    }
}

}  // namespace
}  // namespace selvane
