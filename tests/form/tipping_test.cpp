#include "form/Tipping.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <sstream>

#include "form/FormText.h"
#include "form/RunnerFile.h"
#include "form/TipGrid.h"
#include "kit/MainWindow.h"
#include "TipRows.h"

namespace selvane {
namespace {

using test::gridOf;
using test::Rows;

// "number,form,name,barrier[,t]|..." with t for a ticked runner.
std::vector<TipInput> fieldOf(const std::string& text) {
    std::vector<TipInput> out;
    std::istringstream runners(text);
    for (std::string runner; std::getline(runners, runner, '|');) {
        std::istringstream cells(runner);
        std::array<std::string, 5> c;
        for (std::string& cell : c) std::getline(cells, cell, ',');
        out.push_back({c[0], c[1], c[2], c[3], c[4] == "t"});
    }
    return out;
}

// Tips worked out by hand; 5e is an emergency.
const std::vector<TipInput> kWorked =
    fieldOf("1,3121,ALPHA,4|2,0x00,BRAVO,1|3,1111,CHARLIE,2|4,3331,DELTA,5|5e,11,ECHO,3|6,21,FOXTROT,6|7,6,GOLF,9");

TEST(Tipping, WorkedFieldOnTheWindow) {
    MainWindow w;
    msfClear(w);
    setRunnerList(w, kWorked);
    w.lstTips.addRow("stale", {"x", "y", "z"});
    w.insufficientFormCount = 9;
    ASSERT_TRUE(workoutPlaces(w).published());

    EXPECT_EQ(test::rowsOf(w.lstTips), (Rows{{" 1st", " 3.  CHARLIE", " 81%", "2"}, {" 2nd", " 1.  ALPHA", " 64%", "4"},
                                             {" 3rd", " 6.  FOXTROT", " 53%", "6"}, {" 4th", " 4.  DELTA", " 53%", "5"},
                                             {" 5th", " 7.  GOLF", " 6%", "9"}}));
    // The grid orders by score then barrier; the reset's sixth row is gone.
    EXPECT_EQ(gridOf(w.msfResults), (Rows{{" 1st", "  3.  CHARLIE", "  81%", " 2", ".BB."}, {" 2nd", "  1.  ALPHA", "  64%", " 4", "...."},
                                          {" 3rd", "  4.  DELTA", "  53%", " 5", "...."}, {" 4th", "  6.  FOXTROT", "  53%", " 6", "...."},
                                          {" 5th", "  7.  GOLF", "  6%", " 9", "...."}}));
    EXPECT_EQ(w.stBar.panel(2), "Tip each way best bet #  3.  CHARLIE");
    EXPECT_EQ(w.stBar.panelTooltip(2),
              "Boxed at a unit of 1: Quinella 10 combinations $10, Exacta 20 combinations $20, Trifecta 60 "
              "combinations $60, First four 120 combinations $120. Each way with 6 starters: 2 places");
    EXPECT_EQ(w.tipBarriers, (std::array<std::int16_t, 6>{0, 2, 4, 5, 6, 9}));
    EXPECT_EQ(w.insufficientFormCount, 0);
    EXPECT_EQ(w.lstRaces.row(1).tooltip, "zeros only \u2192 the field's worst score 15.00");
    EXPECT_EQ(w.lstRaces.row(4).tooltip, "form 1 1 \u2192 mean 1.00 + barrier 3 = 4.00, emergency \u2192 rank 10000.00");
    EXPECT_EQ(w.lstTips.row(2).tooltip, "form 2 1 \u2192 mean 1.50 + barrier 6 = 7.50");  // FOXTROT's

    // Ticked, CHARLIE scores 1000 (and the 0x00 runner with it): it drops to grid row 5 yet keeps
    // the lowest barrier, and row 1 loses its highlight.
    w.lstRaces.setChecked(2, true);
    ASSERT_TRUE(workoutPlaces(w).published());
    EXPECT_EQ(gridOf(w.msfResults), (Rows{{" 1st", "  1.  ALPHA", "  99%", " 4", "...."}, {" 2nd", "  4.  DELTA", "  99%", " 5", "...."},
                                          {" 3rd", "  6.  FOXTROT", "  99%", " 6", "...."}, {" 4th", "  7.  GOLF", "  99%", " 9", "...."},
                                          {" 5th", "  3.  CHARLIE", "  0%", " 2", ".BB."}}));
    EXPECT_TRUE(w.stBar.panelTooltip(2).ends_with(". Each way with 5 starters: 2 places"));
    EXPECT_EQ(w.insufficientFormCount, 1);
}

// The first five tips, win base, tips as win@barrier, grid rows as tip slots, best bet, no-form count.
std::string describe(const TipOutcome& o) {
    std::string s = "order";
    for (int i = 0; i < 5; ++i) s += ' ' + std::to_string(o.tipOrder[i]);
    s += "; base " + std::to_string(o.winBase) + "; tips";
    for (const TipRow& t : o.tips) s += t.win + '@' + t.barrier;
    s += "; grid";
    for (int r = 1; r <= 5; ++r) s += ' ' + std::to_string(o.gridOrder[r]);
    return s + "; best " + std::to_string(o.bestBetRow) + ' ' + o.status.substr(o.status.find('#')) + "; no form " +
           std::to_string(o.insufficientFormCount);
}

TEST(Tipping, EdgeCases) {
    const std::pair<const char*, const char*> cases[] = {
        {"1,2,A,5|2,2,B,5|3,4,C,3|4,1,D,6|5,3,E,4|6,9,F,1",  // equal: later first; grid by barrier, 4 and 5 swap
         "order 5 4 3 2 1; base 8; tips 13%@4 13%@6 13%@3 13%@5 13%@5; grid 3 1 5 4 2; best 1 #  3.  C; no form 0"},
        {"1e,1,A,1|2E,1,B,1|3,99,C,5|4,88,D,4|5,77,E,3|6,66,F,2",  // emergencies rank after every runner
         "order 6 5 4 3 2; base 10001; tips 100%@2 100%@3 100%@4 100%@5 0%@1; grid 1 2 3 4 5; best 5 #  2.  B; no form 0"},
        {"1,1,A,1,t|2,2,B,1|3,3,C,1|4,4,D,1|5e,1,E,1|6,5,F,1",  // ticked: 1000, before emergencies, not counted
         "order 2 3 4 6 1; base 1001; tips 100%@1 100%@1 100%@1 99%@1 0%@1; grid 1 2 3 4 5; best 1 #  2.  B; no form 0"},
        {"1,0x00,A,1|2,000,B,2|3,2,C,1|4,4,D,1|5,6,E,1",  // zero forms take the field's largest score...
         "order 3 4 5 2 1; base 8; tips 63%@1 38%@1 13%@1 13%@2 13%@1; grid 1 2 3 5 4; best 1 #  3.  C; no form 0"},
        {"1,0x00,A,1|2,,B,2|3,2,C,1|4,4,D,1|5,6,E,1",  // ...1000 beside a form-less runner, and then count
         "order 3 4 5 2 1; base 1001; tips 100%@1 100%@1 99%@1 0%@2 0%@1; grid 1 2 3 5 4; best 1 #  3.  C; no form 2"},
        {"1,1,A,3|2,2,B,|3,5,C,4|4,1,D,2|5,4,E,7",  // an empty barrier reads 0 and is the best bet
         "order 2 4 1 3 5; base 12; tips 83%@0 75%@2 67%@3 25%@4 8%@7; grid 1 2 3 4 5; best 1 #  2.  B; no form 0"},
        {"1,1,A,2|2,3,B,1|3,4,C,1|4,5,D,3|5,6,E,4",  // two on the lowest barrier: the higher row is best
         "order 1 2 3 4 5; base 11; tips 73%@2 64%@1 55%@1 27%@3 9%@4; grid 1 2 3 4 5; best 2 #  2.  B; no form 0"},
        {"1,2111,A,|2,3,B,2|3,4,C,2|4,5,D,2|5,6,E,1.5",  // base 8.5 halves to even, win 12.5 away from 0
         "order 1 2 3 4 5; base 8; tips 84%@0 38%@2 25%@2 13%@2 6%@1.5; grid 1 2 3 4 5; best 1 #  1.  A; no form 0"},
        {"1,1,A,1.5|2,1,B,3|3,1,C,4|4,1,D,5|5,1,E,6",  // lowest barrier 1.5 keeps as 2: no grid row matches
         "order 1 2 3 4 5; base 8; tips 69%@1.5 50%@3 38%@4 25%@5 13%@6; grid 1 2 3 4 5; best 0 #; no form 0"},
        {"1,1,A  (3),3)|2,1,B(2), 2x|3,1,C,x|4,1,D,9|5,1,E,8",  // brackets cut; a barrier's leading number
         "order 3 2 1 5 4; base 11; tips 91%@0 73%@2 64%@3 18%@8 9%@9; grid 1 2 3 4 5; best 1 #  3.  C; no form 0"},
        {"1,1,A,1|2,1,B,-5|3,2,C,1|4,1,D,-2|5,3,E,1|6,4,F,1",  // ranks below the selection's start value
         "order 2 4 1 3 5; base 5; tips 180%@-5 120%@-2 60%@1 40%@1 20%@1; grid 1 2 3 4 5; best 1 #  2.  B; no form 0"},
        {"1,0,A,1|2,00,B,2|3,0x0,C,3|4,000,D,4|5,0,E,5",  // zeros only everywhere: the worst score is at least 1
         "order 5 4 3 2 1; base 2; tips 50%@5 50%@4 50%@3 50%@2 50%@1; grid 5 4 3 2 1; best 1 #  1.  A; no form 0"},
    };
    for (const auto& [field, want] : cases) {
        const TipOutcome o = computeTips(fieldOf(field));
        ASSERT_EQ(o.stop, TipStop::None) << field << ": " << o.error;
        EXPECT_EQ(describe(o), want) << field;
    }
}

TEST(Tipping, FormScoresAndTheirWorking) {
    const std::tuple<const char*, float, const char*> cases[] = {
        {"1,302,A,1", 3.5f, "form 3 2 \u2192 mean 2.50 + barrier 1 = 3.50"},  // a zero is no placing: 5 / 2
        {"1,12345,A,1", 4.0f, "form 1 2 3 4 5 \u2192 mean 3.00 + barrier 1 = 4.00"},
        {"1,x6,A,1.5", 7.5f, "form 6 \u2192 mean 6.00 + barrier 1.5 = 7.50"},
        {"1,1234567,A,1,t", 1000.0f, "ticked \u2192 1000.00"},  // a ticked runner's form is never read
        {"1,,A,1", 1000.0f, "no form \u2192 1000.00"},
    };
    for (const auto& [runner, score, working] : cases) {
        const TipOutcome o = computeTips(fieldOf(std::string(runner) + "|2,1,B,1|3,1,C,1|4,1,D,1|5,1,E,1"));
        ASSERT_EQ(o.stop, TipStop::None) << runner;
        EXPECT_EQ(o.formScore[0], score) << runner;
        EXPECT_EQ(explainLine(o, 0), working) << runner;
    }
    EXPECT_EQ(explainLine(computeTips(fieldOf("1,1,A,4|2,123456,B,1")), 0), "");
}

// The working's numbers print as "%.2f" does, ties to even and "-0.00" included.
TEST(Tipping, TwoDecimalsAsPrintf) {
    std::mt19937 bits(7);
    std::vector<float> values = {0.125f, 0.375f, 2.675f, -0.001f, -0.0f, 1e30f, 3.4e38f, 16777217.0f, 0.005f};
    for (int i = 0; i < 200000; ++i) {
        const std::uint32_t b = bits();
        float v;
        std::memcpy(&v, &b, sizeof v);
        values.push_back(i % 2 ? v : static_cast<float>(b % 2000000) / 1000.0f - 1000.0f);
    }
    for (float v : values) {
        char want[64];
        std::snprintf(want, sizeof want, "%.2f", static_cast<double>(v));
        std::string got;
        formtext::appendTwoDecimals(got, v);
        ASSERT_EQ(got, want) << v;
    }
}

// A stopped run leaves the reset grid and the old tips, and zeroes only the no-form count; an empty
// list changes nothing.
TEST(Tipping, StopsPublishNothing) {
    const std::pair<const char*, const char*> stops[] = {
        {"1,1,A,1|2,1,B,1|3, 123456 ,C,1|4,1,D,1|5,1,E,1", "Runner 3's form has more than five characters"},
        {"1,1,A,1|2,1,B,1|3,1,C,1|4,1,D,1", "Only 4 runners: the tips need at least five"},
        {"1,1,A,1|2,1,B,1e39|3,1,C,1|4,1,D,1|5,1,E,1", "Runner 2's barrier is out of range"},
        {"1,1,A,1|2,1,B,1|3,1,C,1|4,1,D,1|5,1,E,40000", "The win base is out of range"},
        {"1,1,A,-2|2,1,B,-2|3,1,C,-2|4,1,D,-2|5,1,E,-2", "The win base works out at 0"},
        {"1,,A,-40000|2,1,B,1|3,1,C,1|4,1,D,1|5,1,E,1", "Runner 1's barrier is out of range"},
        {"", "The runner list is empty"},
    };
    Rows kReset = {{" Tip", " Horse Name", " Win", " Barrier", "...."}};
    for (const char* label : {" 1st", " 2nd", " 3rd", " 4th", " 5th", " 6th"}) kReset.push_back({label, "", "", "", "...."});
    for (const auto& [field, error] : stops) {
        SCOPED_TRACE(error);
        MainWindow w;
        w.msfResults.setCols(6);
        w.msfResults.addItem("x\tCARBINE\t40%\t7\tq\tz");  // what an earlier race left
        w.msfResults.setCellBackColour(1, 1, kBestBetColour);
        msfClear(w);
        setRunnerList(w, fieldOf(field));
        w.lstTips.addRow(" 1st", {" 9.  OLD", " 50%", "4"});
        w.stBar.setPanel(2, "before");
        w.tipBarriers = {0, 4, 0, 0, 0, 0};
        w.insufficientFormCount = 3;
        EXPECT_EQ(workoutPlaces(w).error, error);
        EXPECT_EQ(test::rowsOf(w.lstTips), (Rows{{" 1st", " 9.  OLD", " 50%", "4"}}));
        EXPECT_EQ(w.msfResults.cols(), 4);
        EXPECT_EQ(gridOf(w.msfResults, 0), kReset);
        EXPECT_EQ(w.stBar.panel(2) + std::to_string(w.tipBarriers[1]), "before4");
        EXPECT_EQ(w.insufficientFormCount, *field ? 0 : 3);
    }
}

}  // namespace
}  // namespace selvane
