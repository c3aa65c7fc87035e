#include <gtest/gtest.h>

#include "form/Tipping.h"
#include "kit/MainWindow.h"

namespace selvane {
namespace {

struct ExplainCase {
    TipInput runner;
    const char* line;
    TipReason reason;
    std::string digits;
    float mean;
};

// Runners beside the worked field's ALPHA (3121, barrier 4 → 5.75); the worst score is 1000 when
// some runner has no form, else the best of the scored ones.
TEST(TipExplain, EachRunnersWorkingIsTheEnginesOwn) {
    const std::vector<ExplainCase> cases = {
        {{"2", "3015", "B", "2"}, "form 3 1 5 \u2192 mean 3.00 + barrier 2 = 5.00", TipReason::None, "315", 3.0f},
        {{"3", "x6", "C", ""}, "form 6 \u2192 mean 6.00 + barrier 0 = 6.00", TipReason::None, "6", 6.0f},
        {{"4", "000", "D", "3"}, "zeros only \u2192 the field's worst score 5.75", TipReason::ZerosOnly, "", 0.0f},
        {{"5", "", "E", "1"}, "no form \u2192 1000.00", TipReason::NoForm, "", 0.0f},
        {{"6", "11", "F", "1", true}, "ticked \u2192 1000.00", TipReason::Ticked, "", 0.0f},
        {{"7e", "22", "G", "1"}, "form 2 2 \u2192 mean 2.00 + barrier 1 = 3.00, emergency \u2192 rank 10000.00",
         TipReason::Emergency, "22", 2.0f},
    };
    for (const ExplainCase& c : cases) {
        SCOPED_TRACE(c.runner.number);
        const TipOutcome o = computeTips({{"1", "3121", "A", "4"}, c.runner});
        ASSERT_TRUE(o.ranked);
        EXPECT_EQ(explainLine(o, 1), c.line);
        EXPECT_EQ(o.reason[1], c.reason);
        EXPECT_EQ(o.formDigits[1], c.digits);
        EXPECT_EQ(o.formMean[1], c.mean);
        EXPECT_EQ(explainLine(o, 0), "form 3 1 2 1 \u2192 mean 1.75 + barrier 4 = 5.75");
    }
}

TEST(TipExplain, AFormTooLongLeavesNoWorking) {
    const TipOutcome o = computeTips({{"1", "3121", "A", "4"}, {"2", "123456", "B", "1"}});
    EXPECT_FALSE(o.ranked);
    EXPECT_EQ(explainLine(o, 0), "");
}

TEST(TipExplain, StartersLeaveOutEmergenciesAndTickedRunners) {
    const TipOutcome o = computeTips({{"1", "1", "A", "1"}, {"2e", "1", "B", "1"}, {"3", "1", "C", "1", true},
                                      {"4", "", "D", "1"}, {"5E", "", "E", "1", true}});
    EXPECT_EQ(o.starters, 2);
}

TEST(TipExplain, RunnerAndTipRowsCarryTheWorkingAsTooltips) {
    MainWindow w;
    const std::vector<TipInput> field = {{"1", "3121", "ALPHA", "4"}, {"2", "0x00", "BRAVO", "1"},
                                         {"3", "1111", "CHARLIE", "2"}, {"4", "3331", "DELTA", "5"},
                                         {"5e", "11", "ECHO", "3"},    {"6", "21", "FOXTROT", "6"},
                                         {"7", "6", "GOLF", "9"}};
    for (const TipInput& r : field) w.lstRaces.addRow(r.number, {r.form, r.name, "J", "56", r.barrier});
    ASSERT_TRUE(workoutPlaces(w).published());
    EXPECT_EQ(w.lstRaces.row(1).tooltip, "zeros only \u2192 the field's worst score 15.00");
    EXPECT_EQ(w.lstRaces.row(3).tooltip, "form 3 3 3 1 \u2192 mean 2.50 + barrier 5 = 7.50");
    // Tips run best first: CHARLIE, ALPHA, FOXTROT, DELTA, GOLF.
    EXPECT_EQ(w.lstTips.row(0).tooltip, "form 1 1 1 1 \u2192 mean 1.00 + barrier 2 = 3.00");
    EXPECT_EQ(w.lstTips.row(2).tooltip, "form 2 1 \u2192 mean 1.50 + barrier 6 = 7.50");
    EXPECT_EQ(w.lstTips.row(4).tooltip, "form 6 \u2192 mean 6.00 + barrier 9 = 15.00");
    // Seven runners, one an emergency: six starters pay two places.
    EXPECT_EQ(w.stBar.panelTooltip(2),
              "Boxed at a unit of 1: Quinella 10 combinations $10, Exacta 20 combinations $20, Trifecta 60 "
              "combinations $60, First four 120 combinations $120. Each way with 6 starters: 2 places");
}

}  // namespace
}  // namespace selvane
