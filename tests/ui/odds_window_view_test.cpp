// The odds window on screen: its columns in twips, rows in runner order, the best price picked
// out, and both ways of closing unload the model.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "ModalClose.h"
#include "QtPrinters.h"
#include "odds/OddsWindow.h"
#include "ui/OddsWindowView.h"
#include "ui/Twips.h"

namespace selvane::ui {
namespace {

std::vector<OddsRow> twoRunners() {
    return {{"3", "Southern Legend", "4.20", {"4.20", "3.90", "n/a", "4.00", "1.60", "1.55", "n/a"}},
            {"1", "Scratched Lad", "scr", {"scr", "scr", "scr", "scr", "scr", "scr", "scr"}}};
}

// Pixels of the best-price background in a column of the list as painted.
int bestBackPixels(QTreeWidget* list, int column) {
    const QImage shot = list->viewport()->grab().toImage();
    const int left = list->header()->sectionViewportPosition(column);
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = left; x < left + list->columnWidth(column) && x < shot.width(); ++x)
            if (shot.pixelColor(x, y) == QColor(0xFF, 0xF4, 0xC0)) ++n;
    return n;
}

TEST(OddsWindowView, ColumnsRowsHeadingAndLayout) {
    OddsWindow model;
    ASSERT_TRUE(fillOddsWindow(model, twoRunners(), "FILLIES && MARES HCP", "7"));
    OddsWindowView view(model);
    const Twips t = Twips::forScreenOf(nullptr);

    EXPECT_EQ(view.windowTitle(), QStringLiteral("Live Odds"));
    EXPECT_EQ(view.heading()->text(), QStringLiteral("FILLIES & MARES HCP - #R.07"));
    EXPECT_EQ(view.heading()->font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(view.size(), QSize(t.x(12630), t.y(5340)));
    EXPECT_EQ(view.closeButton()->text(), QStringLiteral("Close"));
    EXPECT_EQ(view.closeButton()->geometry(), t.rect(5648, 40, 1335, 375));
    EXPECT_EQ(view.closeButton()->parentWidget()->geometry(), t.rect(0, 4845, 12630, 495));

    QTreeWidget* list = view.list();
    ASSERT_EQ(list->columnCount(), 10);
    const std::pair<const char*, int> columns[] = {
        {"#.", 700},       {"Name", 3500},    {"Best Odds", 1000}, {"AUS TOTE", 1000}, {"STAB Win", 1000},
        {"NSW Win", 1000}, {"QLD Win", 1000}, {"STAB PLC", 1000},  {"NSW PLC", 1000},  {"QLD PLC", 1000}};
    // Shown, the list lays its columns out: each at its width, the last in view to the edge.
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(list->headerItem()->text(c), QString::fromLatin1(columns[c].first));
        if (c < 9) EXPECT_EQ(list->columnWidth(c), t.x(columns[c].second)) << c;
    }
    EXPECT_EQ(list->header()->sectionViewportPosition(9) + list->columnWidth(9), list->viewport()->width());
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("3"));  // runner order, not sorted
    EXPECT_EQ(list->topLevelItem(0)->text(2), QStringLiteral("4.20"));
    EXPECT_EQ(list->topLevelItem(0)->text(5), QStringLiteral("n/a"));
    EXPECT_EQ(list->topLevelItem(1)->text(1), QStringLiteral("Scratched Lad"));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_GT(bestBackPixels(list, 2), 0);
    EXPECT_EQ(bestBackPixels(list, 3), 0);
}

TEST(OddsWindowClose, CloseButtonTitleBarAndTheModalPort) {
    for (test::CloseBy by : {test::CloseBy::CloseButton, test::CloseBy::TitleBar}) {
        OddsWindow model;
        ASSERT_TRUE(fillOddsWindow(model, twoRunners(), "ASHFORD", "12"));
        int rowsWhileUp = -1;
        test::showThenClose(model, "frmLiveOdds", by, [&](QDialog& dialog) {
            rowsWhileUp = dialog.findChild<QTreeWidget*>(QStringLiteral("lstOddsSort"))->topLevelItemCount();
        });
        EXPECT_EQ(rowsWhileUp, 2);
        EXPECT_FALSE(model.loaded());
        EXPECT_EQ(model.lstOddsSort.count(), 0);
    }
}

}  // namespace
}  // namespace selvane::ui
