#include "form/Tipping.h"

#include <gtest/gtest.h>

#include "kit/MainWindow.h"
#include "form/TipGrid.h"

namespace selvane {
namespace {

// The seven-runner field whose tips are worked out by hand: number, form, name, barrier.
std::vector<TipInput> workedField() {
    return {{"1", "3121", "ALPHA", "4"},   {"2", "0x00", "BRAVO", "1"}, {"3", "1111", "CHARLIE", "2"},
            {"4", "3331", "DELTA", "5"},   {"5e", "11", "ECHO", "3"},   {"6", "21", "FOXTROT", "6"},
            {"7", "6", "GOLF", "9"}};
}

std::vector<std::string> column(const std::vector<TipRow>& rows, std::string TipRow::*field) {
    std::vector<std::string> out;
    for (const TipRow& r : rows) out.push_back(r.*field);
    return out;
}

std::vector<int> firstFive(const std::vector<int>& order) { return {order.begin(), order.begin() + 5}; }

void fillRunnerList(MainWindow& w, const std::vector<TipInput>& field) {
    w.lstRaces.clear();
    for (const TipInput& r : field) {
        const int row = w.lstRaces.addRow(r.number, {r.form, r.name, "JOCKEY", "56", r.barrier});
        w.lstRaces.setChecked(row, r.ticked);
    }
}

TEST(Tipping, WorkedExampleValues) {
    const TipOutcome o = computeTips(workedField());
    ASSERT_EQ(o.stop, TipStop::None);
    EXPECT_EQ(o.formScore, (std::vector<float>{5.75f, 15.0f, 3.0f, 7.5f, 4.0f, 7.5f, 15.0f}));
    EXPECT_EQ(o.rankValue, (std::vector<float>{5.75f, 15.0f, 3.0f, 7.5f, 10000.0f, 7.5f, 15.0f}));
    EXPECT_EQ(o.maxScore, 15.0f);
    EXPECT_EQ(o.tipOrder, (std::vector<int>{3, 1, 6, 4, 7, 2, 5}));
    EXPECT_EQ(o.winBase, 16);

    EXPECT_EQ(column(o.tips, &TipRow::label), (std::vector<std::string>{" 1st", " 2nd", " 3rd", " 4th", " 5th"}));
    EXPECT_EQ(column(o.tips, &TipRow::runner),
              (std::vector<std::string>{" 3.  CHARLIE", " 1.  ALPHA", " 6.  FOXTROT", " 4.  DELTA", " 7.  GOLF"}));
    EXPECT_EQ(column(o.tips, &TipRow::win), (std::vector<std::string>{" 81%", " 64%", " 53%", " 53%", " 6%"}));
    EXPECT_EQ(column(o.tips, &TipRow::barrier), (std::vector<std::string>{"2", "4", "6", "5", "9"}));

    EXPECT_DOUBLE_EQ(o.tipScores[1], 3.002);
    EXPECT_DOUBLE_EQ(o.tipScores[2], 5.754);
    EXPECT_DOUBLE_EQ(o.tipScores[3], 7.506);
    EXPECT_DOUBLE_EQ(o.tipScores[4], 7.505);
    EXPECT_DOUBLE_EQ(o.tipScores[5], 15.009);
    EXPECT_EQ(o.gridOrder, (std::vector<std::int32_t>{0, 1, 2, 4, 3, 5}));

    EXPECT_EQ(column(o.grid, &TipRow::label), (std::vector<std::string>{" 1st", " 2nd", " 3rd", " 4th", " 5th"}));
    EXPECT_EQ(column(o.grid, &TipRow::runner),
              (std::vector<std::string>{"  3.  CHARLIE", "  1.  ALPHA", "  4.  DELTA", "  6.  FOXTROT", "  7.  GOLF"}));
    EXPECT_EQ(column(o.grid, &TipRow::win), (std::vector<std::string>{"  81%", "  64%", "  53%", "  53%", "  6%"}));
    EXPECT_EQ(column(o.grid, &TipRow::barrier), (std::vector<std::string>{" 2", " 4", " 5", " 6", " 9"}));
    EXPECT_EQ(o.tipBarriers, (std::array<std::int16_t, 6>{0, 2, 4, 5, 6, 9}));
    EXPECT_EQ(o.bestBetRow, 1);
    EXPECT_TRUE(o.grid[0].highlight);
    EXPECT_FALSE(o.grid[1].highlight);
    EXPECT_EQ(o.status, "Tip each way best bet #  3.  CHARLIE");
    EXPECT_EQ(o.insufficientFormCount, 0);
}

TEST(Tipping, WorkedExampleOnTheWindow) {
    MainWindow w;
    msfClear(w);
    fillRunnerList(w, workedField());
    w.lstTips.addRow("stale", {"x", "y", "z"});
    w.insufficientFormCount = 9;

    const TipRun run = workoutPlaces(w);
    ASSERT_TRUE(run.published());

    ASSERT_EQ(w.lstTips.count(), 5);
    EXPECT_EQ(w.lstTips.row(0).text, " 1st");
    EXPECT_EQ(w.lstTips.row(0).subItems, (std::vector<std::string>{" 3.  CHARLIE", " 81%", "2"}));
    EXPECT_EQ(w.lstTips.row(3).subItems, (std::vector<std::string>{" 4.  DELTA", " 53%", "5"}));
    EXPECT_EQ(w.lstTips.row(4).subItems, (std::vector<std::string>{" 7.  GOLF", " 6%", "9"}));

    ASSERT_EQ(w.msfResults.rowCount(), 6);  // header + five: the reset's sixth row is gone
    const std::vector<std::vector<std::string>> grid = {{" 1st", "  3.  CHARLIE", "  81%", " 2"},
                                                        {" 2nd", "  1.  ALPHA", "  64%", " 4"},
                                                        {" 3rd", "  4.  DELTA", "  53%", " 5"},
                                                        {" 4th", "  6.  FOXTROT", "  53%", " 6"},
                                                        {" 5th", "  7.  GOLF", "  6%", " 9"}};
    for (int r = 1; r <= 5; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_EQ(w.msfResults.cell(r, c), grid[r - 1][c]) << r << "," << c;
        const Colour want = r == 1 ? kBestBetColour : kDefaultColour;
        EXPECT_EQ(w.msfResults.cellBackColour(r, 0), kDefaultColour);
        EXPECT_EQ(w.msfResults.cellBackColour(r, 1), want);
        EXPECT_EQ(w.msfResults.cellBackColour(r, 2), want);
        EXPECT_EQ(w.msfResults.cellBackColour(r, 3), kDefaultColour);
    }
    EXPECT_EQ(w.stBar.panel(2), "Tip each way best bet #  3.  CHARLIE");
    EXPECT_EQ(w.tipBarriers, (std::array<std::int16_t, 6>{0, 2, 4, 5, 6, 9}));
    EXPECT_EQ(w.insufficientFormCount, 0);

    // Ticking runner 3 makes it form-less (1000, and the 0x00 runner with it): it drops to
    // grid row 5 yet keeps the lowest barrier; the first row loses its old highlight.
    w.lstRaces.setChecked(2, true);
    ASSERT_TRUE(workoutPlaces(w).published());
    EXPECT_EQ(w.msfResults.rowCount(), 6);
    EXPECT_EQ(w.msfResults.cell(1, 1), "  1.  ALPHA");
    EXPECT_EQ(w.msfResults.cellBackColour(1, 1), kDefaultColour);
    EXPECT_EQ(w.msfResults.cell(5, 1), "  3.  CHARLIE");
    EXPECT_EQ(w.msfResults.cellBackColour(5, 1), kBestBetColour);
    EXPECT_EQ(w.stBar.panel(2), "Tip each way best bet #  3.  CHARLIE");
    EXPECT_EQ(w.insufficientFormCount, 1);
}

struct Case {
    const char* what;
    std::vector<TipInput> field;
    std::vector<int> firstFiveOrder;
    int winBase;
    std::vector<std::string> wins;
    std::vector<std::string> barriers;  // tip list order
    std::vector<std::int32_t> gridOrder;
    int bestBetRow;
    std::string bestBet;  // grid runner text of the best bet
    int insufficientForm;
};

TEST(Tipping, EdgeCases) {
    const std::vector<Case> cases = {
        {"equal ranks: further down ranks better; the grid puts the lower barrier first",
         {{"1", "2", "A", "5"}, {"2", "2", "B", "5"}, {"3", "4", "C", "3"}, {"4", "1", "D", "6"},
          {"5", "3", "E", "4"}, {"6", "9", "F", "1"}},
         {5, 4, 3, 2, 1}, 8, {" 13%", " 13%", " 13%", " 13%", " 13%"}, {"4", "6", "3", "5", "5"},
         {0, 3, 1, 5, 4, 2}, 1, "  3.  C", 0},
        {"emergencies 1e and 2E rank after every runner, whatever their form",
         {{"1e", "1", "A", "1"}, {"2E", "1", "B", "1"}, {"3", "99", "C", "5"}, {"4", "88", "D", "4"},
          {"5", "77", "E", "3"}, {"6", "66", "F", "2"}},
         {6, 5, 4, 3, 2}, 10001, {" 100%", " 100%", " 100%", " 100%", " 0%"}, {"2", "3", "4", "5", "1"},
         {0, 1, 2, 3, 4, 5}, 5, "  2.  B", 0},
        {"a ticked runner scores 1000: behind form, ahead of emergencies, not counted",
         {{"1", "1", "A", "1", true}, {"2", "2", "B", "1"}, {"3", "3", "C", "1"}, {"4", "4", "D", "1"},
          {"5e", "1", "E", "1"}, {"6", "5", "F", "1"}},
         {2, 3, 4, 6, 1}, 1001, {" 100%", " 100%", " 100%", " 99%", " 0%"}, {"1", "1", "1", "1", "1"},
         {0, 1, 2, 3, 4, 5}, 1, "  2.  B", 0},
        {"zero forms take the largest score of the field",
         {{"1", "0x00", "A", "1"}, {"2", "000", "B", "2"}, {"3", "2", "C", "1"}, {"4", "4", "D", "1"},
          {"5", "6", "E", "1"}},
         {3, 4, 5, 2, 1}, 8, {" 63%", " 38%", " 13%", " 13%", " 13%"}, {"1", "1", "1", "2", "1"},
         {0, 1, 2, 3, 5, 4}, 1, "  3.  C", 0},
        {"zero forms with a form-less runner in the field score 1000 and count",
         {{"1", "0x00", "A", "1"}, {"2", "", "B", "2"}, {"3", "2", "C", "1"}, {"4", "4", "D", "1"},
          {"5", "6", "E", "1"}},
         {3, 4, 5, 2, 1}, 1001, {" 100%", " 100%", " 99%", " 0%", " 0%"}, {"1", "1", "1", "2", "1"},
         {0, 1, 2, 3, 5, 4}, 1, "  3.  C", 2},
        {"no runner has form",
         {{"1", "", "A", "3"}, {"2", " ", "B", "1"}, {"3", "", "C", "2"}, {"4", "", "D", "5"}, {"5", "", "E", "4"}},
         {5, 4, 3, 2, 1}, 1001, {" 0%", " 0%", " 0%", " 0%", " 0%"}, {"4", "5", "2", "1", "3"},
         {0, 4, 3, 5, 1, 2}, 1, "  2.  B", 5},
        {"the fifth tip without form",
         {{"1", "1", "A", "1"}, {"2", "1", "B", "2"}, {"3", "1", "C", "3"}, {"4", "1", "D", "4"}, {"5", "", "E", "5"}},
         {1, 2, 3, 4, 5}, 1001, {" 100%", " 100%", " 100%", " 100%", " 0%"}, {"1", "2", "3", "4", "5"},
         {0, 1, 2, 3, 4, 5}, 1, "  1.  A", 1},
        {"an empty barrier reads 0 and becomes the best bet",
         {{"1", "1", "A", "3"}, {"2", "2", "B", ""}, {"3", "5", "C", "4"}, {"4", "1", "D", "2"}, {"5", "4", "E", "7"}},
         {2, 4, 1, 3, 5}, 12, {" 83%", " 75%", " 67%", " 25%", " 8%"}, {"0", "2", "3", "4", "7"},
         {0, 1, 2, 3, 4, 5}, 1, "  2.  B", 0},
        {"two tips on the lowest barrier: the higher grid row is the best bet",
         {{"1", "1", "A", "2"}, {"2", "3", "B", "1"}, {"3", "4", "C", "1"}, {"4", "5", "D", "3"}, {"5", "6", "E", "4"}},
         {1, 2, 3, 4, 5}, 11, {" 73%", " 64%", " 55%", " 27%", " 9%"}, {"2", "1", "1", "3", "4"},
         {0, 1, 2, 3, 4, 5}, 2, "  2.  B", 0},
        {"win base rounds half to even (8.5 gives 8), win numbers half away from zero (12.5 gives 13)",
         {{"1", "2111", "A", ""}, {"2", "3", "B", "2"}, {"3", "4", "C", "2"}, {"4", "5", "D", "2"},
          {"5", "6", "E", "1.5"}},
         {1, 2, 3, 4, 5}, 8, {" 84%", " 38%", " 25%", " 13%", " 6%"}, {"0", "2", "2", "2", "1.5"},
         {0, 1, 2, 3, 4, 5}, 1, "  1.  A", 0},
        {"a fractional lowest barrier (1.5 keeps as 2) matches no grid row: no best bet",
         {{"1", "1", "A", "1.5"}, {"2", "1", "B", "3"}, {"3", "1", "C", "4"}, {"4", "1", "D", "5"}, {"5", "1", "E", "6"}},
         {1, 2, 3, 4, 5}, 8, {" 69%", " 50%", " 38%", " 25%", " 13%"}, {"1.5", "3", "4", "5", "6"},
         {0, 1, 2, 3, 4, 5}, 0, "", 0},
        {"a name's bracketed part is cut; a barrier's leading number counts",
         {{"1", "1", "A  (3)", "3)"}, {"2", "1", "B(2)", " 2x"}, {"3", "1", "C", "x"}, {"4", "1", "D", "9"},
          {"5", "1", "E", "8"}},
         {3, 2, 1, 5, 4}, 11, {" 91%", " 73%", " 64%", " 18%", " 9%"}, {"0", "2", "3", "8", "9"},
         {0, 1, 2, 3, 4, 5}, 1, "  3.  C", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TipOutcome o = computeTips(c.field);
        ASSERT_EQ(o.stop, TipStop::None) << o.error;
        EXPECT_EQ(firstFive(o.tipOrder), c.firstFiveOrder);
        EXPECT_EQ(o.winBase, c.winBase);
        EXPECT_EQ(column(o.tips, &TipRow::win), c.wins);
        EXPECT_EQ(column(o.tips, &TipRow::barrier), c.barriers);
        EXPECT_EQ(o.gridOrder, c.gridOrder);
        EXPECT_EQ(o.bestBetRow, c.bestBetRow);
        EXPECT_EQ(o.status, std::string(kBestBetStatus) + c.bestBet);
        EXPECT_EQ(o.insufficientFormCount, c.insufficientForm);
    }
}

TEST(Tipping, StopsPublishNothing) {
    struct Stop {
        const char* what;
        std::vector<TipInput> field;
        TipStop stop;
        std::string error;
    };
    const std::vector<TipInput> five = {{"1", "1", "A", "1"}, {"2", "1", "B", "1"}, {"3", "1", "C", "1"},
                                        {"4", "1", "D", "1"}, {"5", "1", "E", "1"}};
    auto with = [&](int position, TipInput r) {
        auto f = five;
        f[position - 1] = std::move(r);
        return f;
    };
    const std::vector<Stop> stops = {
        {"six form characters", with(3, {"3", " 123456 ", "C", "1"}), TipStop::FormTooLong,
         "Runner 3's form has more than five characters"},
        {"four runners", {five.begin(), five.begin() + 4}, TipStop::TooFewRunners,
         "Only 4 runners: the tips need at least five"},
        {"a barrier past single precision", with(2, {"2", "1", "B", "1e39"}), TipStop::OutOfRange,
         "Runner 2's barrier is out of range"},
        {"a win base past 16 bits", with(5, {"5", "1", "E", "40000"}), TipStop::OutOfRange,
         "The win base is out of range"},
        {"a win base of 0", {{"1", "1", "A", "-2"}, {"2", "1", "B", "-2"}, {"3", "1", "C", "-2"},
                             {"4", "1", "D", "-2"}, {"5", "1", "E", "-2"}},
         TipStop::OutOfRange, "The win base works out at 0"},
        {"a tip's barrier past 16 bits", with(1, {"1", "", "A", "-40000"}), TipStop::OutOfRange,
         "Runner 1's barrier is out of range"},
    };
    for (const Stop& s : stops) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(computeTips(s.field).error, s.error);

        MainWindow w;
        msfClear(w);
        fillRunnerList(w, s.field);
        w.lstTips.addRow(" 1st", {" 9.  OLD", " 50%", "4"});
        w.stBar.setPanel(2, "before");
        w.tipBarriers = {0, 4, 0, 0, 0, 0};
        w.insufficientFormCount = 3;
        const TipRun run = workoutPlaces(w);
        EXPECT_EQ(run.stop, s.stop);
        EXPECT_EQ(run.error, s.error);
        EXPECT_EQ(w.lstTips.count(), 1);
        EXPECT_EQ(w.lstTips.row(0).subItems[0], " 9.  OLD");
        EXPECT_EQ(w.msfResults.rowCount(), 7);
        EXPECT_EQ(w.msfResults.cell(1, 1), "");
        EXPECT_EQ(w.stBar.panel(2), "before");
        EXPECT_EQ(w.tipBarriers[1], 4);
        EXPECT_EQ(w.insufficientFormCount, 0);
    }
}

TEST(Tipping, EmptyRunnerListChangesNothing) {
    MainWindow w;
    w.insufficientFormCount = 7;
    w.lstTips.addRow(" 1st");
    const TipRun run = workoutPlaces(w);
    EXPECT_EQ(run.stop, TipStop::EmptyField);
    EXPECT_EQ(w.insufficientFormCount, 7);
    EXPECT_EQ(w.lstTips.count(), 1);
}

TEST(Tipping, LongFormOfATickedRunnerIsNotScored) {
    std::vector<TipInput> field = {{"1", "1234567", "A", "1", true}, {"2", "1", "B", "1"}, {"3", "1", "C", "1"},
                                   {"4", "1", "D", "1"}, {"5", "1", "E", "1"}};
    const TipOutcome o = computeTips(field);
    EXPECT_EQ(o.stop, TipStop::None);
    EXPECT_EQ(o.formScore[0], 1000.0f);
    field[0].form = "12345";
    field[0].ticked = false;
    EXPECT_EQ(computeTips(field).formScore[0], 4.0f);  // 15 / 5 + 1
    field[0].form = "302";  // a zero is no figure of the mean: 5 / 2 + 1
    EXPECT_EQ(computeTips(field).formScore[0], 3.5f);
}

TEST(Tipping, NegativeRankValuesStillRankEveryRunner) {
    // Barrier texts of "-5" and "-2" give a rank below the selection's start value; every runner must
    // still be placed exactly once.
    const std::vector<TipInput> field = {{"1", "1", "A", "1"}, {"2", "1", "B", "-5"}, {"3", "2", "C", "1"},
                                         {"4", "1", "D", "-2"}, {"5", "3", "E", "1"}, {"6", "4", "F", "1"}};
    const TipOutcome o = computeTips(field);
    ASSERT_EQ(o.stop, TipStop::None) << o.error;
    EXPECT_EQ(o.tipOrder, (std::vector<int>{2, 4, 1, 3, 5, 6}));
    EXPECT_EQ(o.winBase, 5);
    EXPECT_EQ(column(o.tips, &TipRow::win), (std::vector<std::string>{" 180%", " 120%", " 60%", " 40%", " 20%"}));
}

TEST(Tipping, SmallProcedures) {
    std::array<std::int16_t, 6> barriers{99, 9, 2, 6, 2, -1};
    sortIntegers(barriers, 5);
    EXPECT_EQ(barriers, (std::array<std::int16_t, 6>{99, -1, 2, 2, 6, 9}));

    // Not a stable sort: the two 3s and the two 7.5s change places through the swaps.
    EXPECT_EQ(tipGridOrder(std::vector<double>{0, 7.5, 3, 7.5, 3, 1}, 1, 5),
              (std::vector<std::int32_t>{0, 5, 2, 4, 3, 1}));
}

}  // namespace
}  // namespace selvane
