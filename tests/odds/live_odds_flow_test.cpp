// Price pages of the stand-in over loopback HTTP, through the fetcher and the HTML engine the
// page loader uses, cut and read as the live odds command does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/Fetcher.h"
#include "net/HtmlEngine.h"
#include "odds/LiveOdds.h"
#include "net/PageText.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using namespace standin;

// What the best price must be, worked out from the stand-in's own price cells: n/a counts -100,
// scr -10, a price its value.
std::string expectedBest(const std::array<std::string, 7>& tote) {
    std::string best;
    double bestValue = -1e9;
    for (const std::string& cell : tote) {
        const double v = cell == "n/a" ? -100 : cell == "scr" ? -10 : std::stod(cell);
        if (v > bestValue) {
            bestValue = v;
            best = cell == "n/a" ? "-100.0" : cell;
        }
    }
    return best;
}

// The page as the page loader leaves it in test.html.
std::string fetchPricePage(const test::StandinFixture& web, const Meeting& m, const Race& race) {
    const std::string url =
        web.services().formGuide + "/cgi-bin/tvf/memdispodds.pl/" + m.formCode + std::to_string(race.number) + "?rto";
    const FetchResult fetched = fetchUrl(url);
    EXPECT_TRUE(fetched.ok) << url << ": " << fetched.error;
    return normalisePage(fetched.body, charsetOf(fetched.contentType)).markup + "\r\n";
}

TEST(LiveOddsFlow, EveryRunnerOfAMeetingWithItsBestPrice) {
    test::StandinFixture web("2026-12-06T14:00", 1);
    const RaceDay day = generateRaceDay(Date{2026, 12, 6}, 1);
    const LocalTime now = web.server.now();
    int scratched = 0, emergencies = 0;
    test::TempDir dir;
    // Two meetings cover scratchings, n/a pools and fields with emergencies on this day.
    for (std::size_t mi = 0; mi < 2; ++mi) {
        const Meeting& m = day.meetings[mi];
        for (const Race& race : m.races) {
            SCOPED_TRACE(m.formCode + std::to_string(race.number));
            // The runner list holds the emergencies too; they have no price row.
            const int listed = static_cast<int>(race.runners.size());
            const OddsOutcome o = oddsFromPage(fetchPricePage(web, m, race), listed, dir.path());
            ASSERT_TRUE(o.hasPage) << o.cause;
            const auto starters = race.starters();
            EXPECT_EQ(o.end,
                      starters.size() < race.runners.size() ? OddsPageEnd::Percentages : OddsPageEnd::RunnerRows);
            ASSERT_EQ(o.rows.size(), race.runners.size());
            for (std::size_t i = 0; i < starters.size(); ++i) {
                const Runner& r = *starters[i];
                const RunnerPrices p = pricesAt(day, m, race, r, now);
                EXPECT_EQ(o.rows[i].number, r.number);
                EXPECT_EQ(text::upper(o.rows[i].name), r.name);
                EXPECT_EQ(o.rows[i].prices, p.tote);
                EXPECT_EQ(o.rows[i].best, expectedBest(p.tote));
                scratched += r.scratched;
            }
            for (std::size_t i = starters.size(); i < o.rows.size(); ++i) {
                EXPECT_EQ(o.rows[i].number, "");
                EXPECT_EQ(o.rows[i].best, "");
                ++emergencies;
            }
        }
    }
    // The day must hold the cases this test is for.
    EXPECT_GT(scratched, 0);
    EXPECT_GT(emergencies, 0);
}

}  // namespace
}  // namespace selvane
