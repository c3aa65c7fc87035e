// The History window over a record file written through the store: the table of races, its sort,
// and one race's tips, price moves and result.
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QLabel>
#include <QLineSeries>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "record/Record.h"
#include "ui/HistoryWindow.h"

namespace selvane::ui {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows rowsOf(const QTableWidget* t) {
    Rows rows;
    for (int r = 0; r < t->rowCount(); ++r) {
        rows.emplace_back();
        for (int c = 0; c < t->columnCount(); ++c) rows.back().push_back(t->item(r, c) ? t->item(r, c)->text().toStdString() : "");
    }
    return rows;
}

// Three races of a day; the tenth at Scone seen whole, twice priced.
void writeRecord(const std::filesystem::path& file) {
    using namespace record;
    const std::string date = "2026-12-06";
    const RaceKey key{date, "SCONE", 10};
    const Fetch first{"2026-12-06T03:00:00Z", "http://form/scone10"}, second{"2026-12-06T03:30:00Z", "http://form/scone10"};
    Batch b;
    b.meetingDays.push_back({date, first,
                             {{"ALBURY", "malb", "", {{1, "12:40", "MAIDEN PLATE", "1000m"}}},
                              {"SCONE", "msco", "", {{2, "13:10", "CLASS 1", "1200m"}, {10, "17:45", "BENCHMARK 58", "1400m"}}}}});
    Field field{key, first, {}};
    const char* names[] = {"HORSE ONE", "HORSE TWO", "HORSE THREE", "HORSE FOUR"};
    for (int n = 1; n <= 4; ++n) field.runners.push_back({std::to_string(n), "12", names[n - 1], "J. Rider", "56.0", "1", false});
    b.fields.push_back(field);
    b.tipRuns.push_back({key, first.at, 1, {{1, "3", "HORSE THREE", 40, 3.5, ""}, {2, "1", "HORSE ONE", 20, 2.0, ""}}, "3", "", "", {}});
    const auto prices = [&](const Fetch& f, const char* three, const char* one) {
        PriceFetch p{key, f, {}};
        p.rows.push_back({"1", "Horse One", one, {}});
        p.rows.push_back({"3", "Horse Three", three, {}});
        return p;
    };
    b.prices.push_back(prices(first, "6.00", "2.50"));
    b.prices.push_back(prices(second, "4.80", "3.10"));
    b.results.push_back({key, second, "SC", "3,4,1", std::vector<int>{3, 4, 1}});
    ASSERT_EQ(Record(file).save(b).cause, "");
}

TEST(HistoryWindow, ShowsTheRecordedRacesSortedAndOneRacesTipsPricesAndResult) {
    QTemporaryDir dir;
    const std::filesystem::path file = dir.filePath(QStringLiteral("record.sqlite")).toStdString();
    writeRecord(file);
    std::vector<bool> turned;
    HistoryWindow window(RecordSwitch{file, true, [&](bool on) { turned.push_back(on); }});
    window.showRange(QDate(2026, 12, 6), QDate(2026, 12, 6));
    auto* races = window.findChild<QTableWidget*>(QStringLiteral("races"));
    ASSERT_NE(races, nullptr);
    EXPECT_EQ(rowsOf(races), (Rows{{"2026-12-06", "ALBURY", "1", "12:40", "MAIDEN PLATE", "", "", ""},
                                  {"2026-12-06", "SCONE", "2", "13:10", "CLASS 1", "", "", ""},
                                  {"2026-12-06", "SCONE", "10", "17:45", "BENCHMARK 58", "3", "3", "3,4,1"}}));
    // By race number, not by its text.
    races->sortItems(2, Qt::DescendingOrder);
    Rows sorted = rowsOf(races);
    EXPECT_EQ((std::vector<std::string>{sorted[0][2], sorted[1][2], sorted[2][2]}), (std::vector<std::string>{"10", "2", "1"}));

    races->setCurrentCell(0, 0);
    EXPECT_EQ(rowsOf(window.findChild<QTableWidget*>(QStringLiteral("tips"))),
              (Rows{{"1", "3", "HORSE THREE  (best bet)", "40%", "6.00", "4.80"},
                    {"2", "1", "HORSE ONE", "20%", "2.50", "3.10"}}));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("raceResult"))->text().toStdString(),
              "Result: 1st 3. HORSE THREE,  2nd 4. HORSE FOUR,  3rd 1. HORSE ONE");
    std::vector<std::pair<std::string, int>> lines;
    for (QAbstractSeries* s : window.findChild<QChartView*>(QStringLiteral("priceChart"))->chart()->series())
        lines.emplace_back(s->name().toStdString(), static_cast<int>(static_cast<QLineSeries*>(s)->count()));
    EXPECT_EQ(lines, (std::vector<std::pair<std::string, int>>{{"No. 3", 2}, {"No. 1", 2}}));

    // A race with no tips or prices recorded says so.
    races->setCurrentCell(2, 0);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("raceResult"))->text().toStdString(), "Result: not recorded.");
    EXPECT_EQ(window.findChild<QTableWidget*>(QStringLiteral("tips"))->rowCount(), 0);

    window.findChild<QCheckBox*>(QStringLiteral("recording"))->click();
    EXPECT_EQ(turned, std::vector<bool>{false});
}

}  // namespace
}  // namespace selvane::ui
