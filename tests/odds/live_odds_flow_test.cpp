// Price pages of the stand-in over loopback HTTP, through the fetcher and the HTML engine the
// page loader uses, cut and read as the live odds command does; then the command itself, on the
// main window as downloading the meetings and double-clicking a race leave it.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/Commands.h"
#include "net/Fetcher.h"
#include "net/HtmlEngine.h"
#include "net/PageText.h"
#include "odds/LiveOdds.h"
#include "odds/OddsCommand.h"
#include "odds/OddsWindow.h"
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

// What the user saw while the odds window was up.
struct ShownOdds {
    std::string heading;
    std::vector<ReportColumn> columns;
    std::vector<ReportRow> rows;
    bool mainEnabled = false;
    bool hourglass = true;
};

struct LiveOddsCommand : ::testing::Test {
    test::StandinFixture web{"2026-12-06T14:00", 1};
    test::AppFixture fx{web.services()};
    App& app = *fx.app;
    MainWindow& w = app.window;
    const RaceDay day = generateRaceDay(Date{2026, 12, 6}, 1);
    std::vector<ShownOdds> shown;

    LiveOddsCommand() {
        app.ports.connectivity = &fx.fakes.connectivity;
        fx.fakes.messages.watchedWindow = &w;
        wireCommands(app);
        fx.fakes.modal.onShow = [this](Window& window) {
            auto& o = dynamic_cast<OddsWindow&>(window);
            bool enabled = true;
            for (Control* c : w.controls()) enabled = enabled && c->enabled();
            shown.push_back({o.lblMeetingName.caption(), o.lstOddsSort.columns(), o.lstOddsSort.rows(), enabled,
                             fx.fakes.pointer.hourglass});
        };
        w.cmdDownload.click();
    }

    // The first race of the day that fits, as the track box and a double-click on the race list
    // choose it.
    std::pair<const Meeting*, const Race*> chooseRaceWhere(
        const std::function<bool(const Meeting&, const Race&)>& fits) {
        for (std::size_t mi = 0; mi < day.meetings.size(); ++mi)
            for (const Race& race : day.meetings[mi].races)
                if (fits(day.meetings[mi], race)) {
                    chooseRace(mi, race.number);
                    return {&day.meetings[mi], &race};
                }
        ADD_FAILURE() << "the day has no such race";
        return {nullptr, nullptr};
    }

    void chooseRace(std::size_t meeting, int race) {
        if (w.cmbTrackName.selectedIndex() != static_cast<int>(meeting))
            w.cmbTrackName.setSelectedIndex(static_cast<int>(meeting));
        w.lstRaceName.setSelectedIndex(race - 1);
        w.lstRaceName.onDoubleClick();
    }

    bool hasNa(const Meeting& m, const Race& race) const {
        for (const Runner* r : race.starters())
            for (const std::string& cell : pricesAt(day, m, race, *r, web.server.now()).tote)
                if (cell == "n/a") return true;
        return false;
    }

    // Every row of the shown window against the stand-in's prices; rows past the starters
    // (emergencies have no price row) are empty.
    void expectPrices(const ShownOdds& s, const Meeting& m, const Race& race) {
        const auto starters = race.starters();
        ASSERT_EQ(s.rows.size(), race.runners.size());
        for (std::size_t i = 0; i < s.rows.size(); ++i) {
            SCOPED_TRACE(i);
            const ReportRow& row = s.rows[i];
            ASSERT_EQ(row.subItems.size(), 9u);
            if (i >= starters.size()) {
                EXPECT_EQ(row.text + row.subItems[0] + row.subItems[1], "");
                continue;
            }
            const RunnerPrices p = pricesAt(day, m, race, *starters[i], web.server.now());
            EXPECT_EQ(row.text, starters[i]->number);
            EXPECT_EQ(text::upper(row.subItems[0]), starters[i]->name);
            EXPECT_EQ(row.subItems[1], expectedBest(p.tote));
            EXPECT_EQ(std::vector<std::string>(row.subItems.begin() + 2, row.subItems.end()),
                      std::vector<std::string>(p.tote.begin(), p.tote.end()));
        }
    }

    std::string doubled(const std::string& words) const {
        std::string out;
        for (char c : words) out += c == '&' ? std::string("&&") : std::string(1, c);
        return out;
    }
};

TEST_F(LiveOddsCommand, ShowsEveryRunnersPricesWithTheWindowEnabled) {
    struct Case {
        const char* what;
        std::function<bool(const LiveOddsCommand&, const Meeting&, const Race&)> fits;
    };
    const Case cases[] = {
        {"scratchings and an n/a state",
         [](const LiveOddsCommand& t, const Meeting& m, const Race& r) {
             bool scratched = false;
             for (const Runner& x : r.runners) scratched = scratched || x.scratched;
             return scratched && t.hasNa(m, r) && r.starters().size() == r.runners.size();
         }},
        {"emergencies: more runners than price rows",
         [](const LiveOddsCommand&, const Meeting&, const Race& r) { return r.starters().size() < r.runners.size(); }},
        {"a bare & in the track words", [](const LiveOddsCommand&, const Meeting&,
                                           const Race& r) { return r.trackWords.find(" & ") != std::string::npos; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        shown.clear();
        const auto [m, race] = chooseRaceWhere([&](const Meeting& mm, const Race& r) { return c.fits(*this, mm, r); });
        if (!race) continue;
        w.cmdLiveOdds.click();
        ASSERT_EQ(shown.size(), 1u);
        const char* pad = race->number < 10 ? "0" : "";
        EXPECT_EQ(shown[0].heading, doubled(race->trackWords) + " - #R." + pad + std::to_string(race->number));
        EXPECT_EQ(shown[0].columns.size(), 10u);
        EXPECT_TRUE(shown[0].mainEnabled);
        EXPECT_FALSE(shown[0].hourglass);
        expectPrices(shown[0], *m, *race);
        EXPECT_TRUE(fx.fakes.messages.shown.empty());
        EXPECT_EQ(app.odds.oddsRunnerCount, static_cast<int>(race->runners.size()));
    }
}

TEST_F(LiveOddsCommand, TwoCommandsInARowShowOnlyTheSecondRace) {
    chooseRace(0, 1);
    w.cmdLiveOdds.click();
    const Race& second = day.meetings[1].races[2];
    chooseRace(1, 3);
    w.cmdLiveOdds.click();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].columns.size(), 10u);
    EXPECT_EQ(shown[1].columns[0].title, "#.");
    EXPECT_EQ(shown[1].columns[9].title, "QLD PLC");
    expectPrices(shown[1], day.meetings[1], second);
}

TEST_F(LiveOddsCommand, AnEmptyRunnerListUsesTheLastCount) {
    const auto [m, race] =
        chooseRaceWhere([](const Meeting&, const Race& r) { return r.starters().size() < r.runners.size(); });
    ASSERT_NE(race, nullptr);
    w.cmdLiveOdds.click();
    w.lstRaces.clear();
    w.cmdLiveOdds.click();
    ASSERT_EQ(shown.size(), 2u);
    expectPrices(shown[1], *m, *race);
}

// After a race showed its prices, a price page that fails or holds no price table says "Odds
// unvailable" and leaves neither work file: an earlier race's prices are never shown as this one's.
TEST_F(LiveOddsCommand, AFailedPricePageNeverShowsAnEarlierRace) {
    app.limits.total = std::chrono::milliseconds(1500);
    struct Case {
        const char* what;
        Fault fault;
        int overrideStatus;  // 0: no override
    };
    const Case cases[] = {
        {"404", Fault::NotFound, 0},
        {"stall", Fault::Stall, 0},
        {"truncated", Fault::Truncate, 0},
        {"no price table", Fault::None, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        web.server.setFault(Fault::None, "");
        chooseRace(0, 1);
        shown.clear();
        fx.fakes.messages.shown.clear();
        w.cmdLiveOdds.click();
        ASSERT_EQ(shown.size(), 1u);

        const Meeting& m = day.meetings[0];
        const std::string target = "/cgi-bin/tvf/memdispodds.pl/" + m.formCode + "2?rto";
        if (c.overrideStatus)
            web.server.setOverride(target, "<html><body><p>Prices are not available.</p></body></html>", 200);
        else
            web.server.setFault(c.fault, "/cgi-bin/tvf/memdispodds.pl/");
        chooseRace(0, 2);
        w.cmdLiveOdds.click();
        EXPECT_EQ(shown.size(), 1u);
        ASSERT_EQ(fx.fakes.messages.shown.size(), 1u);
        const ShownMessage& box = fx.fakes.messages.shown[0];
        EXPECT_EQ(box.title, "Odds unvailable");
        EXPECT_EQ(box.text, "Live odds is unavailable please try again later!");
        EXPECT_EQ(box.icon, MessageIcon::Information);
        EXPECT_TRUE(box.windowEnabled);
        EXPECT_TRUE(box.pointerNormal);
        EXPECT_FALSE(std::filesystem::exists(app.workPath("realodds.html")));
        EXPECT_EQ(std::filesystem::exists(app.workPath("rto.html")), c.overrideStatus != 0);
        web.server.clearOverrides();
    }
}

TEST_F(LiveOddsCommand, WithoutAChosenRaceOrRunners) {
    // The track chosen, no race double-clicked: the race number label is empty.
    w.cmbTrackName.setSelectedIndex(0);
    ASSERT_GT(w.lstRaceName.count(), 0);
    const int focusBefore = w.lstRaceName.focusRequests();
    const std::size_t pointerBefore = fx.fakes.pointer.history.size();
    w.cmdLiveOdds.click();
    ASSERT_EQ(fx.fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fx.fakes.messages.shown[0].title, "No Race Select");
    EXPECT_EQ(fx.fakes.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(w.lstRaceName.focusRequests(), focusBefore + 1);
    EXPECT_EQ(fx.fakes.pointer.history.size(), pointerBefore);

    // A race chosen but no runner list ever seen: the count is 0, so the window has no rows.
    chooseRace(0, 1);
    w.lstRaces.clear();
    fx.fakes.messages.shown.clear();
    w.cmdLiveOdds.click();
    EXPECT_TRUE(shown.empty());
    ASSERT_EQ(fx.fakes.messages.shown.size(), 1u);
    const ShownMessage& box = fx.fakes.messages.shown[0];
    EXPECT_EQ(box.title, "Live Odds Inaccessible");
    EXPECT_EQ(box.text, "Could not access any live odds data for " + day.meetings[0].races[0].trackWords +
                            "\r\nThis is probably due to odds data has no record available.");
    EXPECT_EQ(box.icon, MessageIcon::Critical);
    EXPECT_TRUE(box.windowEnabled);
    EXPECT_TRUE(box.pointerNormal);

    // An empty race list: nothing at all.
    w.lstRaceName.clear();
    fx.fakes.messages.shown.clear();
    w.cmdLiveOdds.click();
    EXPECT_TRUE(fx.fakes.messages.shown.empty());
}

}  // namespace
}  // namespace selvane
