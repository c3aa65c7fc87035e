#include "kit/BusyBracket.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "kit/FakePorts.h"

namespace selvane {
namespace {

struct SmallWindow : Window {
    Button button{"Go"};
    ReportList list;
    Timer timer;
    ProgressBar progress;
    std::vector<Control*> controls() override { return {&button, &list, &timer, &progress}; }
    int enabledCount() {
        int n = 0;
        for (Control* c : controls()) n += c->enabled() ? 1 : 0;
        return n;
    }
};

TEST(BusyBracket, DisablesEveryControlAndShowsTheHourglassUntilClosedOnEveryPath) {
    for (const bool throws : {false, true}) {
        SmallWindow w;
        FakePointer pointer;
        try {
            BusyBracket busy(w, &pointer, &w.progress);
            EXPECT_EQ(w.enabledCount(), 0);
            EXPECT_EQ(pointer.hourglass, true);
            w.progress.setVisible(true);
            if (throws) throw std::runtime_error("fetch failed");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(w.enabledCount(), 4);
        EXPECT_EQ(w.progress.visible(), false);
        EXPECT_EQ(pointer.history, (std::vector<bool>{true, false}));
    }
}

TEST(BusyBracket, LeavesTheProgressBarWhenNoneIsGiven) {
    SmallWindow w;
    {
        BusyBracket busy(w, nullptr);
        w.progress.setVisible(true);
    }
    EXPECT_EQ(w.progress.visible(), true);
}

TEST(BusyBracket, EarlyCloseEnablesOnceAndTheDestructorDoesNothingMore) {
    SmallWindow w;
    FakePointer pointer;
    {
        BusyBracket busy(w, &pointer);
        busy.close();
        EXPECT_EQ(busy.isOpen(), false);
        w.button.setEnabled(false);  // a later step may disable one again
    }
    EXPECT_EQ(w.button.enabled(), false);
    EXPECT_EQ(pointer.history, (std::vector<bool>{true, false}));
}

TEST(BusyBracket, AnObserverThatThrowsLeavesNoControlBehind) {
    struct Case {
        const char* what;
        bool throwWhenEnabled;  // else when disabled
        bool closeEarly;
    };
    for (const Case& c : {Case{"opening", false, false}, Case{"closing early", true, true},
                          Case{"closing at the end", true, false}}) {
        SCOPED_TRACE(c.what);
        SmallWindow w;
        FakePointer pointer;
        bool thrown = false;
        w.button.setObserver([&] {
            if (thrown || w.button.enabled() != c.throwWhenEnabled) return;
            thrown = true;
            throw std::runtime_error("widget gone");
        });
        {
            BusyBracket busy(w, &pointer);
            EXPECT_EQ(w.enabledCount(), 0);
            if (c.closeEarly) busy.close();
        }
        EXPECT_EQ(thrown, true);
        EXPECT_EQ(w.enabledCount(), 4);
        EXPECT_EQ(pointer.hourglass, false);
    }
}

}  // namespace
}  // namespace selvane
