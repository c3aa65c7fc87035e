// The live odds command against the stand-in over loopback HTTP, from the window a download leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/App.h"
#include "app/Commands.h"
#include "net/PageText.h"
#include "odds/OddsWindow.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using namespace standin;
using Strings = std::vector<std::string>;

struct LiveOddsCommand : ::testing::Test {
    test::StandinFixture web{"2026-12-06T14:00", 1};
    test::AppFixture fx{web.services()};
    App& app = *fx.app;
    MainWindow& w = app.window;
    const RaceDay day = generateRaceDay(Date{2026, 12, 6}, 1);
    std::vector<std::pair<std::string, std::vector<ReportRow>>> shown;  // heading and rows of each window
    bool readyWhenShown = true;  // every control enabled, the normal pointer

    LiveOddsCommand() {
        fx.fakes.messages.watchedWindow = &w;
        wireCommands(app);
        fx.fakes.modal.onShow = [this](Window& window) {
            auto* o = dynamic_cast<OddsWindow*>(&window);
            if (!o) return;  // the results window
            for (Control* c : w.controls()) readyWhenShown &= c->enabled() && !fx.fakes.pointer.hourglass;
            shown.emplace_back(o->lblMeetingName.caption(), o->lstOddsSort.rows());
        };
        w.cmdDownload.click();
    }

    // The track box and a double-click on the race list, on the first race of the day that fits.
    std::pair<const Meeting*, const Race*> chooseRace(const std::function<bool(const Race&)>& fits) {
        for (std::size_t mi = 0; mi < day.meetings.size(); ++mi)
            for (const Race& race : day.meetings[mi].races)
                if (fits(race)) {
                    w.cmbTrackName.setSelectedIndex(static_cast<int>(mi));
                    w.lstRaceName.setSelectedIndex(race.number - 1);
                    w.lstRaceName.onDoubleClick();
                    return {&day.meetings[mi], &race};
                }
        ADD_FAILURE() << "the day has no such race";
        return {&day.meetings[0], &day.meetings[0].races[0]};
    }

    // The one box shown: title, text, icon, and whether the window was enabled with the normal pointer.
    std::tuple<std::string, std::string, MessageIcon, bool> box() {
        EXPECT_EQ(fx.fakes.messages.shown.size(), 1u);
        const ShownMessage& b = fx.fakes.messages.shown.at(0);
        return {b.title, b.text, b.icon, b.windowEnabled && b.pointerNormal};
    }

    // The last window's rows: a row a runner, the starters first with the stand-in's prices.
    void expectPrices(const Meeting& m, const Race& race) {
        const std::vector<ReportRow>& rows = shown.back().second;
        ASSERT_EQ(rows.size(), race.runners.size());
        for (std::size_t i = 0; i < race.starters().size(); ++i) {
            const Runner& r = *race.starters()[i];
            const auto tote = pricesAt(day, m, race, r, web.server.now()).tote;
            const Strings prices(rows[i].subItems.begin() + 2, rows[i].subItems.end());
            EXPECT_EQ(std::make_tuple(rows[i].text, text::upper(rows[i].subItems[0]), prices),
                      std::make_tuple(r.number, r.name, Strings(tote.begin(), tote.end())));
        }
    }
};

TEST_F(LiveOddsCommand, ShowsEveryRunnersPricesWithTheWindowEnabled) {
    const std::function<bool(const Race&)> fits[] = {
        [](const Race& r) { return r.trackWords.find(" & ") != std::string::npos; },  // the label doubles it
        [](const Race& r) { return r.starters().size() < r.runners.size(); },         // emergencies
    };
    const Meeting* m = nullptr;
    const Race* race = nullptr;
    for (const auto& fit : fits) {
        shown.clear();
        std::tie(m, race) = chooseRace(fit);
        w.cmdLiveOdds.click();
        ASSERT_EQ(shown.size(), 1u);
        std::string heading;
        for (char c : race->trackWords) heading += c == '&' ? std::string("&&") : std::string(1, c);
        EXPECT_EQ(shown[0].first, heading + " - #R." + (race->number < 10 ? "0" : "") + std::to_string(race->number));
        EXPECT_TRUE(readyWhenShown && fx.fakes.messages.shown.empty());
        expectPrices(*m, *race);
    }
    // An empty runner list: the last command's count.
    w.lstRaces.clear();
    w.cmdLiveOdds.click();
    ASSERT_EQ(shown.size(), 2u);
    expectPrices(*m, *race);
}

// After a race showed its prices, a failed price page never shows them as the next race's.
TEST_F(LiveOddsCommand, AFailedPricePageNeverShowsAnEarlierRace) {
    app.limits.total = std::chrono::milliseconds(1500);
    const std::string target = "/cgi-bin/tvf/memdispodds.pl/" + day.meetings[0].formCode + "2?rto";
    chooseRace([](const Race& r) { return r.number == 1; });
    w.cmdLiveOdds.click();
    ASSERT_EQ(shown.size(), 1u);
    chooseRace([](const Race& r) { return r.number == 2; });
    for (const Fault fault : {Fault::NotFound, Fault::Stall, Fault::Truncate, Fault::None}) {
        SCOPED_TRACE(faultName(fault));
        if (fault == Fault::None) web.server.setOverride(target, "<html><body><p>No prices.</p></body></html>");
        web.server.setFault(fault, "/cgi-bin/tvf/memdispodds.pl/");
        fx.fakes.messages.shown.clear();
        w.cmdLiveOdds.click();
        EXPECT_EQ(box(), std::make_tuple("Odds unvailable", "Live odds is unavailable please try again later!",
                                         MessageIcon::Information, true));
        EXPECT_EQ(std::make_tuple(shown.size(), std::filesystem::exists(app.workPath("realodds.html")),
                                  std::filesystem::exists(app.workPath("rto.html"))),
                  std::make_tuple(1u, false, fault == Fault::None));
    }
}

// Live Odds and Live Results keep the race's best bet in status panel 2. A failed price page
// stands in its place with this fetch's own cause, and the next command's outcome replaces it.
TEST_F(LiveOddsCommand, EachCommandsOutcomeReplacesTheLastAndTheBestBetStays) {
    app.limits.total = std::chrono::milliseconds(1500);
    // Not run yet at 14:00: Live Results frames the placeholder and loads nothing.
    const auto [m, race] = chooseRace([](const Race& r) { return r.startMinutes > 15 * 60; });
    const std::string bestBet = w.stBar.panel(2), terms = w.stBar.panelTooltip(2);
    ASSERT_EQ(bestBet.rfind("Tip each way best bet", 0), 0u) << bestBet;
    const std::string address =
        web.services().formGuide + "/cgi-bin/tvf/memdispodds.pl/" + m->formCode + std::to_string(race->number) + "?rto";
    const auto status = [&] {
        return std::make_tuple(w.stBar.panel(2), w.stBar.panelTooltip(2), w.lblStatus.caption());
    };
    w.cmdLiveResults.click();
    EXPECT_EQ(w.stBar.panel(2), bestBet);
    const std::pair<Fault, const char*> faults[] = {{Fault::NotFound, " (HTTP 404)"},
                                                    {Fault::Stall, " (timed out)"},
                                                    {Fault::NotFound, " (HTTP 404)"},
                                                    {Fault::None, ""}};
    for (const auto& [fault, cause] : faults) {
        SCOPED_TRACE(faultName(fault));
        web.server.setFault(fault, "/cgi-bin/tvf/memdispodds.pl/");
        w.cmdLiveOdds.click();
        const std::string failed = "Page could not be fetched: " + address + cause;
        EXPECT_EQ(status(), fault == Fault::None ? std::make_tuple(bestBet, terms, std::string("Done"))
                                                 : std::make_tuple(failed, bestBet, failed));
    }
    ASSERT_EQ(shown.size(), 1u);
    // A command that loads nothing puts the best bet back too, and leaves no failure in the Status frame.
    web.server.setFault(Fault::NotFound, "/cgi-bin/tvf/memdispodds.pl/");
    w.cmdLiveOdds.click();
    w.cmdLiveResults.click();
    EXPECT_EQ(status(), std::make_tuple(bestBet, terms, std::string()));
}

TEST_F(LiveOddsCommand, WithoutAChosenRaceOrRunners) {
    // A race chosen, then its track chosen again: the race list is refilled and no race is chosen.
    chooseRace([](const Race& r) { return r.number == 1; });
    w.cmbTrackName.setSelectedIndex(0);
    fx.fakes.messages.shown.clear();
    const int focus = w.lstRaceName.focusRequests();
    w.cmdLiveOdds.click();
    EXPECT_EQ(box(), std::make_tuple("No Race Select", "You have not select any races yet.\r\rWhich race number you "
                                     "want to see the live odds\rplease double click to select it first.",
                                     MessageIcon::Information, true));
    EXPECT_EQ(w.lstRaceName.focusRequests(), focus + 1);

    // A race chosen but no runner list ever seen: the count is 0, so the window has no rows.
    chooseRace([](const Race& r) { return r.number == 1; });
    w.lstRaces.clear();
    fx.fakes.messages.shown.clear();
    w.cmdLiveOdds.click();
    EXPECT_EQ(box(), std::make_tuple("Live Odds Inaccessible", "Could not access any live odds data for " +
                                     day.meetings[0].races[0].trackWords + "\r\nThis is probably due to odds data "
                                     "has no record available.", MessageIcon::Critical, true));
    EXPECT_TRUE(shown.empty());

    // An empty race list: nothing at all.
    w.lstRaceName.clear();
    fx.fakes.messages.shown.clear();
    w.cmdLiveOdds.click();
    EXPECT_TRUE(fx.fakes.messages.shown.empty());
}

}  // namespace
}  // namespace selvane
