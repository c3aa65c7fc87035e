#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "kit/FakePorts.h"
#include "promo/AdvertFrame.h"
#include "promo/TellAFriend.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using standin::Fault;
using Lines = std::vector<std::string>;

// CR LF, LF and a lone CR each end a line; blank lines vanish, blanks in a line stay, and text
// after the last line end is lost.
TEST(AdvertFrame, AdvertLinesAndOneStepPerCharacter) {
    const std::string fetched = "\r\n\n  a b \r\nb\nc\r\rd\r\n<!-- tail -->";
    std::size_t steps = 0;
    EXPECT_EQ(advertLines(fetched, [&] { ++steps; }), (Lines{"  a b ", "b", "c", "d"}));
    EXPECT_EQ(steps, fetched.size());
}

// iFrame_page.html: ten lines around the framed file.
std::string framePage(const std::string& framed) {
    return "<html><head><title></title></head>\r\n"
           "<body bgcolor=\"#ECE9D8\" scroll=\"no\" leftMargin=\"0\" topMargin=\"8\" bottommargin=\"0\" "
           "marginheight=\"0\" marginwidth=\"0\">\r\n"
           "<iframe src=\"" + framed + "\"\r\n"
           "Scrolling=\"no\" base Target=\"_top\"\r\n"
           "Align=\"center\" width=\"460\" Height =\"60\"\r\n"
           "leftMargin=\"0\" topMargin=\"8\"\r\n"
           "marginheight=\"0\" marginwidth=\"0\"\r\n"
           "frameborder=\"0\">\r\n"
           "</iframe>\r\n"
           "</body></html>\r\n";
}

// The punter clicks "I Agree" whenever the events run while the advert is prepared, and sees
// what pointer.
struct ClickingPump : EventPump {
    ClickingPump(SplashWindow& s, const FakePointer& p) : splash(s), pointer(p) {}
    void pumpEvents() override {
        ++calls, splash.cmdOK.click();
        if (!pointer.hourglass) ++normalPointer;
    }
    SplashWindow& splash;
    const FakePointer& pointer;
    int calls = 0, normalPointer = 0;
};

struct AdvertFlow : ::testing::Test {
    test::StandinFixture web;
    test::TempDir dir;
    FakeConnectivity online;
    SplashWindow splash;
    FakePointer pointer;
    ClickingPump pump{splash, pointer};
    WebView strip;

    AdvertOutcome load(std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        const Ports ports{.pointer = &pointer, .pump = &pump, .connectivity = &online};
        const AdvertOutcome out =
            loadSplash(dir.path(), web.server.makerSiteUrl(), ports, splash, strip, advertFetchLimits(limit));
        EXPECT_EQ(strip.location(), (dir.path() / "iFrame_page.html").string());
        EXPECT_FALSE(splash.pgBar.visible());
        EXPECT_EQ(test::readFile(dir.path() / "iFrame_page.html"), framePage(out.framed));
        return out;
    }
};

TEST_F(AdvertFlow, StoresTheMakersAdvertWithoutEmptyLinesAndFramesIt) {
    EXPECT_EQ(load().framed, "adsbase.html");
    const std::string stored = test::readFile(dir.path() / "adsbase.html");
    EXPECT_TRUE(stored.starts_with("<html>\r\n<head>\r\n<title>Selvane</title>\r\n")) << stored;
    EXPECT_TRUE(stored.ends_with(web.server.makerSiteUrl() + "\" target=\"_top\">Get the latest version</a>\r\n</div>"
                                 "\r\n</body>\r\n</html>\r\n"))
        << stored;
    const int served = static_cast<int>(web.server.reply("/maker/adsbase.html").body.size());
    EXPECT_EQ(std::pair(splash.pgBar.max(), splash.pgBar.value()), std::pair(served, served));
    // "I Agree" did nothing while the advert was prepared, under the busy pointer, and works
    // once it is framed, under the normal one.
    int agreed = 0;
    splash.onAgreed = [&] { ++agreed; };
    EXPECT_GE(pump.calls, 2);
    EXPECT_EQ(std::make_pair(pump.normalPointer, pointer.history), std::make_pair(0, std::vector<bool>{true, false}));
    EXPECT_EQ(splash.choice(), SplashWindow::Choice::Waiting);
    splash.cmdOK.click();
    EXPECT_EQ(agreed, 1);
}

TEST_F(AdvertFlow, EveryFailureFramesTheBlankPage) {
    struct Row {
        const char* proves;
        Fault fault;
        std::optional<std::string> advert;  // served instead of the stand-in's page
        bool connected;
        std::string framed;
    };
    const Row rows[] = {
        {"no connection", Fault::None, {}, false, "blank.html"},
        {"missing", Fault::NotFound, {}, true, "blank.html"},
        {"32768 characters are one too many to count", Fault::None, std::string(32767, 'x') + "\n", true, "blank.html"},
        {"32767 are still shown", Fault::None, std::string(32766, 'x') + "\n", true, "adsbase.html"},
        {"an empty advert never steps the bar", Fault::None, "", true, "adsbase.html"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.proves);
        web.server.setFault(r.fault, "/maker/");
        web.server.clearOverrides();
        if (r.advert) web.server.setOverride("/maker/adsbase.html", *r.advert);
        online.online = r.connected;
        const int navigations = strip.navigations();
        EXPECT_EQ(load(std::chrono::milliseconds(300)).framed, r.framed);
        EXPECT_EQ(strip.navigations(), navigations + 1);
        EXPECT_EQ(std::filesystem::exists(dir.path() / "adsbase.html"), r.framed == "adsbase.html");
        test::writeFile(dir.path() / "adsbase.html", "stale\r\n");  // an earlier run's: never framed again
    }
}

TEST(AdvertFrame, AFramePageThatCannotBeWrittenStillLeavesTheStripOnIt) {
    const std::filesystem::path missing = "/no/such/folder";
    FakeConnectivity online;
    SplashWindow splash;
    WebView strip;
    EXPECT_EQ(downloadIframe(missing, "http://127.0.0.1:9/", Ports{.connectivity = &online}, splash, strip).framed,
              "blank.html");
    EXPECT_EQ(strip.location(), (missing / "iFrame_page.html").string());
}

TEST(SplashWindow, IDisagreeEndsTheProgramEvenWhileBusy) {
    FakeExit exit;
    SplashWindow w(&exit);
    w.splashBusy = true;
    w.cmdCancel.click();
    EXPECT_EQ(w.choice(), SplashWindow::Choice::Declined);
    EXPECT_EQ(exit.codes, std::vector<int>{0});
}

TEST(TellAFriend, MessageAndTheErrorBox) {
    const MailMessage m = tellAFriendMessage("http://maker.example/");
    EXPECT_EQ(m.subject, "Orvanta Box Five Selvane");
    EXPECT_EQ(m.body,
              "Hi,\n\nI found this Orvanta Box Five Selvane software works very well.\n"
              "It gives you the box five tips, eachway bet, live odds, live results for each races\n"
              "and best of all it's free to use.\n\nI thought you would be interested to have a look.\n"
              "Go and get it yourself from this link here http://maker.example/\n\n"
              "There is no spyware, no addware, no viruses, 100% clean to install.\n\nCheers!");
    FakeMessageBox box;
    cmdEmail("http://maker.example/", nullptr, &box);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].title + "|" + box.shown[0].text, "Email Error|Cannot send mail.\r\nPlease try again later");
}

TEST(TellAFriend, ComposerCommandLine) {
    const std::tuple<MailMessage, Lines, std::string> rows[] = {
        {{"", "Box 5", "Hi,\n\nA&B=100% ok?"},
         {"--subject", "Box 5", "--body", "Hi,\n\nA&B=100% ok?"},
         "mailto:?subject=Box%205&body=Hi%2C%0A%0AA%26B%3D100%25%20ok%3F"},
        {{"pal@example.org", "S", ""}, {"--subject", "S", "pal@example.org"}, "mailto:pal%40example.org?subject=S"},
        // A recipient that reads as an option would be taken as one.
        {{"--utf8", "", "b"}, {"--body", "b"}, "mailto:--utf8?body=b"},
    };
    for (const auto& [message, args, mailto] : rows) {
        EXPECT_EQ(xdgEmailArguments(message), args) << mailto;
        EXPECT_EQ(mailtoAddress(message), mailto);
    }
}

}  // namespace
}  // namespace selvane
