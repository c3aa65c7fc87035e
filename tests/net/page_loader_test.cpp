#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "app/App.h"
#include "net/HtmlEngine.h"
#include "net/PageLoader.h"
#include "net/PageStatus.h"
#include "net/WorkFiles.h"
#include "support/LocalServer.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using test::AppFixture;
using test::readFile;

class PageLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& r = server.routes();
        r.Get("/lines", [](const auto&, auto& res) { res.set_content("a\r\n\r\nb\nc", "text/plain"); });
        r.Get("/breaks", [](const auto&, auto& res) { res.set_content("\r\n\n\r\r\n", "text/plain"); });
        r.Get("/empty", [](const auto&, auto& res) { res.set_content("", "text/html"); });
        r.Get("/missing", [](const auto&, auto& res) {
            res.status = 404;
            res.set_content("<html><body>not here</body></html>", "text/html");
        });
        r.Get("/broken", [](const auto&, auto& res) {
            res.status = 500;
            res.set_content("oops", "text/plain");
        });
        r.Get("/stall", [this](const auto&, auto& res) {
            for (int i = 0; i < 300 && !stopping; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            res.set_content("late", "text/plain");
        });
        r.Get("/huge", [](const auto&, auto& res) { res.set_content(std::string(17u << 20, 'x'), "text/plain"); });
        r.Get("/race", [](const auto&, auto& res) {
            res.set_content(
                "<html>\n<head><title>Race 3 Form</title></head>\n<body>\n<TABLE><TR><TD>&nbsp;</TD>"
                "<TD CLASS=Odds>1200m</TD><TD>\xC2\xA0</TD></TR></TABLE>\n</body></html>\n",
                "text/html; charset=UTF-8");
        });
        r.Get("/latin1", [](const auto&, auto& res) {
            res.set_content("<html><head><title>Caf\xE9</title></head><body><p>Caf\xE9</p></body></html>",
                            "text/html; charset=ISO-8859-1");
        });
        server.start();
    }
    void TearDown() override {
        stopping = true;
        server.stop();
    }

    std::atomic<bool> stopping{false};
    test::LocalServer server;
    AppFixture fx;
    App& app = *fx.app;
};

TEST_F(PageLoaderTest, DownloadKeepsOnlyEndedNonEmptyLines) {
    reportLoad(app.window, downloadTRACK(app, server.url("/lines"), "access.html"));
    EXPECT_EQ(readFile(app.workPath("access.html")), "a\r\nb\r\n");

    reportLoad(app.window, downloadTRACK(app, server.url("/breaks"), "access.html"));
    EXPECT_TRUE(fileExists(app.workPath("access.html")));
    EXPECT_EQ(readFile(app.workPath("access.html")), "");

    reportLoad(app.window, downloadTRACK(app, server.url("/empty"), "access.html"));
    EXPECT_TRUE(fileExists(app.workPath("access.html")));
    EXPECT_EQ(readFile(app.workPath("access.html")), "");
}

TEST_F(PageLoaderTest, FailedDownloadRemovesTheOlderPage) {
    for (const char* path : {"/missing", "/broken", "/huge"}) {
        test::writeFile(app.workPath("access.html"), "an older day\r\n");
        reportLoad(app.window, downloadTRACK(app, server.url(path), "access.html"));
        EXPECT_FALSE(fileExists(app.workPath("access.html"))) << path;
    }
}

TEST_F(PageLoaderTest, FailuresAreReportedWithoutHidingAnEarlierMessage) {
    const std::string missing = std::string(kFetchFailedStatus) + ": " + server.url("/missing") + " (HTTP 404)";
    reportLoad(app.window, downloadTRACK(app, server.url("/missing"), "access.html"));
    EXPECT_EQ(app.window.lblStatus.caption(), missing);
    EXPECT_EQ(app.window.stBar.panel(2), missing);

    // The first failure of a command names its page, in both places; a page loaded after it
    // does not say "Done".
    showParsedPage(app.window, app.ports.pump, Parse(app, server.url("/broken")));
    EXPECT_EQ(app.window.stBar.panel(2), missing);
    EXPECT_EQ(app.window.lblStatus.caption(), missing);
    showParsedPage(app.window, app.ports.pump, Parse(app, server.url("/race")));
    EXPECT_EQ(app.window.lblStatus.caption(), missing);
    // A best bet written before a failure keeps panel 2; lblStatus names the failure.
    app.window.stBar.setPanel(2, "Tip each way best bet #  3.  CHARLIE");
    reportLoad(app.window, downloadTRACK(app, server.url("/broken"), "mtgraces.html"));
    EXPECT_EQ(app.window.stBar.panel(2), "Tip each way best bet #  3.  CHARLIE");
    EXPECT_EQ(app.window.lblStatus.caption(), std::string(kFetchFailedStatus) + ": " + server.url("/broken") + " (HTTP 500)");
}

TEST_F(PageLoaderTest, DownloadRefusesNamesOutsideTheFolder) {
    for (const char* name : {"../escape.html", "a/b.html", "..", ""}) {
        reportLoad(app.window, downloadTRACK(app, server.url("/lines"), name));
    }
    EXPECT_FALSE(fileExists((fx.dir.path().parent_path() / "escape.html").string()));
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(fx.dir.path())) ++files;
    EXPECT_EQ(files, 0);
}

TEST_F(PageLoaderTest, ParseStoresTheEngineMarkupAndTitle) {
    showParsedPage(app.window, app.ports.pump, Parse(app, server.url("/race")));
    const MainWindow& w = app.window;
    EXPECT_EQ(w.lblStatus.caption(), "Done");
    EXPECT_EQ(w.lblTitle.caption(), "Racecourse : Race 3 Form");
    EXPECT_EQ(w.pageFilePath, app.workPath("test.html"));
    EXPECT_EQ(readFile(w.pageFilePath), w.pageMarkup + "\r\n");
    // Empty cells come out as the entity, whichever way the page wrote them; tags keep their
    // attributes' letters; the page's own breaks become CR LF.
    EXPECT_NE(w.pageMarkup.find("<td>&nbsp;</td>"), std::string::npos) << w.pageMarkup;
    EXPECT_EQ(w.pageMarkup.find('\xA0'), std::string::npos);
    EXPECT_NE(w.pageMarkup.find("class=\"Odds\">1200m</td>"), std::string::npos) << w.pageMarkup;
    for (std::size_t i = w.pageMarkup.find('\n'); i != std::string::npos; i = w.pageMarkup.find('\n', i + 1))
        ASSERT_EQ(w.pageMarkup[i - 1], '\r') << "bare LF at " << i;
    EXPECT_GT(fx.fakes.pump.calls, 0);
}

TEST_F(PageLoaderTest, ParseDecodesTheCharsetTheResponseNames) {
    showParsedPage(app.window, app.ports.pump, Parse(app, server.url("/latin1")));
    EXPECT_EQ(app.window.lblTitle.caption(), "Racecourse : Caf\xC3\xA9");
    EXPECT_NE(app.window.pageMarkup.find("<p>Caf\xE9</p>"), std::string::npos) << app.window.pageMarkup;
}

TEST_F(PageLoaderTest, FailedParseLeavesNoStalePage) {
    showParsedPage(app.window, app.ports.pump, Parse(app, server.url("/race")));
    ASSERT_TRUE(fileExists(app.workPath("test.html")));
    app.window.lblTitle.setCaption("Racecourse: ");

    showParsedPage(app.window, app.ports.pump, Parse(app, server.url("/missing")));
    EXPECT_FALSE(fileExists(app.workPath("test.html")));
    EXPECT_EQ(app.window.pageMarkup, "");
    EXPECT_EQ(app.window.lblStatus.caption(), std::string(kFetchFailedStatus) + ": " + server.url("/missing") + " (HTTP 404)");
    EXPECT_EQ(app.window.lblTitle.caption(), "Racecourse: ");
}

TEST_F(PageLoaderTest, StalledServerIsCutOffByTheTimeLimit) {
    app.limits.total = std::chrono::milliseconds(300);
    test::writeFile(app.workPath("test.html"), "older\r\n");
    showParsedPage(app.window, app.ports.pump, Parse(app, server.url("/stall")));
    EXPECT_FALSE(fileExists(app.workPath("test.html")));
    EXPECT_EQ(app.window.lblStatus.caption(), std::string(kFetchFailedStatus) + ": " + server.url("/stall") + " (timed out)");
    EXPECT_GT(fx.fakes.pump.calls, 0);  // the window kept running while it waited
}

TEST_F(PageLoaderTest, FetchReportsStatusAndLimits) {
    FetchLimits limits;
    limits.total = std::chrono::milliseconds(2000);
    struct Case {
        const char* path;
        bool ok;
        long status;
    } cases[] = {{"/lines", true, 200}, {"/missing", false, 404}, {"/broken", false, 500}, {"/huge", false, 200}};
    for (const Case& c : cases) {
        const FetchResult r = fetchUrl(server.url(c.path), limits);
        EXPECT_EQ(r.ok, c.ok) << c.path;
        EXPECT_EQ(r.status, c.status) << c.path;
        EXPECT_EQ(r.ok, r.error.empty()) << c.path;
        if (!r.ok) {
            EXPECT_EQ(r.body, "") << c.path;
        }
    }
    const FetchResult refused = fetchUrl("http://127.0.0.1:1/", limits);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("127.0.0.1:1"), std::string::npos);
}

TEST(FetcherCharset, TakesTheCharsetOfAContentType) {
    EXPECT_EQ(charsetOf("text/html; charset=ISO-8859-1"), "ISO-8859-1");
    EXPECT_EQ(charsetOf("text/html;Charset=\"utf-8\""), "utf-8");
    EXPECT_EQ(charsetOf("text/html"), "");
}

TEST(HtmlEngine, SurvivesHostileBytes) {
    const std::string nul = std::string("<html><body><td>a") + '\0' + "b</td><";
    const std::string cases[] = {"", "<", "<<<>>>", nul, std::string(1 << 20, '<'), std::string("\xFF\xFE\0<td>x", 8)};
    for (const std::string& bytes : cases) {
        const NormalisedPage page = normalisePage(bytes);
        for (std::size_t i = page.markup.find('\n'); i != std::string::npos; i = page.markup.find('\n', i + 1))
            ASSERT_TRUE(i > 0 && page.markup[i - 1] == '\r');
    }
}

}  // namespace
}  // namespace selvane
