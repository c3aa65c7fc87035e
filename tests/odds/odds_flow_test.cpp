// The live odds command against the stand-in's price pages over loopback HTTP, through the fetcher
// and the HTML engine the program uses, on the main window as downloading the meetings and
// double-clicking a race leave it.
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
            auto& o = dynamic_cast<OddsWindow&>(window);
            for (Control* c : w.controls()) readyWhenShown = readyWhenShown && c->enabled();
            readyWhenShown = readyWhenShown && !fx.fakes.pointer.hourglass;
            shown.emplace_back(o.lblMeetingName.caption(), o.lstOddsSort.rows());
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

    // The last window's rows against the stand-in's prices; emergencies have no price row.
    void expectPrices(const Meeting& m, const Race& race) {
        const std::vector<ReportRow>& rows = shown.back().second;
        const auto starters = race.starters();
        ASSERT_EQ(rows.size(), race.runners.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            std::vector<std::string> want(7), got(rows[i].subItems.begin() + 2, rows[i].subItems.end());
            if (i < starters.size()) {
                const auto tote = pricesAt(day, m, race, *starters[i], web.server.now()).tote;
                want.assign(tote.begin(), tote.end());
            }
            EXPECT_EQ(std::make_tuple(rows[i].text, text::upper(rows[i].subItems[0]), got),
                      std::make_tuple(i < starters.size() ? starters[i]->number : "",
                                      i < starters.size() ? starters[i]->name : "", want)) << i;
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
        EXPECT_EQ(app.odds.oddsRunnerCount, static_cast<int>(race->runners.size()));
    }
    // An empty runner list: the last command's count.
    w.lstRaces.clear();
    w.cmdLiveOdds.click();
    ASSERT_EQ(shown.size(), 2u);
    expectPrices(*m, *race);
}

// After a race showed its prices, a price page that fails or holds no price table says "Odds
// unvailable" and leaves neither work file: an earlier race's prices are never shown as this one's.
TEST_F(LiveOddsCommand, AFailedPricePageNeverShowsAnEarlierRace) {
    app.limits.total = std::chrono::milliseconds(1500);
    const std::string target = "/cgi-bin/tvf/memdispodds.pl/" + day.meetings[0].formCode + "2?rto";
    for (const Fault fault : {Fault::NotFound, Fault::Stall, Fault::Truncate, Fault::None}) {
        SCOPED_TRACE(faultName(fault));
        web.server.setFault(Fault::None);
        web.server.clearOverrides();
        chooseRace([](const Race& r) { return r.number == 1; });
        shown.clear();
        fx.fakes.messages.shown.clear();
        w.cmdLiveOdds.click();
        ASSERT_EQ(shown.size(), 1u);
        if (fault == Fault::None) web.server.setOverride(target, "<html><body><p>No prices.</p></body></html>");
        web.server.setFault(fault, "/cgi-bin/tvf/memdispodds.pl/");
        chooseRace([](const Race& r) { return r.number == 2; });
        w.cmdLiveOdds.click();
        EXPECT_EQ(shown.size(), 1u);
        ASSERT_EQ(fx.fakes.messages.shown.size(), 1u);
        const ShownMessage& box = fx.fakes.messages.shown[0];
        EXPECT_EQ(std::make_tuple(box.title, box.text, box.icon, box.windowEnabled && box.pointerNormal),
                  std::make_tuple("Odds unvailable", "Live odds is unavailable please try again later!",
                                  MessageIcon::Information, true));
        EXPECT_FALSE(std::filesystem::exists(app.workPath("realodds.html")));
        EXPECT_EQ(std::filesystem::exists(app.workPath("rto.html")), fault == Fault::None);
    }
}

TEST_F(LiveOddsCommand, WithoutAChosenRaceOrRunners) {
    // The track chosen, no race double-clicked: the race number label is empty.
    w.cmbTrackName.setSelectedIndex(0);
    const int focus = w.lstRaceName.focusRequests();
    const std::size_t pointer = fx.fakes.pointer.history.size();
    w.cmdLiveOdds.click();
    ASSERT_EQ(fx.fakes.messages.shown.size(), 1u);
    EXPECT_EQ(std::make_tuple(fx.fakes.messages.shown[0].title, fx.fakes.messages.shown[0].text,
                              fx.fakes.messages.shown[0].icon, w.lstRaceName.focusRequests(), fx.fakes.pointer.history.size()),
              std::make_tuple("No Race Select", "You have not select any races yet.\r\rWhich race number you want to see "
                              "the live odds\rplease double click to select it first.", MessageIcon::Information,
                              focus + 1, pointer));

    // A race chosen but no runner list ever seen: the count is 0, so the window has no rows.
    chooseRace([](const Race& r) { return r.number == 1; });
    w.lstRaces.clear();
    fx.fakes.messages.shown.clear();
    w.cmdLiveOdds.click();
    ASSERT_EQ(fx.fakes.messages.shown.size(), 1u);
    const ShownMessage& box = fx.fakes.messages.shown[0];
    EXPECT_EQ(std::make_tuple(box.title, box.text, box.icon, box.windowEnabled && box.pointerNormal, shown.size()),
              std::make_tuple("Live Odds Inaccessible", "Could not access any live odds data for " +
                              day.meetings[0].races[0].trackWords + "\r\nThis is probably due to odds data has no "
                              "record available.", MessageIcon::Critical, true, 0u));

    // An empty race list: nothing at all.
    w.lstRaceName.clear();
    fx.fakes.messages.shown.clear();
    w.cmdLiveOdds.click();
    EXPECT_TRUE(fx.fakes.messages.shown.empty());
}

}  // namespace
}  // namespace selvane
