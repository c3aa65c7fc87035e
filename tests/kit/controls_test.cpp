#include "kit/Controls.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace selvane {
namespace {

TEST(ComboBox, SelectingFromCodeRunsTheClickHandlerBeforeReturning) {
    ComboBox box;
    box.addItem("01/03/2024");
    box.addItem("02/03/2024");
    std::string seenText;
    int seenIndex = -2;
    box.onClick = [&] {
        seenText = box.text();
        seenIndex = box.selectedIndex();
    };
    box.setSelectedIndex(1);
    EXPECT_EQ(seenText, "02/03/2024");
    EXPECT_EQ(seenIndex, 1);
}

TEST(ComboBox, HandlerThatRefillsAnotherBoxRunsNested) {
    // The download command selects a date, whose handler fills and selects the track box.
    ComboBox dates, tracks;
    dates.addItem("d");
    std::vector<std::string> order;
    tracks.onClick = [&] { order.push_back("track " + tracks.text()); };
    dates.onClick = [&] {
        order.push_back("date");
        tracks.clear();
        tracks.addItem("Flemington");
        tracks.setSelectedIndex(0);
    };
    dates.setSelectedIndex(0);
    order.push_back("after");
    EXPECT_EQ(order, (std::vector<std::string>{"date", "track Flemington", "after"}));
}

TEST(ComboBox, OutOfRangeThrowsAndLeavesTheSelection) {
    ComboBox box;
    box.addItem("a");
    box.setSelectedIndex(0);
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    EXPECT_THROW(box.setSelectedIndex(1), std::out_of_range);  // an empty box's first entry too
    EXPECT_EQ(box.selectedIndex(), 0);
    EXPECT_EQ(box.text(), "a");
    EXPECT_EQ(clicks, 0);
}

TEST(ComboBox, ClearEmptiesEntriesSelectionAndText) {
    ComboBox box;
    box.addItem("a");
    box.setSelectedIndex(0);
    box.clear();
    EXPECT_EQ(box.count(), 0);
    EXPECT_EQ(box.selectedIndex(), -1);
    EXPECT_EQ(box.text(), "");
}

TEST(ReportList, ClearDropsRowsAndSelectionButKeepsColumns) {
    ReportList list;
    list.setColumns({{"Tip", 500}, {"Horse Name", 2500}});
    list.addRow(" 1st", {"PHAR LAP"});
    list.addRow(" 2nd", {"CARBINE"});
    list.setSelectedIndex(1);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.selectedIndex(), -1);
    ASSERT_EQ(list.columns().size(), 2u);
    EXPECT_EQ(list.columns()[1].title, "Horse Name");
}

TEST(ReportList, SubItemsAreOneBasedAndMissingOnesAreEmpty) {
    ReportList list;
    list.addRow("vic", {"3", "1:40PM"});
    EXPECT_EQ(list.subItem(0, 1), "3");
    EXPECT_EQ(list.subItem(0, 2), "1:40PM");
    EXPECT_EQ(list.subItem(0, 3), "");
    EXPECT_EQ(list.subItem(0, 0), "");
    EXPECT_THROW(list.subItem(1, 1), std::out_of_range);
}

TEST(ReportList, NewRowsStartUncheckedInTheDefaultColour) {
    ReportList list;
    list.setCheckBoxes(true);
    list.addRow("1", {"5x1"});
    list.setChecked(0, true);
    list.setForeColour(0, 0xC00000);
    list.addRow("2", {"321"});
    EXPECT_EQ(list.row(0).checked, true);
    EXPECT_EQ(list.row(0).foreColour, 0xC00000u);
    EXPECT_EQ(list.row(1).checked, false);
    EXPECT_EQ(list.row(1).foreColour, kDefaultColour);
}

TEST(Grid, SettingTheRowCountDropsLaterRowsAndAddsEmptyOnes) {
    Grid g;
    g.setCols(3);
    g.addItem(" 1st\tA\tB");
    g.addItem(" 2nd\tC");
    g.setCellBackColour(2, 1, 0xFF);
    ASSERT_EQ(g.rowCount(), 3);
    g.setRowCount(2);
    EXPECT_EQ(g.rowCount(), 2);
    EXPECT_EQ(g.cell(1, 1), "A");
    EXPECT_THROW(g.cell(2, 0), std::out_of_range);
    g.setRowCount(3);  // the dropped row comes back empty, colour gone
    EXPECT_EQ(g.cell(2, 0), "");
    EXPECT_EQ(g.cellBackColour(2, 1), kDefaultColour);
}

TEST(Grid, AddItemSplitsAtTabsAndIgnoresCellsBeyondTheColumns) {
    Grid g;
    g.setCols(2);
    g.addItem("a\tb\tc");
    g.addItem("");
    EXPECT_EQ(g.cell(1, 0), "a");
    EXPECT_EQ(g.cell(1, 1), "b");
    EXPECT_EQ(g.cell(2, 0), "");
    EXPECT_EQ(g.cell(2, 1), "");
}

TEST(Control, ObserverHearsEveryChangeButNotARepeatOfTheSameState) {
    Label label;
    int calls = 0;
    label.setObserver([&] { ++calls; });
    label.setEnabled(false);
    label.setEnabled(false);
    label.setVisible(false);
    label.setCaption("Time: ");
    EXPECT_EQ(calls, 3);
}

TEST(Timer, FiresOnlyWhileEnabled) {
    Timer t;
    int ticks = 0;
    t.onTimer = [&] { ++ticks; };
    t.fire();
    t.setEnabled(false);
    t.fire();
    t.setEnabled(true);
    t.fire();
    EXPECT_EQ(ticks, 2);
}

}  // namespace
}  // namespace selvane
