#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/App.h"
#include "app/Commands.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

Services withMakerSite() {
    Services s = Services::compiledIn();
    s.makerSite = "http://maker.test/";
    return s;
}

TEST(PromotionButtons, WebsiteOpensOnTheLeftButtonsReleaseOnly) {
    struct Case {
        int button;
        std::vector<std::string> opened;
    };
    const Case cases[] = {
        {1, {"http://maker.test/"}},
        {2, {}},
        {4, {}},
        {0, {}},
    };
    for (const Case& c : cases) {
        test::AppFixture f(withMakerSite());
        wireCommands(*f.app);
        f.app->window.cmdWeb.mouseUp(c.button);
        // A click alone is not the web link's event.
        f.app->window.cmdWeb.click();
        EXPECT_EQ(f.fakes.shell.opened, c.opened) << "button " << c.button;
        EXPECT_EQ(f.fakes.messages.shown.size(), 0u) << "button " << c.button;
    }
}

TEST(PromotionButtons, EmailHandsTheMessageToTheMailPortOrSaysItCannot) {
    struct Case {
        bool mailWorks;
        std::size_t boxes;
    };
    const Case cases[] = {{true, 0}, {false, 1}};
    for (const Case& c : cases) {
        test::AppFixture f(withMakerSite());
        f.fakes.mail.works = c.mailWorks;
        wireCommands(*f.app);
        f.app->window.cmdEmail.click();
        ASSERT_EQ(f.fakes.mail.sent.size(), 1u);
        EXPECT_EQ(f.fakes.mail.sent[0].subject, "Orvanta Box Five Selvane");
        EXPECT_NE(f.fakes.mail.sent[0].body.find("link here http://maker.test/\n"), std::string::npos);
        ASSERT_EQ(f.fakes.messages.shown.size(), c.boxes);
        if (c.boxes) {
            EXPECT_EQ(f.fakes.messages.shown[0].title, "Email Error");
        }
    }
}

}  // namespace
}  // namespace selvane
