// The Review window against the stand-in: a day reviewed in the background fills the table of bet
// types, the curves and the races, exports them as CSV, and Cancel stops a long review.
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QEventLoop>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "standin/Server.h"
#include "ui/ReviewWindow.h"

namespace selvane::ui {
namespace {

using Cells = std::vector<std::string>;

Cells rowOf(const QTableWidget* t, int row) {
    Cells cells;
    for (int c = 0; c < t->columnCount(); ++c) cells.push_back(t->item(row, c) ? t->item(row, c)->text().toStdString() : "");
    return cells;
}

// Lets the window's events run until the review is over, for at most a minute.
bool waitForEnd(const ReviewWindow& window) {
    QElapsedTimer clock;
    clock.start();
    while (window.running() && clock.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::processEvents();
    return !window.running();
}

standin::Options clockAt(const char* now, standin::Fault fault = standin::Fault::None) {
    standin::Options o;
    o.now = now;
    o.fault = fault;
    o.slowMs = 300;
    return o;
}

ReviewRequest against(const standin::Server& web, const std::filesystem::path& record) {
    ReviewRequest base;
    base.services = {web.formGuideUrl(), web.resultsSiteRoot(), web.makerSiteUrl()};
    base.recordFile = record;
    return base;
}

TEST(ReviewWindow, ReviewsADayInTheBackgroundAndExportsItsRaces) {
    standin::Server web{clockAt("2026-12-06T14:00")};
    web.start();
    QTemporaryDir dir;
    ReviewWindow window(against(web, dir.filePath(QStringLiteral("record.sqlite")).toStdString()));
    window.findChild<QLineEdit*>(QStringLiteral("track"))->setText(QStringLiteral("cranbourne"));
    window.start(QDate(2026, 12, 5), QDate(2026, 12, 5));
    EXPECT_TRUE(window.running());
    ASSERT_TRUE(waitForEnd(window));
    // The same day as the CLI's review settles it, worked by hand there.
    EXPECT_EQ(rowOf(window.findChild<QTableWidget*>(QStringLiteral("betTypes")), 2),
              (Cells{"Quinella box", "5", "2", "40.00", "$5.00", "$4.07", "-$0.93", "-18.60", "1", "$2.73"}));
    const auto* races = window.findChild<QTableWidget*>(QStringLiteral("reviewRaces"));
    ASSERT_EQ(races->rowCount(), 6);
    EXPECT_EQ(rowOf(races, 3), (Cells{"2026-12-05", "CRANBOURNE", "4", "3 2 1 4 6", "3", "3,6,2,1", "$0.20", "$0.24",
                                      "-$0.73", "-$0.82", "-$0.77", "-$0.65"}));
    EXPECT_EQ(rowOf(races, 5)[5], "void");
    EXPECT_EQ(window.findChild<QChartView*>(QStringLiteral("profitChart"))->chart()->series().size(), 6);

    const QString csv = dir.filePath(QStringLiteral("review.csv"));
    ASSERT_EQ(window.exportCsv(csv).toStdString(), "");
    std::ifstream in(csv.toStdString());
    std::stringstream text;
    text << in.rdbuf();
    const std::string lines = text.str();
    EXPECT_EQ(lines.substr(0, lines.find("\r\n")),
              "date,track,race,tips,bestBet,result,void,winStaked,winReturned,eachWayStaked,eachWayReturned,"
              "quinellaStaked,quinellaReturned,exactaStaked,exactaReturned,trifectaStaked,trifectaReturned,"
              "firstFourStaked,firstFourReturned");
    EXPECT_NE(lines.find("\r\n2026-12-05,CRANBOURNE,4,3 2 1 4 6,3,3 6 2 1,,1.00,1.20,2.00,2.24,1.00,0.27,1.00,0.18,1.00,0.23,"
                         "1.00,0.35\r\n"),
              std::string::npos)
        << lines;
    // A file that cannot be written is said, and nothing is left half written.
    EXPECT_EQ(window.exportCsv(dir.filePath(QStringLiteral("none/review.csv"))).toStdString(),
              "cannot write review.csv: No such file or directory");
}

TEST(ReviewWindow, CancelStopsALongReview) {
    standin::Server web{clockAt("2026-12-06T14:00", standin::Fault::Slow)};
    web.start();
    QTemporaryDir dir;
    ReviewWindow window(against(web, dir.filePath(QStringLiteral("record.sqlite")).toStdString()));
    window.start(QDate(2026, 11, 1), QDate(2026, 11, 28));
    ASSERT_TRUE(window.running());
    window.findChild<QPushButton*>(QStringLiteral("cancelReview"))->click();
    ASSERT_TRUE(waitForEnd(window));
    const std::string status = window.findChild<QLabel*>(QStringLiteral("reviewStatus"))->text().toStdString();
    EXPECT_NE(status.find("Cancelled"), std::string::npos) << status;
    EXPECT_TRUE(window.findChild<QPushButton*>(QStringLiteral("runReview"))->isEnabled());
}

}  // namespace
}  // namespace selvane::ui
