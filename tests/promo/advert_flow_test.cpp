// The splash's advert against the stand-in's maker site, through the real fetcher.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "kit/FakePorts.h"
#include "promo/AdvertFrame.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using standin::Fault;

struct HookPump : EventPump {
    void pumpEvents() override {
        ++calls;
        if (hook) hook();
    }
    std::function<void()> hook;
    int calls = 0;
};

struct AdvertFlow : ::testing::Test {
    test::StandinFixture web;
    test::TempDir dir;
    FakeConnectivity online;
    FakeMessageBox box;
    HookPump pump;
    SplashWindow splash;
    WebView strip;

    Ports ports() {
        Ports p;
        p.connectivity = &online;
        p.messages = &box;
        p.pump = &pump;
        return p;
    }
    AdvertOutcome load(std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        return loadSplash(dir.path(), web.server.makerSiteUrl(), ports(), splash, strip, advertFetchLimits(limit));
    }
    std::string framedSource() const {
        const std::string page = test::readFile(dir.path() / "iFrame_page.html");
        const auto at = page.find("<iframe src=\"");
        return at == std::string::npos ? "" : page.substr(at + 13, page.find('"', at + 13) - at - 13);
    }
};

TEST_F(AdvertFlow, StoresTheMakersAdvertWithoutEmptyLinesAndFramesIt) {
    const std::string site = web.server.makerSiteUrl();
    const AdvertOutcome out = load();
    EXPECT_EQ(out.framed, "adsbase.html");
    EXPECT_EQ(out.cause, "");
    EXPECT_EQ(test::readFile(dir.path() / "adsbase.html"),
              "<html>\r\n<head>\r\n<title>Selvane</title>\r\n"
              "<style>body { margin: 0; background: #ECE9D8; font-family: Tahoma, sans-serif; font-size: 12px; "
              "}</style>\r\n"
              "</head>\r\n<body>\r\n"
              "<div style=\"width: 456px; height: 56px; border: 1px solid #888; text-align: center\">\r\n"
              "<b>Box Five &amp; Each Way Selvane</b><br>\r\n"
              "Free tips, live odds and live results for every race. <a href=\"" +
                  site + "\" target=\"_top\">Get the latest version</a>\r\n</div>\r\n</body>\r\n</html>\r\n");
    EXPECT_EQ(framedSource(), "adsbase.html");
    EXPECT_EQ(strip.location(), (dir.path() / "iFrame_page.html").string());
    // One step per character of the page as served.
    const int served = static_cast<int>(web.server.reply("/maker/adsbase.html").body.size());
    EXPECT_EQ(splash.pgBar.max(), served);
    EXPECT_EQ(splash.pgBar.value(), served);
    EXPECT_FALSE(splash.pgBar.visible());
    EXPECT_FALSE(splash.splashBusy);
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(AdvertFlow, IAgreeDoesNothingWhileTheAdvertIsFetched) {
    int agreed = 0;
    splash.onAgreed = [&] { ++agreed; };
    pump.hook = [&] { splash.cmdOK.click(); };
    load();
    ASSERT_GE(pump.calls, 2);
    EXPECT_EQ(agreed, 0);
    EXPECT_EQ(splash.choice(), SplashWindow::Choice::Waiting);
    splash.cmdOK.click();
    EXPECT_EQ(agreed, 1);
}

TEST_F(AdvertFlow, EveryFailureFramesTheBlankPage) {
    struct Row {
        const char* proves;
        Fault fault;
        std::optional<std::string> override;  // the advert's bytes instead of the stand-in's page
        std::string framed;
        bool stored;
    };
    const Row rows[] = {
        {"the maker's advert is missing", Fault::NotFound, {}, "blank.html", false},
        {"the maker's site stalls past the limit", Fault::Stall, {}, "blank.html", false},
        {"the advert is far too large to fetch", Fault::Oversize, {}, "blank.html", false},
        {"32768 characters are one too many to count", Fault::None, std::string(32767, 'x') + "\n", "blank.html",
         false},
        {"32767 characters are still shown", Fault::None, std::string(32766, 'x') + "\n", "adsbase.html", true},
        {"an empty advert never steps the bar, which is hidden all the same", Fault::None, "", "adsbase.html",
         true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.proves);
        web.server.setFault(r.fault, "/maker/");
        web.server.clearOverrides();
        if (r.override) web.server.setOverride("/maker/adsbase.html", *r.override);
        // A stale advert of an earlier run is never framed again.
        test::writeFile(dir.path() / "adsbase.html", "stale\r\n");
        const int navigations = strip.navigations();
        const AdvertOutcome out = load(std::chrono::milliseconds(300));
        EXPECT_EQ(strip.navigations(), navigations + 1);
        EXPECT_EQ(out.framed, r.framed);
        EXPECT_EQ(framedSource(), r.framed);
        EXPECT_EQ(std::filesystem::exists(dir.path() / "adsbase.html"), r.stored);
        EXPECT_EQ(strip.location(), (dir.path() / "iFrame_page.html").string());
        EXPECT_FALSE(splash.pgBar.visible());
        EXPECT_TRUE(box.shown.empty());
    }
    web.server.setFault(Fault::None);
}

}  // namespace
}  // namespace selvane
