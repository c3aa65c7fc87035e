#include "promo/AdvertFrame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/FakePorts.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

TEST(AdvertFrame, AdvertLinesCases) {
    struct Row {
        const char* proves;
        std::string fetched;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"CR LF, LF and lone CR each end a line", "a\r\nb\nc\rd\r\n", {"a", "b", "c", "d"}},
        {"blank lines of every kind vanish", "\r\n\na\n\n\r\r\nb\r\r\n", {"a", "b"}},
        {"text after the last line end is lost", "a\nb\n<!-- tail -->", {"a", "b"}},
        {"no line end at all stores nothing", "<html>", {}},
        {"blanks are kept inside and around a line", "  a b \n", {"  a b "}},
        {"an empty advert stores nothing", "", {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.proves);
        int steps = 0;
        EXPECT_EQ(advertLines(r.fetched, [&] { ++steps; }), r.lines);
        EXPECT_EQ(steps, static_cast<int>(r.fetched.size()));
    }
}

TEST(AdvertFrame, FramePageIsTheTenLines) {
    test::TempDir dir;
    test::writeFile(dir.path() / "iFrame_page.html", std::string(400, 'x'));
    frmSplash::createHTMLSource(dir.path(), "adsbase.html");
    EXPECT_EQ(test::readFile(dir.path() / "iFrame_page.html"),
              "<html><head><title></title></head>\r\n"
              "<body bgcolor=\"#ECE9D8\" scroll=\"no\" leftMargin=\"0\" topMargin=\"8\" bottommargin=\"0\" "
              "marginheight=\"0\" marginwidth=\"0\">\r\n"
              "<iframe src=\"adsbase.html\"\r\n"
              "Scrolling=\"no\" base Target=\"_top\"\r\n"
              "Align=\"center\" width=\"460\" Height =\"60\"\r\n"
              "leftMargin=\"0\" topMargin=\"8\"\r\n"
              "marginheight=\"0\" marginwidth=\"0\"\r\n"
              "frameborder=\"0\">\r\n"
              "</iframe>\r\n"
              "</body></html>\r\n");
}

TEST(AdvertFrame, WithoutAConnectionTheStripFramesTheBlankPage) {
    test::TempDir dir;
    FakeConnectivity offline;
    offline.online = false;
    FakeMessageBox box;
    Ports ports;
    ports.connectivity = &offline;
    ports.messages = &box;
    SplashWindow splash;
    WebView strip;
    strip.setOffline(false);
    // Nothing listens there: were it fetched, the cause would name the failed transfer.
    const AdvertOutcome out = downloadIframe(dir.path(), "http://127.0.0.1:9/", ports, splash, strip);
    EXPECT_EQ(out.online, false);
    EXPECT_EQ(out.connectionName, "Test connection");
    EXPECT_EQ(out.framed, "blank.html");
    EXPECT_EQ(out.cause, "no connection");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "adsbase.html"));
    EXPECT_NE(test::readFile(dir.path() / "iFrame_page.html").find("<iframe src=\"blank.html\"\r\n"),
              std::string::npos);
    EXPECT_EQ(strip.location(), (dir.path() / "iFrame_page.html").string());
    EXPECT_TRUE(strip.offline());
    EXPECT_FALSE(splash.pgBar.visible());
    EXPECT_TRUE(box.shown.empty());
}

TEST(AdvertFrame, AFramePageThatCannotBeWrittenStillLeavesTheStripOnIt) {
    test::TempDir dir;
    FakeConnectivity online;
    Ports ports;
    ports.connectivity = &online;
    SplashWindow splash;
    WebView strip;
    const auto missing = dir.path() / "gone";
    const AdvertOutcome out = downloadIframe(missing, "http://127.0.0.1:9/", ports, splash, strip);
    EXPECT_EQ(out.framed, "blank.html");
    EXPECT_EQ(strip.location(), (missing / "iFrame_page.html").string());
    EXPECT_EQ(strip.navigations(), 1);
}

}  // namespace
}  // namespace selvane
