#pragma once

#include <QDate>
#include <QDialog>

#include <filesystem>
#include <functional>
#include <vector>

#include "record/RecordValues.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableWidget;

class QChartView;

namespace selvane::ui {

// Whether the program records what its main window shows, and the switch to change it.
struct RecordSwitch {
    std::filesystem::path file;
    bool on = true;
    std::function<void(bool)> turn;
};

// The record read back: the races of a date range in a sortable table and, for the race chosen in
// it, its tips, the first and last best price of each tipped runner with a chart of the best
// prices over the fetches, and its result. Reads the record; writes nothing.
class HistoryWindow : public QDialog {
public:
    explicit HistoryWindow(RecordSwitch record, QWidget* parent = nullptr);

    // Reads the races of the range, both ends included, and shows the first.
    void showRange(const QDate& from, const QDate& to);

private:
    void readRange();
    void showRace(int row);

    RecordSwitch record_;
    std::vector<record::RaceSummary> races_;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QLineEdit* track_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* heading_ = nullptr;
    QTableWidget* tips_ = nullptr;
    QChartView* chart_ = nullptr;
    QLabel* result_ = nullptr;
    QLabel* status_ = nullptr;
    QCheckBox* recording_ = nullptr;
};

}  // namespace selvane::ui
