#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "odds/OddsWindow.h"

namespace selvane {
namespace {

OddsRow row(const std::string& number, const std::string& name, const std::string& best) {
    return {number, name, best, {"2.00", "2.10", "n/a", "scr", "1.10", "1.20", "1.30"}};
}

std::vector<std::string> titles(const ReportList& list) {
    std::vector<std::string> out;
    for (const ReportColumn& c : list.columns()) out.push_back(c.title + " " + std::to_string(c.widthTwips));
    return out;
}

const std::vector<std::string> kColumns = {"#. 700",        "Name 3500",    "Best Odds 1000", "AUS TOTE 1000",
                                           "STAB Win 1000", "NSW Win 1000", "QLD Win 1000",   "STAB PLC 1000",
                                           "NSW PLC 1000",  "QLD PLC 1000"};

TEST(OddsWindow, FillsRowsInOrderUnderTenColumns) {
    OddsWindow w;
    EXPECT_FALSE(w.loaded());
    ASSERT_TRUE(fillOddsWindow(w, {row("1", "Red Star", "3.70"), row("2", "Blue", "scr")}, "DEVONPORT ", "5"));
    EXPECT_EQ(titles(w.lstOddsSort), kColumns);
    EXPECT_TRUE(w.lstOddsSort.style().reportView);
    EXPECT_TRUE(w.lstOddsSort.style().singleBorder);
    ASSERT_EQ(w.lstOddsSort.count(), 2);
    EXPECT_EQ(w.lstOddsSort.row(0).text, "1");
    EXPECT_EQ(w.lstOddsSort.row(0).subItems,
              (std::vector<std::string>{"Red Star", "3.70", "2.00", "2.10", "n/a", "scr", "1.10", "1.20", "1.30"}));
    EXPECT_EQ(w.lstOddsSort.row(1).text, "2");
    EXPECT_EQ(w.lblMeetingName.caption(), "DEVONPORT - #R.05");
}

TEST(OddsWindow, Heading) {
    struct Case {
        std::string track, race, heading;
    };
    const std::vector<Case> cases = {
        {"NORTH PARK ", "7", "NORTH PARK - #R.07"},
        {"NORTH PARK ", "12", "NORTH PARK - #R.12"},
        {"  A && B  ", "10", "A && B - #R.10"},  // the label's doubled "&" stays
        {"X", "9", "X - #R.09"},
    };
    for (const Case& c : cases) EXPECT_EQ(oddsHeading(c.track, c.race), c.heading) << c.race;
}

TEST(OddsWindow, EachFillStartsFromAnEmptyWindow) {
    OddsWindow w;
    fillOddsWindow(w, {row("1", "A", "2.00"), row("2", "B", "3.00")}, "FIRST ", "1");
    ASSERT_TRUE(fillOddsWindow(w, {row("9", "C", "4.00")}, "SECOND ", "2"));
    EXPECT_EQ(titles(w.lstOddsSort), kColumns);
    ASSERT_EQ(w.lstOddsSort.count(), 1);
    EXPECT_EQ(w.lstOddsSort.row(0).text, "9");
    EXPECT_EQ(w.lblMeetingName.caption(), "SECOND - #R.02");
    // An earlier race's rows and heading are never shown when this one has none.
    EXPECT_FALSE(fillOddsWindow(w, {}, "THIRD ", "3"));
    EXPECT_FALSE(w.loaded());
    EXPECT_EQ(w.lstOddsSort.count(), 0);
    EXPECT_EQ(w.lblMeetingName.caption(), "");
}

TEST(OddsWindow, CloseUnloads) {
    OddsWindow w;
    int unloads = 0;
    w.onUnload = [&] { ++unloads; };
    fillOddsWindow(w, {row("1", "A", "2.00")}, "T", "1");
    w.cmdClose.click();
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(w.loaded());
    EXPECT_EQ(w.lstOddsSort.count(), 0);
}

}  // namespace
}  // namespace selvane
