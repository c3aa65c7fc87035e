// The server over real sockets, through the program's own fetcher.

#include "standin/Server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <future>
#include <thread>

#include "net/Fetcher.h"
#include "net/HtmlEngine.h"
#include "net/PageLoader.h"
#include "results/ResultParser.h"
#include "standin/Pages.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane::standin {
namespace {

bool has(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

FetchLimits shortLimits(int totalMs = 3000) {
    FetchLimits l;
    l.connect = std::chrono::milliseconds(1000);
    l.total = std::chrono::milliseconds(totalMs);
    return l;
}

class ServerTest : public ::testing::Test {
protected:
    ServerTest() : server(makeOptions()) { server.start(); }
    static Options makeOptions() {
        Options o;
        o.now = "2026-12-06T14:00";
        o.slowMs = 1500;
        o.oversizeBytes = 300'000;
        return o;
    }
    FetchResult get(const std::string& pathAndQuery, const FetchLimits& limits = shortLimits()) {
        return fetchUrl(server.formGuideUrl() + pathAndQuery, limits);
    }
    Server server;
};

TEST_F(ServerTest, AddressesFollowTheBoundPort) {
    ASSERT_GT(server.port(), 0);
    const std::string base = "http://127.0.0.1:" + std::to_string(server.port());
    EXPECT_EQ(server.formGuideUrl(), base);
    EXPECT_EQ(server.resultsSiteRoot(), base + "/tote/");
    EXPECT_EQ(server.makerSiteUrl(), base + "/maker/");
}

TEST_F(ServerTest, ServesEveryPageOfTheDay) {
    const RaceDay day = generateRaceDay(2026, 12, 6, 1);
    const Meeting& m = day.meetings[1];
    const Race& race = m.races[2];
    const LocalTime now = *parseLocalTime("2026-12-06T14:00");
    const std::string n = std::to_string(race.number);
    const std::string number2 = (race.number < 10 ? "0" : "") + n;
    struct Case {
        std::string target;
        std::string want;
    };
    const Case cases[] = {
        {"/cgi-bin/tvf/access.pl", meetingPage(day)},
        {"/cgi-bin/tvf/access.pl?20261206", meetingPage(day)},
        {"/cgi-bin/tvf/access.pl?20261205", meetingPage(generateRaceDay(2026, 12, 5, 1))},
        {"/cgi-bin/tvf/memdeliver.pl/" + m.formCode + n + ".htm?tvf3", racePage(day, *&m, race)},
        {"/cgi-bin/tvf/memdispodds.pl/" + m.formCode + n + "?rto", pricePage(day, m, race, now)},
        {"/tote/2026/12/06/mtgraces.html", resultsMeetingPage(day, now)},
        {"/tote/2026/12/06/" + m.toteCode + "01.html", resultPage(day, m, m.races[0], now)},
        {"/maker/adsbase.html", advertPage(server.makerSiteUrl())},
        {"/maker/", makerHomePage(server.makerSiteUrl())},
    };
    for (const Case& c : cases) {
        const FetchResult r = get(c.target);
        EXPECT_TRUE(r.ok) << c.target << ": " << r.error;
        EXPECT_EQ(r.status, 200) << c.target;
        EXPECT_EQ(r.body, c.want) << c.target;
        EXPECT_EQ(r.contentType, "text/html") << c.target;
    }
}

TEST_F(ServerTest, TheMeetingPageWithoutADateIsTodayByTheClock) {
    server.setNow("2027-03-01T09:15");
    EXPECT_EQ(get("/cgi-bin/tvf/access.pl").body, meetingPage(generateRaceDay(2027, 3, 1, 1)));
    EXPECT_EQ(formatLocalTime(server.now()), "2027-03-01T09:15");
    EXPECT_THROW(server.setNow("tomorrow"), std::invalid_argument);
}

TEST_F(ServerTest, MalformedRequestsGetANotFoundPage) {
    const RaceDay day = generateRaceDay(2026, 12, 6, 1);
    const std::string code = day.meetings[0].formCode;
    const std::string tote = day.meetings[0].toteCode;
    const std::string races = std::to_string(day.meetings[0].races.size() + 1);
    const char* const unknownTote = "ZZ01.html";
    const std::string targets[] = {
        "/nothing",
        "/cgi-bin/tvf/access.pl?2026120",
        "/cgi-bin/tvf/access.pl?20261306",
        "/cgi-bin/tvf/access.pl?%20%20%20%20%20%20%20%20",
        "/cgi-bin/tvf/access.pl?20261206&x",
        "/cgi-bin/tvf/memdeliver.pl/" + code + "0.htm?tvf3",
        "/cgi-bin/tvf/memdeliver.pl/" + code + races + ".htm?tvf3",
        "/cgi-bin/tvf/memdeliver.pl/" + code + "1.html?tvf3",
        "/cgi-bin/tvf/memdeliver.pl/" + code + "1.htm?other",
        "/cgi-bin/tvf/memdeliver.pl/qqqqqqq1.htm?tvf3",
        "/cgi-bin/tvf/memdeliver.pl/ab1.htm?tvf3",
        "/cgi-bin/tvf/memdispodds.pl/" + code + "?rto",
        "/cgi-bin/tvf/memdispodds.pl/" + code + "1x?rto",
        "/tote/2026/12/6/mtgraces.html",
        "/tote/2026/13/06/mtgraces.html",
        "/tote/2026/12/06/" + std::string(unknownTote),
        "/tote/2026/12/06/" + tote + "00.html",
        "/tote/2026/12/06/" + tote + "1.html",
        "/tote/2026/12/07/" + tote + "01.html",  // tomorrow: not run yet
        "/maker/other.html",
    };
    httplib::Client raw("127.0.0.1", server.port());
    for (const std::string& t : targets) {
        const FetchResult r = get(t);
        EXPECT_EQ(r.status, 404) << t;
        EXPECT_FALSE(r.ok) << t;
        const auto page = raw.Get(t);
        ASSERT_TRUE(page) << t;
        EXPECT_TRUE(has(page->body, "Not Found")) << t;
    }
    // Other methods are refused, and the server goes on serving.
    auto bad = raw.Post("/cgi-bin/tvf/access.pl", "x", "text/plain");
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->status, 404);
    EXPECT_EQ(get("/cgi-bin/tvf/access.pl").status, 200);
}

TEST_F(ServerTest, ResultsFollowTheClock) {
    const RaceDay day = generateRaceDay(2026, 12, 6, 1);
    const Meeting& m = day.meetings[0];
    const Race& race = m.races[0];
    const std::string page = "/tote/2026/12/06/mtgraces.html";
    const std::string resultPath = "/tote/2026/12/06/" + m.toteCode + "01.html";
    auto stateNow = [&] {
        ResultTables t;
        std::string stored = splitIntoLines(get(page).body);
        parseResultMeetings(t, stored);
        return t.resultRecords.at(1).result(1);
    };
    auto at = [&](int minutes) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "2026-12-06T%02d:%02d", minutes / 60, minutes % 60);
        server.setNow(buf);
    };
    at(race.startMinutes - 1);
    EXPECT_EQ(stateNow(), race.toteTime());
    EXPECT_EQ(get(resultPath).status, 404);
    at(race.startMinutes);
    EXPECT_EQ(stateNow(), race.abandoned ? "abnd" : "CLOSED");
    EXPECT_EQ(get(resultPath).status, 200);
    at(race.startMinutes + kClosedMinutes);
    EXPECT_EQ(stateNow(), race.abandoned ? "abnd" : "INTERIM");
    at(race.startMinutes + kClosedMinutes + kInterimMinutes);
    EXPECT_EQ(stateNow(), race.abandoned ? "abnd" : placingsText(race));
    EXPECT_TRUE(has(get(resultPath).body, "OFFICIAL") || race.abandoned);
}

TEST_F(ServerTest, OverridesReplaceGeneratedPagesUntilCleared) {
    const RaceDay day = generateRaceDay(2026, 12, 6, 1);
    const std::string target = "/cgi-bin/tvf/memdeliver.pl/" + day.meetings[0].formCode + "1.htm?tvf3";
    server.setOverride(target, "gone", 404);
    server.setOverride("/extra.html", "<html>extra</html>");
    httplib::Client raw("127.0.0.1", server.port());
    const auto gone = raw.Get(target);
    ASSERT_TRUE(gone);
    EXPECT_EQ(gone->status, 404);
    EXPECT_EQ(gone->body, "gone");
    EXPECT_EQ(get("/extra.html").body, "<html>extra</html>");
    server.clearOverrides();
    EXPECT_EQ(get(target).status, 200);
    EXPECT_EQ(get("/extra.html").status, 404);
}

TEST_F(ServerTest, FaultsOfStatusAndEncoding) {
    const std::string target = "/cgi-bin/tvf/access.pl?20261206";
    server.setFault(Fault::NotFound);
    EXPECT_EQ(get(target).status, 404);
    server.setFault(Fault::ServerError);
    FetchResult r = get(target);
    EXPECT_EQ(r.status, 500);
    EXPECT_FALSE(r.ok);
    server.setFault(Fault::NotUtf8);
    r = get(target);
    EXPECT_EQ(r.status, 200);
    EXPECT_FALSE(isValidUtf8(r.body));
    // Only the form guide is hit when the fault names its path.
    server.setFault(Fault::ServerError, "/cgi-bin/");
    EXPECT_EQ(get(target).status, 500);
    EXPECT_EQ(get("/tote/2026/12/06/mtgraces.html").status, 200);
    server.setFault(Fault::None);
    EXPECT_TRUE(isValidUtf8(get(target).body));
}

TEST_F(ServerTest, TruncatedAndOversizedBodiesFailTheFetch) {
    const std::string target = "/cgi-bin/tvf/access.pl?20261206";
    const std::string whole = get(target).body;
    server.setFault(Fault::Truncate);
    FetchResult r = get(target);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.cause, "(transfer cut short)");

    server.setFault(Fault::Oversize);
    FetchLimits small = shortLimits();
    small.maxBytes = 100'000;
    r = get(target, small);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.cause, "(page over 100000 bytes)");
    r = get(target);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.body.size(), 300'000u);
    EXPECT_EQ(r.body.substr(0, whole.size()), whole);
    EXPECT_EQ(r.body.substr(r.body.size() - 4), "-->\n");
}

TEST_F(ServerTest, SlowAnswersComeLate) {
    server.setFault(Fault::Slow);
    EXPECT_FALSE(get("/maker/adsbase.html", shortLimits(300)).ok);
    const FetchResult r = get("/maker/adsbase.html", shortLimits(10'000));
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.body, advertPage(server.makerSiteUrl()));
}

TEST(Server, AStalledRequestNeverAnswersAndStopStillReturns) {
    Options o;
    o.fault = Fault::Stall;
    Server server(o);
    server.start();
    EXPECT_FALSE(fetchUrl(server.formGuideUrl() + "/cgi-bin/tvf/access.pl", shortLimits(300)).ok);
    // One client still waiting while the server stops: it gets no page, and stop() comes back.
    auto waiting = std::async(std::launch::async, [url = server.formGuideUrl()] {
        return fetchUrl(url + "/cgi-bin/tvf/access.pl", shortLimits(60'000));
    });
    while (server.requestCount() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    server.stop();
    const FetchResult r = waiting.get();
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.status, 200);
}

TEST_F(ServerTest, BodiesAreNeverCompressed) {
    httplib::Client client("127.0.0.1", server.port());
    client.set_decompress(false);
    const auto res = client.Get("/cgi-bin/tvf/access.pl", {{"Accept-Encoding", "gzip, deflate, br"}});
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    ASSERT_FALSE(res->has_header("Content-Encoding"));
    EXPECT_EQ(res->body, meetingPage(generateRaceDay(2026, 12, 6, 1)));
}

TEST(Server, ServesSavedPagesFromARootFolder) {
    selvane::test::TempDir dir;
    std::filesystem::create_directories(dir.path() / "cgi-bin/tvf");
    selvane::test::writeFile(dir.path() / "cgi-bin/tvf/access.pl", "today");
    selvane::test::writeFile(dir.path() / "cgi-bin/tvf/access.pl?20261206", "sixth");
    Options o;
    o.root = dir.path();
    Server server(o);
    server.start();
    auto get = [&](const std::string& t) { return fetchUrl(server.formGuideUrl() + t, shortLimits()); };
    EXPECT_EQ(get("/cgi-bin/tvf/access.pl").body, "today");
    EXPECT_EQ(get("/cgi-bin/tvf/access.pl?20261206").body, "sixth");
    EXPECT_EQ(get("/cgi-bin/tvf/access.pl?20261207").body, "today");
    EXPECT_EQ(get("/tote/2026/12/06/mtgraces.html").status, 404);
    httplib::Client raw("127.0.0.1", server.port());
    const auto escape = raw.Get("/cgi-bin/../cgi-bin/tvf/access.pl");
    ASSERT_TRUE(escape);
    EXPECT_EQ(escape->status, 404);
}

TEST(Server, ADumpedDayServedFromItsFolderGivesTheSameBytes) {
    selvane::test::TempDir dir;
    Options o;
    o.now = "2026-12-06T14:00";
    Server generated(o);
    generated.start();
    const auto targets = generated.dayTargets({2026, 12, 6});
    EXPECT_EQ(generated.dumpDay({2026, 12, 6}, dir.path()), targets.size());
    o.root = dir.path();
    o.port = 0;
    Server saved(o);
    saved.start();
    httplib::Client a("127.0.0.1", generated.port()), b("127.0.0.1", saved.port());
    for (const std::string& t : targets) {
        const auto x = a.Get(t);
        const auto y = b.Get(t);
        ASSERT_TRUE(x && y) << t;
        EXPECT_EQ(x->status, 200) << t;
        EXPECT_EQ(y->status, 200) << t;
        EXPECT_EQ(y->body, x->body) << t;
    }
}

TEST(Server, FixtureGivesTheServicesOfTheRunningServer) {
    selvane::test::StandinFixture web("2026-12-05T10:00", 3);
    const Services s = web.services();
    EXPECT_EQ(s.formGuide, web.server.formGuideUrl());
    EXPECT_EQ(s.resultsSiteRoot, web.server.resultsSiteRoot());
    EXPECT_EQ(s.makerSite, web.server.makerSiteUrl());
    EXPECT_EQ(fetchUrl(s.formGuide + "/cgi-bin/tvf/access.pl", shortLimits()).body,
              meetingPage(generateRaceDay(2026, 12, 5, 3)));
}

TEST(Server, RefusesAPortInUse) {
    Server first{Options{}};
    const int port = first.start();
    Options o;
    o.port = port;
    Server second(o);
    EXPECT_THROW(second.start(), std::runtime_error);
    Options badClock;
    badClock.now = "2026-12-06";
    EXPECT_THROW(Server{badClock}, std::invalid_argument);
}

}  // namespace
}  // namespace selvane::standin
