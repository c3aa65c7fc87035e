#include "form/TipGrid.h"

#include <gtest/gtest.h>

#include "kit/MainWindow.h"

namespace selvane {
namespace {

TEST(OrdinalSuffix, TeensTakeThAndTheLastDigitDecidesTheRest) {
    const std::pair<std::int16_t, const char*> cases[] = {
        {1, "st"}, {2, "nd"}, {3, "rd"}, {4, "th"}, {11, "th"}, {12, "th"}, {13, "th"}, {21, "st"},
        {22, "nd"}, {23, "rd"}, {111, "th"}, {112, "th"}, {113, "th"}, {0, "th"},
    };
    for (const auto& [n, suffix] : cases) EXPECT_EQ(ordinalSuffix(n), suffix) << n;
}

TEST(LabelNumber, LeadingBlankStandsForThePlusSign) {
    EXPECT_EQ(labelNumber(1), " 1");
    EXPECT_EQ(labelNumber(0), " 0");
    EXPECT_EQ(labelNumber(-3), "-3");
}

TEST(MsfClear, HeaderAndSixLabelledEmptyRowsAfterAnyEarlierContent) {
    MainWindow w;
    w.msfResults.setCols(6);
    for (int r = 0; r < 9; ++r) w.msfResults.addItem("x\tCARBINE\t40%\t7\tq\tz");
    w.msfResults.setCellBackColour(1, 1, 0xC0C000);

    msfClear(w);
    const Grid& g = w.msfResults;
    ASSERT_EQ(g.cols(), 4);
    ASSERT_EQ(g.rowCount(), 7);
    const char* header[] = {" Tip", " Horse Name", " Win", " Barrier"};
    const int widths[] = {500, 2800, 800, 0};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(g.cell(0, c), header[c]);
        EXPECT_EQ(g.colWidth(c), widths[c]);
    }
    const char* labels[] = {" 1st", " 2nd", " 3rd", " 4th", " 5th", " 6th"};
    for (int r = 1; r <= 6; ++r) {
        EXPECT_EQ(g.cell(r, 0), labels[r - 1]);
        for (int c = 1; c < 4; ++c) EXPECT_EQ(g.cell(r, c), "") << r << "," << c;
    }
    EXPECT_EQ(g.cellBackColour(1, 1), kDefaultColour);
}

}  // namespace
}  // namespace selvane
