#include "promo/TellAFriend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/FakePorts.h"
#include "promo/WebLink.h"

namespace selvane {
namespace {

constexpr const char* kSite = "http://maker.example/";

TEST(TellAFriend, MessageIsTheTwelveLinesJoinedByLineFeeds) {
    const MailMessage m = tellAFriendMessage(kSite);
    EXPECT_EQ(m.recipient, "");
    EXPECT_EQ(m.subject, "Orvanta Box Five Selvane");
    EXPECT_EQ(m.body,
              "Hi,\n\nI found this Orvanta Box Five Selvane software works very well.\n"
              "It gives you the box five tips, eachway bet, live odds, live results for each races\n"
              "and best of all it's free to use.\n\nI thought you would be interested to have a look.\n"
              "Go and get it yourself from this link here http://maker.example/\n\n"
              "There is no spyware, no addware, no viruses, 100% clean to install.\n\nCheers!");
}

TEST(TellAFriend, EmailCases) {
    struct Row {
        const char* proves;
        bool havePort;
        bool composerStarts;
        std::size_t boxes;
    };
    const Row rows[] = {
        {"a started composer is the end of it", true, true, 0},
        {"a composer that cannot start gives the error box", true, false, 1},
        {"no mail port gives the error box", false, false, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.proves);
        FakeMail mail;
        mail.works = r.composerStarts;
        FakeMessageBox box;
        cmdEmail(kSite, r.havePort ? &mail : nullptr, &box);
        EXPECT_EQ(mail.sent.size(), r.havePort ? 1u : 0u);
        ASSERT_EQ(box.shown.size(), r.boxes);
        if (r.boxes == 0) continue;
        EXPECT_EQ(box.shown[0].title, "Email Error");
        EXPECT_EQ(box.shown[0].text, "Cannot send mail.\r\nPlease try again later");
        EXPECT_EQ(box.shown[0].buttons, MessageButtons::Ok);
    }
}

TEST(TellAFriend, ComposerCommandLineCases) {
    struct Row {
        const char* proves;
        MailMessage message;
        std::vector<std::string> args;
        std::string mailto;
    };
    const Row rows[] = {
        {"no recipient: the punter fills it in",
         {"", "Box 5", "Hi,\n\nA&B=100% ok?"},
         {"--subject", "Box 5", "--body", "Hi,\n\nA&B=100% ok?"},
         "mailto:?subject=Box%205&body=Hi%2C%0A%0AA%26B%3D100%25%20ok%3F"},
        {"a recipient goes last; no body leaves the option out",
         {"pal@example.org", "S", ""},
         {"--subject", "S", "pal@example.org"},
         "mailto:pal%40example.org?subject=S"},
        {"a recipient that reads as an option is dropped",
         {"--utf8", "", "b"},
         {"--body", "b"},
         "mailto:--utf8?body=b"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.proves);
        EXPECT_EQ(xdgEmailArguments(r.message), r.args);
        EXPECT_EQ(mailtoAddress(r.message), r.mailto);
    }
}

TEST(WebLink, OnlyTheLeftButtonOpensTheSite) {
    struct Row {
        const char* proves;
        int button;
        std::vector<std::string> opened;
    };
    const Row rows[] = {
        {"left button", kLeftButton, {kSite}},
        {"right button opens nothing", kRightButton, {}},
        {"middle button opens nothing", kMiddleButton, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.proves);
        FakeShell shell;
        cmdWebMouseUp(r.button, kSite, &shell);
        EXPECT_EQ(shell.opened, r.opened);
    }
}

}  // namespace
}  // namespace selvane
