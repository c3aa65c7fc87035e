// results --watch: a board redrawn per fetch, changed rows marked, stale data never shown as fresh.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "CliRun.h"
#include "ResultsOutput.h"
#include "Watch.h"
#include "standin/RaceDay.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

namespace sd = standin;
using namespace std::chrono_literals;
using std::chrono::sys_seconds;

// 2026-12-06 12:00:00 as the watch's local clock.
constexpr sys_seconds kNoon{std::chrono::seconds(1796558400)};

struct FakeTime {
    sys_seconds now = kNoon;
    std::vector<std::chrono::seconds> slept;
    std::function<void()> onSleep;

    cli::WatchOptions options(int rounds, std::chrono::seconds every = 30s) {
        cli::WatchOptions o;
        o.every = every;
        o.rounds = rounds;
        o.now = [this] { return now; };
        o.sleep = [this](std::chrono::seconds d) {
            slept.push_back(d);
            now += d;
            if (onSleep) onSleep();
            return true;
        };
        return o;
    }
};

TEST(Watch, PlainBlocksMarkChangesAndStaleness) {
    const std::vector<cli::Board> boards = {
        {true, "", "HEAD", {{"1", "R1 1:05PM"}, {"2", "R2 1:35PM"}}},
        {true, "", "HEAD", {{"1", "R1 3,5,7"}, {"2", "R2 1:35PM"}}},
        {false, "http://x/: the page could not be fetched", "", {}},
        {false, "still down", "", {}},
        {true, "", "HEAD", {{"1", "R1 3,5,7"}, {"2", "R2 CLOSED"}, {"3", "R3 2:05PM"}}},
    };
    std::size_t next = 0;
    FakeTime time;
    std::ostringstream out;
    cli::runWatch(out, time.options(5), [&] { return boards[next++]; });
    EXPECT_EQ(out.str(),
              "HEAD\nfetched 12:00:00, data age 0s\n  R1 1:05PM\n  R2 1:35PM\n\n"
              "HEAD\nfetched 12:00:30, data age 0s\n* R1 3,5,7\n  R2 1:35PM\n\n"
              "stale since 12:00:30 (data age 30s): the fetch at 12:01:00 failed: http://x/: the page could not be "
              "fetched\n\n"
              "stale since 12:00:30 (data age 1m 0s): the fetch at 12:01:30 failed: still down\n\n"
              // Changes are counted against the last good fetch, not the failed ones.
              "HEAD\nfetched 12:02:00, data age 0s\n  R1 3,5,7\n* R2 CLOSED\n* R3 2:05PM\n\n");
    EXPECT_EQ(time.slept, (std::vector<std::chrono::seconds>{30s, 30s, 30s, 30s}));
}

TEST(Watch, AFirstFetchThatFailsHasNoDataToShow) {
    FakeTime time;
    std::ostringstream out;
    cli::runWatch(out, time.options(1), [] { return cli::Board{false, "down", "", {}}; });
    EXPECT_EQ(out.str(), "no data: the fetch at 12:00:00 failed: down\n\n");
}

TEST(Watch, OnATerminalTheAgeTicksAndStaleRowsAreDimmed) {
    const std::vector<cli::Board> boards = {{true, "", "H", {{"1", "A"}}}, {false, "down", "", {}}};
    std::size_t next = 0;
    FakeTime time;
    cli::WatchOptions o = time.options(2, 5s);
    o.terminal = true;
    std::ostringstream out;
    cli::runWatch(out, o, [&] { return boards[next++]; });
    const std::string s = out.str();
    EXPECT_EQ(time.slept, (std::vector<std::chrono::seconds>(5, 1s)));
    EXPECT_NE(s.find("fetched 12:00:00, data age 4s"), std::string::npos);
    // The second fetch ends the rounds without a wait, so only the fresh screens are drawn.
    EXPECT_EQ(s.find("stale"), std::string::npos);
}

TEST(Watch, EveryOption) {
    const std::pair<std::optional<std::string>, long long> ok[] = {{std::nullopt, 30}, {"5", 5}, {"3600", 3600}};
    for (const auto& [text, s] : ok) EXPECT_EQ(cli::everyOption(text).count(), s);
    for (const char* bad : {"4", "0", "3601", "-5", "5.5", "", "abc", "99999"})
        EXPECT_THROW(cli::everyOption(std::string(bad)), cli::UsageError) << bad;
}

// The results command's board against the stand-in, its clock moved on between fetches.
TEST(Watch, ResultsBoardFollowsTheStandinClock) {
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    const sd::Meeting& meeting = day.meetings[0];
    const std::string track = meeting.name.substr(0, meeting.name.find(' '));
    const int start = meeting.races[0].startMinutes;
    auto clockAt = [](int minutes) {
        char text[32];
        std::snprintf(text, sizeof text, "2026-12-06T%02d:%02d", minutes / 60, minutes % 60);
        return std::string(text);
    };
    test::StandinFixture web(clockAt(start - 10));
    test::TempDir work;
    std::ostringstream out, err;
    cli::Context ctx{cli::Args({}, {}), false, work.path(), web.services(), FetchLimits{}, out, err, {}};

    FakeTime time;
    time.now = kNoon + std::chrono::minutes(start - 12 * 60 - 10);
    int round = 0;
    time.onSleep = [&] {
        ++round;
        if (round == 1) web.server.setNow(clockAt(start + 10));  // race 1 run and placed
        if (round == 2) web.server.setFault(sd::Fault::ServerError, "/tote/");
    };
    cli::runWatch(out, time.options(3, 60s), [&] { return cli::resultsBoard(ctx, track, 0); });

    const std::string s = out.str();
    const std::string first = s.substr(0, s.find("\n\n") + 2);
    const std::string second = s.substr(first.size(), s.find("\n\n", first.size()) + 2 - first.size());
    const std::string third = s.substr(first.size() + second.size());
    EXPECT_NE(first.find(meeting.races[0].toteTime()), std::string::npos) << first;
    EXPECT_EQ(first.find("\n* "), std::string::npos) << first;
    // Race 1's row changed from its start time to its placings; race 2's did not.
    std::string placings;
    for (int p : meeting.races[0].placings) placings += (placings.empty() ? "" : ",") + std::to_string(p);
    const std::size_t changedRow = second.find("\n* ");
    ASSERT_NE(changedRow, std::string::npos) << second;
    EXPECT_NE(second.substr(changedRow, second.find('\n', changedRow + 1) - changedRow).find(placings), std::string::npos)
        << second;
    EXPECT_EQ(second.find("\n* ", changedRow + 1), std::string::npos) << second;
    // The watch's own clock: the fetches at start - 10, - 9 and - 8 minutes.
    EXPECT_EQ(third.rfind("stale since " + clockAt(start - 9).substr(11) + ":00 (data age 1m 0s): the fetch at " +
                              clockAt(start - 8).substr(11) + ":00" +
                              " failed: ",
                          0),
              0u)
        << third;
    EXPECT_EQ(third.find(placings + "\n"), std::string::npos) << third;
}

}  // namespace
}  // namespace selvane
