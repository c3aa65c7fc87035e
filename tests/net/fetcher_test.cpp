// The fetcher against the stand-in (failure causes, the size limit, stalls, dead services), and
// pages loaded into work files and the window.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <future>
#include <optional>

#include "app/App.h"
#include "kit/FakePorts.h"
#include "kit/Guarded.h"
#include "net/PageLoader.h"
#include "net/PageStatus.h"
#include "net/WorkFiles.h"
#include "standin/Server.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using standin::Fault;

const std::string kPage = "/cgi-bin/tvf/access.pl?20261206";
const std::string kOtherPage = "/tote/2026/12/06/mtgraces.html";
const std::string kClosedPort = "http://127.0.0.1:1";
constexpr std::size_t kMB = 1024u * 1024u;

standin::Options standinOptions(Fault fault = Fault::None) {
    standin::Options o;
    o.now = "2026-12-06T14:00";
    o.fault = fault;
    return o;
}

FetchLimits shortLimits() {
    return {.connect = std::chrono::milliseconds(1000), .total = std::chrono::milliseconds(400), .maxBytes = kMB};
}

TEST(Fetcher, EachFaultHasItsCause) {
    standin::Server server(standinOptions());
    server.start();
    struct Case {
        Fault fault;
        std::optional<std::string> body;  // served with status instead of the stand-in's page
        int status;
        std::string base;  // empty: the stand-in
        FetchFailure failure;
        std::string cause;
    } cases[] = {
        {Fault::None, {}, 200, "", FetchFailure::None, ""},
        {Fault::None, std::string(kMB, 'x'), 200, "", FetchFailure::None, ""},
        {Fault::None, std::string(kMB + 1, 'x'), 200, "", FetchFailure::TooLarge, "(page over 1 MB)"},
        {Fault::None, "bad request", 400, "", FetchFailure::HttpStatus, "(HTTP 400)"},
        {Fault::NotFound, {}, 404, "", FetchFailure::HttpStatus, "(HTTP 404)"},
        {Fault::ServerError, {}, 500, "", FetchFailure::HttpStatus, "(HTTP 500)"},
        {Fault::Stall, {}, 0, "", FetchFailure::TimedOut, "(timed out)"},
        {Fault::Truncate, {}, 200, "", FetchFailure::CutShort, "(transfer cut short)"},
        {Fault::None, {}, 0, kClosedPort, FetchFailure::NoConnection, "(no connection)"},
        {Fault::None, {}, 0, "ftp://127.0.0.1:1", FetchFailure::BadAddress, "(bad address)"},
        {Fault::None, {}, 0, kClosedPort + "/x/../..", FetchFailure::BadAddress, "(bad address)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(standin::faultName(c.fault) + " " + std::to_string(c.body ? c.body->size() : 0) + " " + c.base);
        server.setFault(c.fault);
        server.clearOverrides();
        if (c.body) server.setOverride(kPage, *c.body, c.status);
        const std::string url = (c.base.empty() ? server.formGuideUrl() : c.base) + kPage;
        const FetchResult r = fetchUrl(url, shortLimits());
        const bool ok = c.failure == FetchFailure::None;
        EXPECT_EQ(r.ok, ok);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.failure, c.failure);
        EXPECT_EQ(r.error, ok ? "" : url + " " + c.cause);
        EXPECT_EQ(r.body.size(), !ok ? 0 : c.body ? c.body->size() : server.reply(kPage).body.size());
    }
}

TEST(Fetcher, ATransferThatDeliversNothingEndsByTheStallLimit) {
    standin::Server server(standinOptions(Fault::Stall));
    server.start();
    const FetchLimits limits{.total = std::chrono::milliseconds(0), .stall = std::chrono::seconds(1)};  // no total
    auto pending = std::async(std::launch::async, [&] { return fetchUrl(server.formGuideUrl() + kPage, limits); });
    if (pending.wait_for(std::chrono::seconds(60)) != std::future_status::ready) server.stop();  // no hang
    EXPECT_EQ(pending.get().cause, "(timed out)");
}

// A command's later fetches from a service that timed out or could not be reached fail at once
// with the first cause; a service that answered, even with an error, is asked again.
TEST(Fetcher, ADeadServiceIsAskedOnceACommand) {
    // the stand-in's fault, a closed port instead, pumped, its request count after both fetches, the 2nd cause
    const std::tuple<Fault, bool, bool, std::size_t, std::string> cases[] = {
        {Fault::Stall, false, false, 1, "(timed out)"},
        {Fault::Stall, false, true, 1, "(timed out)"},
        {Fault::None, true, false, 0, "(no connection)"},
        {Fault::NotFound, false, false, 2, "(HTTP 404)"},
        {Fault::Truncate, false, false, 2, "(transfer cut short)"},
    };
    standin::Server other(standinOptions());
    other.start();
    for (const auto& [fault, closedPort, pumped, requests, secondCause] : cases) {
        SCOPED_TRACE(standin::faultName(fault) + (closedPort ? " closed port" : "") + (pumped ? " pumped" : ""));
        standin::Server server(standinOptions(fault));
        server.start();
        const std::string base = closedPort ? kClosedPort : server.formGuideUrl();
        FakeEventPump pump;
        DeadServices dead;
        auto fetch = [&](const std::string& url) {
            return pumped ? fetchPumped(url, shortLimits(), &pump, &dead) : fetchUrl(url, shortLimits(), &dead);
        };
        fetch(base + kPage);
        EXPECT_EQ(fetch(base + kOtherPage).error, base + kOtherPage + " " + secondCause);
        EXPECT_EQ(server.requestCount(), requests);
        EXPECT_EQ(fetch(other.formGuideUrl() + kPage).ok, true);  // another port is another service
    }
    // A service is its scheme, host (any letter case) and port.
    DeadServices dead;
    dead.note("http://Example.COM/a/b?c", fetchUrl(kClosedPort));
    for (const auto& [url, isDead] : {std::pair{"http://EXAMPLE.com:80/other", true}, {"https://example.com/a", false},
                                      {"http://example.com:8080/a", false}, {"http://www.example.com/a", false}})
        EXPECT_EQ(dead.recall(url).has_value(), isDead) << url;
}

// A command's skipped steps are its own: an inner command's join them, the next command starts afresh.
TEST(CommandScope, KeepsTheCommandsSkippedSteps) {
    test::AppFixture fx;
    Context& ctx = *fx.app;
    {
        const CommandScope outer(ctx);
        guarded([] { throw std::runtime_error("first"); });
        const CommandScope inner(ctx);
        guarded([] { throw std::out_of_range("second"); });
    }
    EXPECT_EQ(ctx.skippedSteps, (SkippedSteps{"first", "second"}));
    const CommandScope next(ctx);
    EXPECT_TRUE(ctx.skippedSteps.empty());
}

struct PageLoader : ::testing::Test {
    PageLoader() {
        server.start();
        server.setOverride("/lines", "a\r\n\r\nb\nc");
        server.setOverride("/empty", "");
        server.setOverride("/race",
                           "<html>\n<head><title>Race 3 Form</title></head>\n<body>\n<TABLE><TR><TD>&nbsp;</TD>"
                           "<TD CLASS=Odds>1200m</TD><TD>\xC2\xA0</TD></TR></TABLE>\n</body></html>\n");
        server.setFault(Fault::NotFound, "/missing");
    }
    std::string url(const char* path) const { return server.formGuideUrl() + path; }
    std::string failure(const char* path, const char* cause) const {
        return std::string(kFetchFailedStatus) + ": " + url(path) + " " + cause;
    }

    standin::Server server{standinOptions()};
    test::AppFixture fx;
    App& app = *fx.app;
    MainWindow& w = app.window;
};

TEST_F(PageLoader, DownloadKeepsEndedNonEmptyLinesAndAFailureRemovesTheOlderPage) {
    reportLoad(w, downloadTRACK(app, url("/lines"), "access.html"));
    EXPECT_EQ(test::readFile(app.workPath("access.html")), "a\r\nb\r\n");
    reportLoad(w, downloadTRACK(app, url("/empty"), "access.html"));
    EXPECT_EQ(test::readFile(app.workPath("access.html")), "");
    reportLoad(w, downloadTRACK(app, url("/missing"), "access.html"));
    EXPECT_FALSE(fileExists(app.workPath("access.html")));
    // Names from service data never leave the folder.
    for (const char* name : {"../escape.html", "a/b.html", ".."}) downloadTRACK(app, url("/lines"), name);
    EXPECT_FALSE(fileExists((fx.dir.path().parent_path() / "escape.html").string()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(fx.dir.path()), {}), 0);
}

// A command's first failure is named in both places, not hidden by a later load nor hiding a best bet.
TEST_F(PageLoader, FailuresAreReportedWithoutHidingAnEarlierMessage) {
    reportLoad(w, downloadTRACK(app, url("/missing"), "access.html"));
    showParsedPage(w, app.ports.pump, Parse(app, url("/missing/2")));
    showParsedPage(w, app.ports.pump, Parse(app, url("/race")));
    EXPECT_EQ(w.stBar.panel(2), failure("/missing", "(HTTP 404)"));
    EXPECT_EQ(w.lblStatus.caption(), failure("/missing", "(HTTP 404)"));
    w.stBar.setPanel(2, "Tip each way best bet #  3.  CHARLIE");
    reportLoad(w, downloadTRACK(app, url("/missing/2"), "mtgraces.html"));
    EXPECT_EQ(w.stBar.panel(2), "Tip each way best bet #  3.  CHARLIE");
    EXPECT_EQ(w.lblStatus.caption(), failure("/missing/2", "(HTTP 404)"));
}

// A page that does not fit on the disk is no page: its load fails with the file and the reason,
// shown as a failed fetch is, and neither that file nor a part of it is left to be read.
TEST_F(PageLoader, APageThatCannotBeStoredWholeFailsItsLoad) {
    server.setOverride("/long", std::string(6000, 'x') + "\n");
    test::SmallDisk disk(4096);
    App full(disk.path(), fx.fakes.ports(), app.services);
    test::writeFile(full.workPath("test.html"), "an earlier page");
    const LoadedPage page = downloadAndParse(full, url("/long"), "access.html");
    reportLoad(w, page);
    const std::string failure = "cannot write access.html: " + disk.reason();
    EXPECT_EQ(std::make_tuple(page.ok, w.stBar.panel(2), w.lblStatus.caption(), full.firstWriteFailure),
              std::make_tuple(false, failure, failure, failure));
    EXPECT_FALSE(fileExists(full.workPath("access.html")) || fileExists(full.workPath("test.html")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk.path()), {}), fileExists(full.workPath("filler")));
}

TEST_F(PageLoader, ParseStoresTheEngineMarkupAndTitle) {
    showParsedPage(w, app.ports.pump, Parse(app, url("/race")));
    EXPECT_EQ(w.lblStatus.caption() + "|" + w.lblTitle.caption(), "Done|Racecourse : Race 3 Form");
    EXPECT_EQ(w.pageFilePath, app.workPath("test.html"));
    EXPECT_EQ(test::readFile(w.pageFilePath), w.pageMarkup + "\r\n");
    EXPECT_NE(w.pageMarkup.find("<td>&nbsp;</td><td class=\"Odds\">1200m</td><td>&nbsp;</td>"), std::string::npos)
        << w.pageMarkup;
}

// The charset is read up to its ";": a windows-1252 right quote becomes one, not a raw byte.
TEST_F(PageLoader, ParseReadsTheCharsetBeforeFurtherParameters) {
    const std::string page = "<html><body><p>\x93" "Bold\x94 \xC9</p></body></html>";
    server.setOverride("/quoted", page);
    server.setFault(Fault::NotUtf8, "/quoted");
    // The same bytes just before without a charset: the engine's run on them is not reused.
    server.setOverride("/plain", page);
    EXPECT_EQ(Parse(app, url("/plain")).markup.find("&#8220;"), std::string::npos);
    EXPECT_EQ(Parse(app, url("/quoted")).markup, "<html><body><p>&#8220;Bold&#8221; \xC9</p></body></html>");
}

TEST_F(PageLoader, AFailedOrStalledParseLeavesNoStalePageAndTheWindowRunning) {
    app.limits.total = std::chrono::milliseconds(300);
    for (const auto& [fault, cause] : {std::pair{Fault::NotFound, "(HTTP 404)"}, {Fault::Stall, "(timed out)"}}) {
        server.setFault(fault, "/missing");
        showParsedPage(w, app.ports.pump, Parse(app, url("/race")));
        w.lblTitle.setCaption("Racecourse: ");
        w.stBar.setPanel(2, "");
        showParsedPage(w, app.ports.pump, Parse(app, url("/missing")));
        EXPECT_FALSE(fileExists(app.workPath("test.html"))) << cause;
        EXPECT_EQ(w.lblStatus.caption(), failure("/missing", cause));
        EXPECT_EQ(w.pageMarkup + "|" + w.lblTitle.caption(), "|Racecourse: ");
    }
    EXPECT_GT(fx.fakes.pump.calls, 0);
}

// An installed program, even one run by root, keeps its work files per user and takes the supplied
// files from <prefix>/share/selvane. An empty XDG_DATA_HOME counts as unset.
TEST(WorkFiles, AnInstalledProgramUsesAPerUserFolder) {
    test::TempDir prefix, home, data;
    std::filesystem::create_directories(prefix.path() / "bin");
    std::filesystem::create_directories(prefix.path() / "share/selvane");
    test::writeFile(prefix.path() / "share/selvane/blank.html", "<html>installed</html>");
    const test::SavedEnv savedXdg("XDG_DATA_HOME"), savedHome("HOME");
    ::setenv("HOME", home.path().c_str(), 1);
    using Case = std::pair<std::string, std::filesystem::path>;  // XDG_DATA_HOME, the folder chosen
    for (const auto& [xdg, folder] : {Case{data.path().string(), data.path() / "selvane"},
                                      Case{"", home.path() / ".local/share/selvane"}}) {
        ::setenv("XDG_DATA_HOME", xdg.c_str(), 1);
        EXPECT_EQ(chooseProgramFolder(prefix.path() / "bin"), folder);
        EXPECT_EQ(test::readFile(folder / "blank.html"), "<html>installed</html>");
    }
}

TEST(WorkFiles, NamesFromServiceDataStayInTheFolderAndSavesEndWithOneLineEnd) {
    test::TempDir dir;
    EXPECT_EQ(workFilePath(dir.path(), "AB01.html"), dir.file("AB01.html"));
    for (std::string_view bad : {"", ".", "..", "../x.html", "a/b.html", "a\\b.html", "/etc/passwd", "c:x.html"})
        EXPECT_FALSE(workFilePath(dir.path(), bad).has_value()) << bad;
    EXPECT_FALSE(workFilePath(dir.path(), std::string_view("a\0b", 3)).has_value());
    test::writeFile(dir.file("test.html"), std::string(1000, 'o'));
    EXPECT_EQ(saveFile(dir.file("test.html"), std::string("<html>\0</html>", 14)).failure, "");
    EXPECT_EQ(readWholeFile(dir.file("test.html")), std::string("<html>\0</html>\r\n", 16));
    EXPECT_FALSE(fileExists(dir.path().string()));  // a folder is not a work file
}

// A link planted under a work file's name is replaced, never written through nor read; a write
// that fails names the file and the system's reason and leaves nothing of itself behind.
TEST(WorkFiles, WritesReplaceTheNameWholeAndNeverFollowALink) {
    test::TempDir dir, outside;
    const std::string theirs = outside.file("theirs.txt");
    test::writeFile(theirs, "theirs");
    ASSERT_EQ(::symlink(theirs.c_str(), dir.file("test.html").c_str()), 0);
    EXPECT_EQ(std::make_pair(fileExists(dir.file("test.html")), readWholeFile(dir.file("test.html"))),
              std::make_pair(false, std::string()));
    EXPECT_EQ(saveFile(dir.file("test.html"), "<html>").failure, "");
    EXPECT_EQ(std::make_pair(test::readFile(theirs), readWholeFile(dir.file("test.html"))),
              std::make_pair(std::string("theirs"), std::string("<html>\r\n")));
    // Again, over the plain file now there: the old one leaves nothing behind under another name.
    EXPECT_EQ(saveFile(dir.file("test.html"), "<p>").failure, "");
    EXPECT_EQ(readWholeFile(dir.file("test.html")), "<p>\r\n");
    std::filesystem::create_directory(dir.file("access.html"));
    EXPECT_EQ(writeWorkFile(dir.file("access.html"), {"a", "b"}).failure, "cannot write access.html: Is a directory");
    EXPECT_EQ(writeWorkFile(dir.file("gone/x.html"), {"a"}).failure, "cannot write x.html: No such file or directory");
    EXPECT_EQ(checkWritableFolder("/proc/self"), "cannot write to /proc/self: No such file or directory");
    EXPECT_EQ(checkWritableFolder(dir.path()), "");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"access.html", "test.html"}));
}

}  // namespace
}  // namespace selvane
