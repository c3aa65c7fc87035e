#include "form/TipWarning.h"

#include <gtest/gtest.h>

#include "form/RunnerFile.h"
#include "form/Tipping.h"

namespace selvane {
namespace {

TEST(TipWarning, ReportingRule) {
    struct Case {
        int runners, tips, noForm;
        TipWarning want;
    };
    const std::vector<Case> cases = {
        {8, 5, 3, TipWarning::InsufficientForm}, {8, 5, 2, TipWarning::InsufficientForm},
        {8, 5, 1, TipWarning::None},             {5, 5, 1, TipWarning::InsufficientForm},
        {5, 5, 0, TipWarning::None},             {9, 5, 2, TipWarning::None},
        {0, 5, 0, TipWarning::DataError},        {8, 0, 0, TipWarning::DataError},
        {0, 0, 0, TipWarning::DataError},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tipWarning(c.runners, c.tips, c.noForm), c.want) << c.runners << "/" << c.tips << "/" << c.noForm;
    EXPECT_EQ(warningTitle(TipWarning::DataError), "Race's Data Error");
    EXPECT_EQ(warningTitle(TipWarning::InsufficientForm), "Insufficient Form");
    EXPECT_EQ(warningTitle(TipWarning::None), "");
}

TEST(RunnerFile, Lines) {
    const std::vector<TipInput> field = parseRunnerFile("1\t3121\tALPHA\t4\t1\r\n2e\t\tBRAVO\t\t0\n3\t0x\tC  (5)\n\n7");
    ASSERT_EQ(field.size(), 5u);
    EXPECT_EQ(field[0].number, "1");
    EXPECT_EQ(field[0].form, "3121");
    EXPECT_EQ(field[0].name, "ALPHA");
    EXPECT_EQ(field[0].barrier, "4");
    EXPECT_TRUE(field[0].ticked);
    EXPECT_EQ(field[1].number, "2e");
    EXPECT_EQ(field[1].form, "");
    EXPECT_EQ(field[1].barrier, "");
    EXPECT_FALSE(field[1].ticked);
    EXPECT_EQ(field[2].name, "C  (5)");
    EXPECT_EQ(field[2].barrier, "");
    EXPECT_FALSE(field[2].ticked);
    EXPECT_EQ(field[3].number, "");
    EXPECT_EQ(field[4].number, "7");
    EXPECT_EQ(parseRunnerFile("").size(), 0u);
    EXPECT_EQ(parseRunnerFile("1\t1\tA\t1\n").size(), 1u);
}

TEST(RunnerFile, HoldsAtMostAHundredRunners) {
    std::string text;
    for (int i = 1; i <= 100; ++i) text += std::to_string(i) + "\t1\tA\t1\n";
    EXPECT_EQ(parseRunnerFile(text).size(), 100u);
    for (const std::string& more : {std::string("101\t1\tA\t1\n"), std::string("\n"), std::string("x")}) {
        try {
            parseRunnerFile(text + more);
            ADD_FAILURE() << "a 101st runner was taken: " << more;
        } catch (const RunnerFileTooLong& e) {
            EXPECT_EQ(std::string(e.what()), "more than 100 runners (the runner list holds 100)");
        }
    }
}

}  // namespace
}  // namespace selvane
