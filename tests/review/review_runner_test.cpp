// The review runner against the stand-in: a run stopped part way records what it fetched, and a
// second run fetches only the rest and settles the same as a run never stopped.
#include "review/ReviewRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

// The race and result pages among the requests from index `from` on.
std::set<std::string> racePagesAsked(const standin::Server& server, std::size_t from) {
    const std::vector<std::string> log = server.requestLog();
    std::set<std::string> pages;
    for (std::size_t i = from; i < log.size(); ++i)
        if (log[i].find("mtgraces") == std::string::npos && log[i].find("access.pl") == std::string::npos)
            pages.insert(log[i]);
    return pages;
}

std::vector<std::vector<Cents>> curves(const ReviewResult& r) {
    std::vector<std::vector<Cents>> all;
    for (BetType b : kAllBetTypes) all.push_back(runningProfit(r.races, b));
    return all;
}

TEST(ReviewRunner, AStoppedRunIsRecordedAndTheNextFetchesOnlyTheRest) {
    test::StandinFixture web;
    test::TempDir dir;
    ReviewRequest rq{"2026-12-04", "2026-12-05", "", 100, 4, false, web.services(), {}, dir.file("record.sqlite")};

    std::stop_source stop;
    int toDo = 0;
    const ReviewResult first = runReview(rq, [&](int done, int all) {
        toDo = all;
        if (done == 5) stop.request_stop();
    }, stop.get_token());
    EXPECT_TRUE(first.cancelled);
    EXPECT_EQ(first.failures, std::vector<std::string>{});
    const std::set<std::string> firstPages = racePagesAsked(web.server, 0);
    EXPECT_GT(toDo, 100);

    const std::size_t before = web.server.requestLog().size();
    const ReviewResult second = runReview(rq);
    EXPECT_FALSE(second.cancelled);
    const std::set<std::string> secondPages = racePagesAsked(web.server, before);
    std::vector<std::string> again;
    for (const std::string& page : secondPages)
        if (firstPages.count(page)) again.push_back(page);
    EXPECT_EQ(again, std::vector<std::string>{});
    // The races in flight at the stop end, no more start: most were left for the second run.
    EXPECT_LT(firstPages.size(), secondPages.size());

    // Between them the two runs asked for every page a run without the record asks for.
    rq.recordFile.clear();
    const std::size_t wholeFrom = web.server.requestLog().size();
    const ReviewResult whole = runReview(rq);
    EXPECT_EQ(racePagesAsked(web.server, wholeFrom).size(), firstPages.size() + secondPages.size());
    EXPECT_EQ(second.races.size(), whole.races.size());
    EXPECT_EQ(curves(second), curves(whole));
    EXPECT_EQ(second.pendingRaces, whole.pendingRaces);
}

}  // namespace
}  // namespace selvane
