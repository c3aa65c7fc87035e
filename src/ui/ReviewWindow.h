#pragma once

#include <QDialog>

#include <functional>
#include <stop_token>
#include <thread>

#include "review/ReviewRunner.h"

class QCheckBox;
class QChartView;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace selvane::ui {

// How the window runs a review: runReview, or a test's stand-in for it. Called off the window's
// thread; progress likewise.
using ReviewRun = std::function<ReviewResult(const ReviewRequest&, const ReviewProgress&, std::stop_token)>;

// How the tips would have paid over a range of days: the range, the stake, the table of bet
// types, a profit curve per bet type and the races, with CSV export. The review runs on a thread
// of its own with a progress bar and Cancel, so every other window stays usable.
class ReviewWindow : public QDialog {
public:
    // base holds the services, limits, jobs and record file; the window sets the rest.
    explicit ReviewWindow(ReviewRequest base, QWidget* parent = nullptr, ReviewRun runner = runReview);
    ~ReviewWindow() override;

    // Starts a review of the range, as the Run button does.
    void start(const QDate& from, const QDate& to);
    bool running() const { return worker_.joinable() && !finished_; }
    // Writes the races as CSV, whole or not at all; the failure's text, or empty.
    QString exportCsv(const QString& file) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void run();
    void cancel();
    void progress(int done, int toDo);
    void finish(ReviewResult result, QString failure);
    void showTotals();
    void showCurves();
    void showRaces();
    void setRunning(bool on);

    ReviewRequest base_;
    ReviewRun run_;
    ReviewResult result_;
    std::jthread worker_;
    bool finished_ = true;
    bool closeWhenDone_ = false;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QLineEdit* track_ = nullptr;
    QDoubleSpinBox* stake_ = nullptr;
    QCheckBox* offline_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTableWidget* totals_ = nullptr;
    QChartView* chart_ = nullptr;
    QTableWidget* races_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace selvane::ui
