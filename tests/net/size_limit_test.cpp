// The fetch limits at their edges: a page of exactly the size limit, one byte more, and a 400.
#include <gtest/gtest.h>

#include "net/Fetcher.h"
#include "support/LocalServer.h"

namespace selvane {
namespace {

TEST(FetchEdges, SizeLimitAndClientError) {
    test::LocalServer server;
    server.routes().Get("/exact", [](const httplib::Request&, httplib::Response& r) {
        r.set_content(std::string(1000, 'x'), "text/html");
    });
    server.routes().Get("/over", [](const httplib::Request&, httplib::Response& r) {
        r.set_content(std::string(1001, 'x'), "text/html");
    });
    server.routes().Get("/bad", [](const httplib::Request&, httplib::Response& r) {
        r.status = 400;
        r.set_content("bad request", "text/html");
    });
    server.start();
    FetchLimits limits;
    limits.maxBytes = 1000;
    struct Case {
        const char* path;
        bool ok;
        long status;
        FetchFailure failure;
        std::size_t bodySize;
    } cases[] = {
        {"/exact", true, 200, FetchFailure::None, 1000},
        {"/over", false, 200, FetchFailure::TooLarge, 0},
        {"/bad", false, 400, FetchFailure::HttpStatus, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const FetchResult r = fetchUrl(server.url(c.path), limits);
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.failure, c.failure);
        if (c.ok) {
            EXPECT_EQ(r.body.size(), c.bodySize);
        }
    }
    EXPECT_EQ(fetchUrl(server.url("/bad"), limits).cause, "(HTTP 400)");
}

}  // namespace
}  // namespace selvane
