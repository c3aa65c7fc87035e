// The live results command's decisions and the results links, over plain values and the
// main window's models.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/FakePorts.h"
#include "kit/MainWindow.h"
#include "results/LiveResults.h"

namespace selvane {
namespace {

// lstResults as checkResults fills it: code, race, meeting name, state.
std::vector<ReportRow> resultRows(const std::vector<std::string>& states) {
    std::vector<ReportRow> rows;
    for (std::size_t r = 0; r < states.size(); ++r)
        rows.push_back({"AF", {std::to_string(r + 1), "ASHFORD (AF)", states[r]}});
    return rows;
}

TEST(LiveResults, ChoosesThePlaceholderOrTheRacePage) {
    struct Case {
        std::string raceCaption;
        std::string state;  // of that race's row
        int rows;
        int resultsRow;
        std::string framed;
        std::string title;
        std::string racePage;
    };
    const Case cases[] = {
        {" 5 ", "12:30PM", 6, 4, "blank_results.html", "ASHFORD - #R.05", ""},
        {"5", "CLOSED", 6, 4, "blank_results.html", "ASHFORD - #R.05", ""},
        {"5", "INTERIM", 6, 4, "blank_results.html", "ASHFORD - #R.05", ""},
        {"5", "n/a", 6, 4, "blank_results.html", "ASHFORD - #R.05", ""},
        {"5", "1pm", 6, 4, "blank_results.html", "ASHFORD - #R.05", ""},
        {"5", "3,5,7", 6, 4, "results.html", "ASHFORD - #05", "AF05.html"},
        {"5", "abnd", 6, 4, "results.html", "ASHFORD - #05", "AF05.html"},
        {"5", "", 6, 4, "results.html", "ASHFORD - #05", "AF05.html"},  // empty state: final
        {"12", "1,2,3", 12, 11, "results.html", "ASHFORD - #12", "AF12.html"},
        {"12", "12:30PM", 6, -1, "results.html", "ASHFORD - #12", "AF12.html"},  // no row: final
        {"10", "10:05AM", 10, 9, "blank_results.html", "ASHFORD - #R.10", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raceCaption + " " + c.state);
        std::vector<std::string> states(c.rows, "9:00AM");
        if (c.resultsRow >= 0) states[c.resultsRow] = c.state;
        const LiveResultChoice got = chooseLiveResult(c.raceCaption, "TrackName: ASHFORD ", resultRows(states));
        EXPECT_EQ(got.resultsRow, c.resultsRow);
        EXPECT_EQ(got.framedPage, c.framed);
        EXPECT_EQ(got.title, c.title);
        EXPECT_EQ(got.racePageName, c.racePage);
    }
}

TEST(LiveResults, TrackTextDropsThePrefixAndTheClosingBlank) {
    const std::pair<std::string, std::string> cases[] = {
        {"TrackName: ASHFORD ", "ASHFORD"},
        {"TrackName: MOONEE VALLEY ", "MOONEE VALLEY"},
        {"TrackName: A && B ", "A && B"},
        {"TrackName: ", ""},
        {"Track Name: ", ""},
        {"TrackName: X", ""},
        {"TrackName: ASHFORD", "ASHFOR"},  // the cut counts on the closing blank
        {"", ""},
    };
    for (const auto& [caption, track] : cases) EXPECT_EQ(trackTextOf(caption), track) << caption;
}

TEST(LiveResults, GateAndItsMessages) {
    EXPECT_EQ(liveResultsGate(0, "5", 3), LiveResultsGate::Nothing);
    EXPECT_EQ(liveResultsGate(8, "  ", 3), LiveResultsGate::NoRaceSelected);
    EXPECT_EQ(liveResultsGate(8, "5", 0), LiveResultsGate::NoResults);
    EXPECT_EQ(liveResultsGate(8, "5", 3), LiveResultsGate::Go);
    EXPECT_EQ(noRaceSelectText(),
              "You have not select any races yet.\r\rWhich race number you want to see the live "
              "results\rplease double click to select it first.");
    EXPECT_EQ(resultsInaccessibleText("Meeting: ASHFORD "),
              "Could not access any live results data for Meeting: ASHFORD\rThis is probably due to race results has "
              "no record available.");
}

TEST(LiveResults, PlaceholderUnlessTheTablesWereCopied) {
    EXPECT_EQ(framedPageAfterCopy(true, ResultsPageEnd::FifthTableEnd), "results.html");
    EXPECT_EQ(framedPageAfterCopy(true, ResultsPageEnd::EndOfPage), "results.html");
    EXPECT_EQ(framedPageAfterCopy(true, ResultsPageEnd::NoResultTables), "blank_results.html");
    EXPECT_EQ(framedPageAfterCopy(false, ResultsPageEnd::FifthTableEnd), "blank_results.html");
}

TEST(LiveResults, ResultsLinkOpensTheRacePageOfTheDay) {
    struct Case {
        int races;           // lstRaceName rows
        int results;         // lstResults rows
        int selected;        // lstRaceName row, -1 none
        std::string opened;  // empty: nothing opened
    };
    const Case cases[] = {
        {8, 8, 6, "http://tote.test/root/2026/12/06/AF07.html"},
        {12, 8, 10, "http://tote.test/root/2026/12/06/AF11.html"},
        {8, 8, -1, ""},
        {8, 0, 6, ""},
        {0, 8, -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        MainWindow w;
        w.cmbDateRaces.addItem("06/12/2026");
        w.cmbDateRaces.setSelectedIndex(0);
        for (int r = 1; r <= c.races; ++r) w.lstRaceName.addRow("mashf", {std::to_string(r), "1:05PM", "HCP", "1200m"});
        for (const ReportRow& row : resultRows(std::vector<std::string>(c.results, "3,5,7")))
            w.lstResults.addRow(row.text, row.subItems);
        w.lstRaceName.setSelectedIndex(c.selected);
        FakeShell shell;
        EXPECT_EQ(openResultsLink(w, shell, "http://tote.test/root/"), !c.opened.empty());
        EXPECT_EQ(shell.opened, c.opened.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.opened});
        // The date parts are cut only when a link is opened.
        EXPECT_EQ(w.dayPart, c.opened.empty() ? "  " : "06");
    }
}

}  // namespace
}  // namespace selvane
