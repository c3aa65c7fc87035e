// The fetcher against the stand-in's fault modes: what a failure is called, how long a stall
// may hold, and which services a command stops asking.
#include "net/Fetcher.h"

#include <gtest/gtest.h>

#include <future>

#include "kit/FakePorts.h"
#include "standin/Server.h"

namespace selvane {
namespace {

using standin::Fault;

const std::string kPage = "/cgi-bin/tvf/access.pl?20261206";
const std::string kOtherPage = "/tote/2026/12/06/mtgraces.html";
const std::string kClosedPort = "http://127.0.0.1:1";

standin::Options standinOptions() {
    standin::Options o;
    o.now = "2026-12-06T14:00";
    o.slowMs = 1500;
    o.oversizeBytes = 2u * 1024u * 1024u;
    return o;
}

FetchLimits shortLimits() {
    FetchLimits l;
    l.connect = std::chrono::milliseconds(1000);
    l.total = std::chrono::milliseconds(400);
    l.maxBytes = 1024u * 1024u;
    return l;
}

TEST(Fetcher, EachFaultHasItsCause) {
    standin::Server server(standinOptions());
    server.start();
    struct Case {
        Fault fault;
        std::string base;  // empty: the stand-in
        bool ok;
        long status;
        FetchFailure failure;
        std::string cause;
    } cases[] = {
        {Fault::None, "", true, 200, FetchFailure::None, ""},
        {Fault::NotUtf8, "", true, 200, FetchFailure::None, ""},
        {Fault::NotFound, "", false, 404, FetchFailure::HttpStatus, "(HTTP 404)"},
        {Fault::ServerError, "", false, 500, FetchFailure::HttpStatus, "(HTTP 500)"},
        {Fault::Stall, "", false, 0, FetchFailure::TimedOut, "(timed out)"},
        {Fault::Slow, "", false, 0, FetchFailure::TimedOut, "(timed out)"},
        {Fault::Truncate, "", false, 200, FetchFailure::CutShort, "(transfer cut short)"},
        {Fault::Oversize, "", false, 200, FetchFailure::TooLarge, "(page over 1 MB)"},
        {Fault::None, kClosedPort, false, 0, FetchFailure::NoConnection, "(no connection)"},
        {Fault::None, "ftp://127.0.0.1:1", false, 0, FetchFailure::BadAddress, "(bad address)"},
        // A path step "." or ".." would leave the path the address was built in.
        {Fault::None, std::string(kClosedPort) + "/x/../..", false, 0, FetchFailure::BadAddress, "(bad address)"},
        {Fault::None, std::string(kClosedPort) + "/.", false, 0, FetchFailure::BadAddress, "(bad address)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(standin::faultName(c.fault) + " " + c.base);
        server.setFault(c.fault);
        const std::string url = (c.base.empty() ? server.formGuideUrl() : c.base) + kPage;
        const FetchResult r = fetchUrl(url, shortLimits());
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.failure, c.failure);
        EXPECT_EQ(r.cause, c.cause);
        EXPECT_EQ(r.error, c.ok ? "" : url + " " + c.cause);
        EXPECT_EQ(r.body.empty(), !c.ok);
    }
}

TEST(Fetcher, ATransferThatDeliversNothingEndsByTheStallLimit) {
    standin::Options o = standinOptions();
    o.fault = Fault::Stall;
    standin::Server server(o);
    server.start();
    FetchLimits limits;
    limits.total = std::chrono::milliseconds(0);  // no limit on the whole transfer
    limits.stall = std::chrono::seconds(1);
    auto pending = std::async(std::launch::async, [&] { return fetchUrl(server.formGuideUrl() + kPage, limits); });
    // Without a stall limit the fetch waits for the server to stop, which answers 503.
    if (pending.wait_for(std::chrono::seconds(60)) != std::future_status::ready) server.stop();
    const FetchResult r = pending.get();
    EXPECT_EQ(r.cause, "(timed out)");
    EXPECT_EQ(r.status, 0);
}

// A command's later fetches from a service that timed out or could not be reached fail at once
// with the first cause; a service that answered, even with an error, is asked again.
TEST(Fetcher, ADeadServiceIsAskedOnceACommand) {
    struct Case {
        Fault fault;
        bool closedPort;
        bool pumped;
        std::size_t requests;  // the stand-in's count after both fetches
        std::string secondCause;
    } cases[] = {
        {Fault::Stall, false, false, 1, "(timed out)"},
        {Fault::Stall, false, true, 1, "(timed out)"},
        {Fault::None, true, false, 0, "(no connection)"},
        {Fault::NotFound, false, false, 2, "(HTTP 404)"},
        {Fault::Truncate, false, false, 2, "(transfer cut short)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(standin::faultName(c.fault) + (c.closedPort ? " closed port" : "") + (c.pumped ? " pumped" : ""));
        standin::Server server(standinOptions());
        server.start();
        standin::Server other(standinOptions());
        other.start();
        server.setFault(c.fault);
        const std::string base = c.closedPort ? kClosedPort : server.formGuideUrl();
        FakeEventPump pump;
        DeadServices dead;
        auto fetch = [&](const std::string& url) {
            return c.pumped ? fetchPumped(url, shortLimits(), &pump, &dead) : fetchUrl(url, shortLimits(), &dead);
        };
        fetch(base + kPage);
        const FetchResult second = fetch(base + kOtherPage);
        EXPECT_EQ(second.ok, false);
        EXPECT_EQ(second.cause, c.secondCause);
        EXPECT_EQ(second.error, base + kOtherPage + " " + c.secondCause);
        EXPECT_EQ(server.requestCount(), c.requests);
        // Another service (here: another port on the same host) is still asked.
        EXPECT_EQ(fetch(other.formGuideUrl() + kPage).ok, true);
        // A new command starts with a clean memory.
        if (c.requests == 1) {
            server.setFault(Fault::None);
            EXPECT_EQ(fetchUrl(base + kPage, shortLimits()).ok, true);
        }
    }
}

TEST(Fetcher, AServiceIsItsSchemeHostAndPort) {
    DeadServices dead;
    FetchResult timedOut;
    timedOut.failure = FetchFailure::TimedOut;
    timedOut.cause = "(timed out)";
    dead.note("http://Example.COM/a/b?c", timedOut);
    struct Case {
        std::string url;
        bool dead;
    } cases[] = {
        {"http://example.com/other", true},
        {"http://EXAMPLE.com:80/", true},
        {"https://example.com/a/b", false},
        {"http://example.com:8080/a/b", false},
        {"http://www.example.com/a/b", false},
        {"not an address", false},
    };
    for (const Case& c : cases) EXPECT_EQ(dead.recall(c.url).has_value(), c.dead) << c.url;
}

}  // namespace
}  // namespace selvane
