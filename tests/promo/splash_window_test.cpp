#include "promo/SplashWindow.h"

#include <gtest/gtest.h>

#include <vector>

#include "kit/FakePorts.h"

namespace selvane {
namespace {

TEST(SplashWindow, ShowsTheDisclaimerAndTheAnswersWithTheBarHidden) {
    SplashWindow w;
    EXPECT_EQ(w.Label1.caption(),
              "The author of this software in no way guarantees any financial outcome through the use of this "
              "Velmaro Each Way Selvane.");
    EXPECT_EQ(w.Label2.caption(),
              "By clicking the I AGREE button, you agree to indemnify the software author against any claims "
              "whatsoever.");
    EXPECT_EQ(w.cmdOK.caption(), "I Agree");
    EXPECT_EQ(w.cmdCancel.caption(), "I Disagree");
    EXPECT_FALSE(w.pgBar.visible());
    EXPECT_FALSE(w.splashBusy);
}

TEST(SplashWindow, AnswersCases) {
    using C = SplashWindow::Choice;
    struct Row {
        const char* proves;
        bool busy;
        bool agree;  // else "I Disagree"
        C choice;
        int agreedCalls;
        std::vector<int> exitCodes;
    };
    const Row rows[] = {
        {"I Agree while the advert is prepared does nothing", true, true, C::Waiting, 0, {}},
        {"I Agree when idle opens the main window", false, true, C::Agreed, 1, {}},
        {"I Disagree ends the program with code 0", false, false, C::Declined, 0, {0}},
        {"I Disagree ends it at once, busy or not", true, false, C::Declined, 0, {0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.proves);
        FakeExit exit;
        SplashWindow w(&exit);
        int agreed = 0;
        w.onAgreed = [&] { ++agreed; };
        w.splashBusy = r.busy;
        (r.agree ? w.cmdOK : w.cmdCancel).click();
        EXPECT_EQ(w.choice(), r.choice);
        EXPECT_EQ(agreed, r.agreedCalls);
        EXPECT_EQ(exit.codes, r.exitCodes);
    }
}

TEST(SplashWindow, ProgressBarHidesWhenTheLastStepIsTaken) {
    SplashWindow w;
    w.progressStart(3);
    EXPECT_EQ(w.pgBar.max(), 3);
    std::vector<bool> visible;
    for (int i = 0; i < 3; ++i) {
        visible.push_back(w.pgBar.visible());
        w.progressStep();
    }
    visible.push_back(w.pgBar.visible());
    EXPECT_EQ(visible, (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(w.pgBar.value(), 3);
}

}  // namespace
}  // namespace selvane
