#include "form/RaceSelection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/App.h"
#include "app/Commands.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using test::AppFixture;

TEST(RaceSelectionText, EscapesAmpersands) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""}, {"&&", "&&&&"}, {"A&B&", "A&&B&&"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(escapeAmpersands(in), out) << in;
}

TEST(RaceSelectionText, DataErrorMessage) {
    EXPECT_EQ(raceDataErrorText("  TrackName: RANDWICK "),
              "Could not access any data for race's TrackName: RANDWICK\r\n"
              "This is probably due to data error or no data available.\r\n\r\n"
              "No bets should be made due to insufficient form data");
}

// A race page as the HTML engine writes it: the race details table, then the runners table
// between the first and second rules.
struct PageRunner {
    std::string number, form, name, barrier;
};

std::string racePage(const std::vector<PageRunner>& runners) {
    std::string page =
        "<html><head><title>Race 1</title></head><body>\r\n<hr>\r\n<table><tr><td></td></tr></table>\r\n"
        "<table>\r\n<tr><td>No.</td><td>Form</td><td>Horse Name (Barrier)</td><td>Jockey</td><td>Wgt.</td>"
        "<td>API</td><td>Win</td><td>Pl.</td><td>Stakes</td></tr>\r\n";
    for (const PageRunner& r : runners) {
        page += "<tr><td>" + r.number + "</td><td>" + r.form + "</td><td><a href=\"#\">" +
                r.name + "</a> (" + r.barrier + ")</td><td>J SMITH</td><td>57.5</td><td>900</td><td>1</td><td>2</td>"
                "<td>$9,000</td></tr>\r\n";
    }
    return page + "</table>\r\n<hr>\r\n<p>after the field</p></body></html>";
}

TEST(RaceSelection, TheReanalyseButtonTipsTheStoredPage) {
    AppFixture f;
    wireCommands(*f.app);
    std::vector<PageRunner> field;
    for (int i = 1; i <= 8; ++i)
        field.push_back({std::to_string(i), i > 6 ? "" : std::to_string(i % 4 + 1) + "21", "HORSE " + std::to_string(i),
                         std::to_string(9 - i)});
    f.app->window.racePage = racePage(field);
    f.app->window.Command1.click();
    EXPECT_EQ(f.app->window.lstRaces.count(), 8);
    EXPECT_EQ(f.app->window.lstTips.count(), 5);
    EXPECT_EQ(f.app->window.insufficientFormCount, 2);
    ASSERT_EQ(f.fakes.messages.shown.size(), 1u);
    EXPECT_EQ(f.fakes.messages.shown[0].title, "Insufficient Form");
    EXPECT_EQ(f.app->window.lblTitle.caption(), "Racecourse:     --> Track name: Race #. ");
}

TEST(RaceSelection, AnEmptyRunnerListIgnoresClicksAndAnEmptyRaceListDoubleClicks) {
    AppFixture f;
    App& app = *f.app;
    wireCommands(app);
    app.window.lstRaces.onClick();
    app.window.lstRaceName.onDoubleClick();
    EXPECT_EQ(f.fakes.messages.shown.size(), 0u);
    EXPECT_EQ(f.fakes.pointer.history.size(), 0u);
    EXPECT_EQ(app.window.lstTips.count(), 0);
    EXPECT_EQ(app.window.lblTrackName.caption(), "Track Name: ");
}

TEST(RaceSelection, APageWithoutRunnersShowsPlaceholders) {
    const std::vector<std::pair<const char*, std::string>> pages = {
        {"no page", ""},
        {"four runners", racePage({{"1", "11", "A", "1"}, {"2", "22", "B", "2"}, {"3", "33", "C", "3"}, {"4", "4", "D", "4"}})},
        {"a form of six figures", racePage({{"1", "111111", "A", "1"}, {"2", "22", "B", "2"}, {"3", "33", "C", "3"},
                                            {"4", "4", "D", "4"}, {"5", "5", "E", "5"}})}};
    for (const auto& [what, page] : pages) {
        SCOPED_TRACE(what);
        AppFixture f;
        App& app = *f.app;
        app.window.racePage = page;
        reanalyseStoredRace(app, app.window, app.runners);
        ASSERT_EQ(app.window.lstTips.count(), 5);
        EXPECT_EQ(app.window.lstTips.row(4).text, " 5th");
        EXPECT_EQ(app.window.lstTips.row(4).subItems, (std::vector<std::string>{" n/a", " 0%"}));
        EXPECT_EQ(app.window.msfResults.cell(5, 2), " 0%");
        EXPECT_EQ(app.window.msfResults.rowCount(), 6);
        ASSERT_EQ(f.fakes.messages.shown.size(), 1u);
        EXPECT_EQ(f.fakes.messages.shown[0].title, "Race's Data Error");
        EXPECT_EQ(f.fakes.messages.shown[0].text, raceDataErrorText(""));
    }
}

}  // namespace
}  // namespace selvane
