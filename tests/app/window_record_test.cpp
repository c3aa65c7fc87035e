// The desktop's record: what the window's commands show, against the stand-in, written off the
// window's thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

#include "app/App.h"
#include "app/RecordWriter.h"
#include "net/PageText.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using Strings = std::vector<std::string>;

struct WindowRecord : ::testing::Test {
    test::StandinFixture web{"2026-12-06T14:00", 1};
    test::AppFixture fx{web.services()};
    App& app = *fx.app;
    MainWindow& w = app.window;
    const standin::RaceDay day = standin::generateRaceDay(standin::Date{2026, 12, 6}, 1);
    test::TempDir folder;
    std::mutex mutex;
    Strings said;

    std::unique_ptr<RecordWriter> writer(const std::filesystem::path& file) {
        auto made = std::make_unique<RecordWriter>(file, [this](const std::string& text) {
            std::lock_guard lock(mutex);
            said.push_back(text);
        });
        wireCommands(app, recordShown(app, *made));
        w.cmdDownload.click();
        return made;
    }
    void chooseRace(int meeting, int race) {
        w.cmbTrackName.setSelectedIndex(meeting);
        w.lstRaceName.setSelectedIndex(race - 1);
        w.lstRaceName.onDoubleClick();
    }
};

TEST_F(WindowRecord, AChosenRaceAndItsLiveOddsAreRecordedAsShown) {
    const auto file = folder.path() / "record.sqlite";
    {
        auto recording = writer(file);
        chooseRace(0, 1);
        w.cmdLiveOdds.click();
    }  // the writer goes as the program ends: what was queued is written
    EXPECT_EQ(said, Strings{});
    record::Record store(file);
    const std::vector<record::RaceSummary> races = store.races({"2026-12-06", "2026-12-06", "", 1});
    const standin::Meeting& m = day.meetings[0];
    const auto chosen = std::find_if(races.begin(), races.end(), [&](const record::RaceSummary& r) {
        return text::trimSpaces(r.key.meeting) == m.name;
    });
    ASSERT_NE(chosen, races.end());
    Strings shownTips;
    for (const ReportRow& row : w.lstTips.rows()) shownTips.push_back(std::to_string(static_cast<int>(text::leadingNumber(row.subItems.at(0)))));
    EXPECT_EQ(chosen->tips, shownTips);
    const record::RaceDetail d = store.detail(*chosen);
    ASSERT_EQ(d.prices.size(), 1u);
    // Both commands tipped the race as the window showed it.
    EXPECT_EQ(d.tipRuns.size(), 2u);
    const standin::Race& race = m.races[0];
    std::vector<std::pair<std::string, Strings>> want, got;
    for (const standin::Runner* r : race.starters()) {
        const auto tote = standin::pricesAt(day, m, race, *r, web.server.now()).tote;
        want.emplace_back(r->number, Strings(tote.begin(), tote.end()));
    }
    for (const record::PriceRow& r : d.prices[0].rows) got.emplace_back(r.number, Strings(r.prices.begin(), r.prices.end()));
    EXPECT_EQ(got, want);
}

// A record that cannot be written stops nothing and is said once, however many commands follow.
TEST_F(WindowRecord, ARecordThatCannotBeWrittenIsSaidOnce) {
    auto recording = writer(folder.path());
    chooseRace(0, 1);
    w.cmdLiveOdds.click();
    chooseRace(0, 2);
    recording->flush();
    EXPECT_EQ(w.lstTips.count(), 5);
    EXPECT_EQ(said, Strings{"not recorded: " + folder.path().string() + ": unable to open database file"});
}

}  // namespace
}  // namespace selvane
