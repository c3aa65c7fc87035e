#include "form/RaceSelection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/App.h"
#include "app/Commands.h"
#include "form/TipGrid.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using test::AppFixture;

TEST(RaceSelectionText, EscapesAmpersands) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""}, {"RANDWICK ", "RANDWICK "}, {"BM70 & MDN ", "BM70 && MDN "}, {"&&", "&&&&"}, {"A&B&", "A&&B&&"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(escapeAmpersands(in), out) << in;
}

TEST(RaceSelectionText, RacePageAddress) {
    EXPECT_EQ(racePageAddress("http://h:1", "mranbdfa", "3"), "http://h:1/cgi-bin/tvf/memdeliver.pl/ranbdfa3.htm?tvf3");
    EXPECT_EQ(racePageAddress("http://h:1", "", ""), "http://h:1/cgi-bin/tvf/memdeliver.pl/.htm?tvf3");
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

std::vector<PageRunner> eightRunners(int withoutForm) {
    std::vector<PageRunner> field;
    for (int i = 1; i <= 8; ++i) {
        const bool noForm = i > 8 - withoutForm;
        field.push_back({std::to_string(i), noForm ? "" : std::to_string(i % 4 + 1) + "21", "HORSE " + std::to_string(i),
                         std::to_string(9 - i)});
    }
    return field;
}

std::vector<std::string> titles(const FakeMessageBox& box) {
    std::vector<std::string> out;
    for (const ShownMessage& m : box.shown) out.push_back(m.title);
    return out;
}

TEST(RaceSelection, StoredPageWithInsufficientForm) {
    // Three, two and one runners of eight without form: the warning needs two (eight / 3).
    const std::vector<std::pair<int, std::vector<std::string>>> cases = {
        {3, {"Insufficient Form"}}, {2, {"Insufficient Form"}}, {1, {}}, {0, {}}};
    for (const auto& [withoutForm, shown] : cases) {
        SCOPED_TRACE(withoutForm);
        AppFixture f;
        App& app = *f.app;
        app.window.racePage = racePage(eightRunners(withoutForm));
        app.window.Command1.click();  // not wired: nothing happens
        EXPECT_EQ(app.window.lstRaces.count(), 0);

        wireCommands(app);
        app.window.Command1.click();
        EXPECT_EQ(app.window.lstRaces.count(), 8);
        EXPECT_EQ(app.window.lstTips.count(), 5);
        EXPECT_EQ(app.window.insufficientFormCount, withoutForm);
        EXPECT_EQ(titles(f.fakes.messages), shown);
        if (!shown.empty()) {
            EXPECT_EQ(f.fakes.messages.shown[0].text, "No bets should be made due to insufficient form data");
            EXPECT_EQ(f.fakes.messages.shown[0].icon, MessageIcon::Information);
            EXPECT_EQ(f.fakes.messages.shown[0].buttons, MessageButtons::Ok);
        }
        EXPECT_EQ(app.window.lblTitle.caption(), "Racecourse:     --> Track name: Race #. ");
    }
}

TEST(RaceSelection, TickingAFormlessRunnerAndClickingRerunsTheTips) {
    AppFixture f;
    App& app = *f.app;
    wireCommands(app);
    app.window.racePage = racePage(eightRunners(2));
    app.window.Command1.click();
    ASSERT_EQ(titles(f.fakes.messages), (std::vector<std::string>{"Insufficient Form"}));
    app.window.lblTrackName.setCaption("TrackName: MOE ");

    app.window.lstRaces.setChecked(7, true);
    app.window.lstRaces.onClick();
    EXPECT_EQ(app.window.insufficientFormCount, 1);
    EXPECT_EQ(titles(f.fakes.messages), (std::vector<std::string>{"Insufficient Form"}));

    app.window.lstRaces.setChecked(7, false);
    app.window.lstRaces.onClick();
    EXPECT_EQ(app.window.insufficientFormCount, 2);
    EXPECT_EQ(titles(f.fakes.messages), (std::vector<std::string>{"Insufficient Form", "Insufficient Form"}));
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
        for (int r = 1; r <= 5; ++r) {
            const std::string label = labelNumber(r) + ordinalSuffix(static_cast<std::int16_t>(r));
            EXPECT_EQ(app.window.lstTips.row(r - 1).text, label);
            EXPECT_EQ(app.window.lstTips.row(r - 1).subItems, (std::vector<std::string>{" n/a", " 0%"}));
            EXPECT_EQ(app.window.lstTips.subItem(r - 1, 3), "");
            EXPECT_EQ(app.window.msfResults.cell(r, 0), label);
            EXPECT_EQ(app.window.msfResults.cell(r, 1), " n/a");
            EXPECT_EQ(app.window.msfResults.cell(r, 2), " 0%");
            EXPECT_EQ(app.window.msfResults.cell(r, 3), " 0");
        }
        EXPECT_EQ(app.window.msfResults.rowCount(), 6);
        ASSERT_EQ(f.fakes.messages.shown.size(), 1u);
        EXPECT_EQ(f.fakes.messages.shown[0].title, "Race's Data Error");
        EXPECT_EQ(f.fakes.messages.shown[0].text, raceDataErrorText(""));
        EXPECT_EQ(f.fakes.messages.shown[0].icon, MessageIcon::Critical);
    }
}

}  // namespace
}  // namespace selvane
