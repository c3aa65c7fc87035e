#include "ui/ReviewWindow.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPen>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cmath>
#include <memory>
#include <utility>

#include "net/PageText.h"
#include "net/WorkFiles.h"
#include "ui/DataTable.h"
#include "ui/Text.h"

namespace selvane::ui {

namespace {

// Six lines need six colours that tell apart; the chart's own theme repeats after five.
constexpr QRgb kBetColours[kBetTypes] = {0x1f77b4, 0x2ca02c, 0xff7f0e, 0x9467bd, 0xd62728, 0x17becf};

constexpr const char* kBetNames[kBetTypes] = {"Win, 1st tip",  "Each way, best bet", "Quinella box",
                                              "Exacta box",    "Trifecta box",       "First four box"};

QString money(Cents cents) {
    return (cents < 0 ? QStringLiteral("-$") : QStringLiteral("$")) + QString::fromStdString(twoDecimals(cents < 0 ? -cents : cents));
}

QString numbers(const std::vector<int>& list, QChar between) {
    QStringList parts;
    for (int n : list) parts << QString::number(n);
    return parts.join(between);
}

}  // namespace

ReviewWindow::ReviewWindow(ReviewRequest base, QWidget* parent, ReviewRun runner)
    : QDialog(parent), base_(std::move(base)), run_(std::move(runner)) {
    setObjectName(QStringLiteral("frmReview"));
    setWindowTitle(QStringLiteral("Review"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(1040, 760);

    from_ = dayEdit(this, "fromDate");
    to_ = dayEdit(this, "toDate");
    const QDate yesterday = QDate::currentDate().addDays(-1);
    from_->setDate(yesterday.addDays(-6));
    to_->setDate(yesterday);
    track_ = new QLineEdit(this);
    track_->setObjectName(QStringLiteral("track"));
    track_->setPlaceholderText(QStringLiteral("every meeting"));
    stake_ = new QDoubleSpinBox(this);
    stake_->setObjectName(QStringLiteral("stake"));
    stake_->setPrefix(QStringLiteral("$"));
    stake_->setRange(0.1, 10000);
    stake_->setDecimals(2);
    stake_->setValue(1);
    offline_ = new QCheckBox(QStringLiteral("Record &only"), this);
    offline_->setObjectName(QStringLiteral("offline"));
    offline_->setToolTip(QStringLiteral("Settle from what the record holds and fetch nothing"));
    offline_->setEnabled(!base_.recordFile.empty());
    runButton_ = new QPushButton(QStringLiteral("&Run"), this);
    runButton_->setObjectName(QStringLiteral("runReview"));
    runButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelReview"));
    cancelButton_->setEnabled(false);

    auto* form = new QHBoxLayout;
    const auto labelled = [&](const char* text, QWidget* w, int stretch = 0) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setBuddy(w);
        form->addWidget(l);
        form->addWidget(w, stretch);
    };
    labelled("&From", from_);
    labelled("&To", to_);
    labelled("T&rack", track_, 1);
    labelled("&Stake", stake_);
    form->addWidget(offline_);
    form->addWidget(runButton_);
    form->addWidget(cancelButton_);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("reviewProgress"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("%v of %m races"));

    totals_ = readOnlyTable(this, "betTypes",
                    {QStringLiteral("Bet"), QStringLiteral("Bets"), QStringLiteral("Hits"), QStringLiteral("Strike %"),
                     QStringLiteral("Staked"), QStringLiteral("Returned"), QStringLiteral("Profit"), QStringLiteral("ROI %"),
                     QStringLiteral("Longest losing run"), QStringLiteral("Largest drawdown")});
    totals_->setRowCount(static_cast<int>(kBetTypes));
    for (std::size_t b = 0; b < kBetTypes; ++b) totals_->setItem(static_cast<int>(b), 0, readOnlyItem(QString::fromUtf8(kBetNames[b])));
    totals_->resizeColumnsToContents();
    totals_->horizontalHeader()->setStretchLastSection(true);
    totals_->setAccessibleName(QStringLiteral("Totals by bet type"));
    // As tall as its six rows: the chart and the races have the rest.
    totals_->setFixedHeight(totals_->horizontalHeader()->sizeHint().height() +
                            static_cast<int>(kBetTypes) * totals_->verticalHeader()->defaultSectionSize() + 2 * totals_->frameWidth());

    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Profit over the races"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart_ = new QChartView(chart, this);
    chart_->setObjectName(QStringLiteral("profitChart"));
    chart_->setRenderHint(QPainter::Antialiasing);

    QStringList raceHeadings{QStringLiteral("Date"), QStringLiteral("Meeting"), QStringLiteral("Race"),
                             QStringLiteral("Tips"), QStringLiteral("Best bet"), QStringLiteral("Result")};
    for (const char* name : kBetNames) raceHeadings << QString::fromUtf8(name).section(QLatin1Char(','), 0, 0).remove(QStringLiteral(" box"));
    races_ = readOnlyTable(this, "reviewRaces", raceHeadings);
    races_->horizontalHeader()->setStretchLastSection(true);
    races_->setToolTip(QStringLiteral("Each bet's profit in the race"));
    // In the review's order (date, meeting, race) until the punter sorts by a column.
    races_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    races_->setAccessibleName(QStringLiteral("Races reviewed"));

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(chart_);
    split->addWidget(races_);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    chart_->setMinimumHeight(260);
    split->setSizes({3, 2});

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("reviewStatus"));
    status_->setWordWrap(true);
    exportButton_ = new QPushButton(QStringLiteral("&Export CSV..."), this);
    exportButton_->setObjectName(QStringLiteral("exportCsv"));
    exportButton_->setEnabled(false);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(exportButton_);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(progress_);
    layout->addWidget(totals_);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);

    connect(runButton_, &QPushButton::clicked, this, [this] { run(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { cancel(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(exportButton_, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Export the races as CSV"),
                                                          QStringLiteral("review.csv"), QStringLiteral("CSV files (*.csv)"));
        if (file.isEmpty()) return;
        const QString failure = exportCsv(file);
        status_->setText(failure.isEmpty() ? QStringLiteral("Exported to ") + file : failure);
    });
}

ReviewWindow::~ReviewWindow() {
    // The review stops between pages; its last queued calls go with this window.
    worker_.request_stop();
    if (worker_.joinable()) worker_.join();
}

void ReviewWindow::start(const QDate& from, const QDate& to) {
    from_->setDate(from);
    to_->setDate(to);
    run();
}

void ReviewWindow::run() {
    if (running()) return;
    ReviewRequest request = base_;
    QDate from = from_->date(), to = to_->date();
    if (from > to) std::swap(from, to);
    if (from.daysTo(to) >= 366) {
        status_->setText(QStringLiteral("A review covers at most 366 days."));
        return;
    }
    request.from = from.toString(Qt::ISODate).toStdString();
    request.to = to.toString(Qt::ISODate).toStdString();
    request.track = toBytes(track_->text().trimmed());
    request.stake = static_cast<Cents>(std::llround(stake_->value() * 100));
    request.offline = offline_->isChecked();
    if (worker_.joinable()) worker_.join();  // the last review's thread, already at its end
    finished_ = false;
    setRunning(true);
    progress_->setRange(0, 0);  // busy until the first day's races are known
    status_->setText(QStringLiteral("Reviewing..."));
    worker_ = std::jthread([this, request](std::stop_token stop) {
        auto done = std::make_shared<ReviewResult>();
        QString failure;
        try {
            *done = run_(request,
                         [this](int d, int toDo) {
                             QMetaObject::invokeMethod(this, [this, d, toDo] { progress(d, toDo); }, Qt::QueuedConnection);
                         },
                         stop);
        } catch (const std::exception& e) {
            failure = QStringLiteral("The review could not run: ") + fromBytes(e.what());
        }
        QMetaObject::invokeMethod(this, [this, done, failure] { finish(std::move(*done), failure); }, Qt::QueuedConnection);
    });
}

void ReviewWindow::cancel() {
    if (!running()) return;
    worker_.request_stop();
    cancelButton_->setEnabled(false);
    status_->setText(QStringLiteral("Stopping after the pages in flight..."));
}

void ReviewWindow::progress(int done, int toDo) {
    if (finished_) return;
    progress_->setRange(0, std::max(toDo, 1));
    progress_->setValue(done);
}

void ReviewWindow::setRunning(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{from_, to_, track_, stake_, runButton_}) w->setEnabled(!on);
    offline_->setEnabled(!on && !base_.recordFile.empty());
    cancelButton_->setEnabled(on);
    exportButton_->setEnabled(!on && !result_.races.empty());
}

void ReviewWindow::finish(ReviewResult result, QString failure) {
    finished_ = true;
    if (std::exchange(closeWhenDone_, false)) {
        setRunning(false);
        close();
        return;
    }
    if (!failure.isEmpty()) {
        setRunning(false);
        progress_->setRange(0, 1);
        progress_->setValue(0);
        status_->setText(failure);
        return;
    }
    result_ = std::move(result);
    const int settled = result_.totals.races, total = static_cast<int>(result_.races.size());
    progress_->setRange(0, std::max(total, 1));
    progress_->setValue(total);
    setRunning(false);
    showTotals();
    showCurves();
    showRaces();
    QStringList said;
    said << QStringLiteral("%1 races settled, %2 void, %3 not yet official.")
                .arg(settled)
                .arg(result_.totals.voidRaces)
                .arg(result_.pendingRaces);
    if (result_.cancelled) said << QStringLiteral("Cancelled: the totals cover the races done; run it again to go on.");
    if (!result_.failures.empty())
        said << QStringLiteral("%1 pages could not be fetched (first: %2).")
                    .arg(result_.failures.size())
                    .arg(fromBytes(result_.failures.front()));
    for (const std::string& n : result_.recordNotices) said << fromBytes(n);
    if (!result_.recordFailure.empty()) said << QStringLiteral("not recorded: ") + fromBytes(result_.recordFailure);
    status_->setText(said.join(QLatin1Char(' ')));
}

void ReviewWindow::showTotals() {
    for (std::size_t b = 0; b < kBetTypes; ++b) {
        const BetTotals& t = result_.totals.byType[b];
        const int row = static_cast<int>(b);
        const QString cells[] = {QString::number(t.bets),
                                 QString::number(t.hits),
                                 QString::fromStdString(twoDecimals(t.strikeHundredths())),
                                 money(t.staked),
                                 money(t.returned),
                                 money(t.profit()),
                                 QString::fromStdString(twoDecimals(t.roiHundredths())),
                                 QString::number(t.longestLosingRun),
                                 money(t.maxDrawdown)};
        for (int c = 0; c < 9; ++c) totals_->setItem(row, c + 1, readOnlyItem(cells[c], true));
    }
    totals_->resizeColumnsToContents();
}

void ReviewWindow::showCurves() {
    QChart* chart = chart_->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    auto* racesAxis = new QValueAxis;
    racesAxis->setTitleText(QStringLiteral("Races, in date order"));
    racesAxis->setLabelFormat(QStringLiteral("%d"));
    auto* profitAxis = new QValueAxis;
    profitAxis->setTitleText(QStringLiteral("Profit ($)"));
    chart->addAxis(racesAxis, Qt::AlignBottom);
    chart->addAxis(profitAxis, Qt::AlignLeft);
    double low = 0, high = 0;
    for (std::size_t b = 0; b < kBetTypes; ++b) {
        const std::vector<Cents> profit = runningProfit(result_.races, kAllBetTypes[b]);
        auto* line = new QLineSeries;
        line->setName(QString::fromUtf8(kBetNames[b]));
        QPen pen(QColor::fromRgb(kBetColours[b]));
        pen.setWidthF(1.5);
        line->setPen(pen);
        line->append(0, 0);
        for (std::size_t i = 0; i < profit.size(); ++i) {
            const double dollars = static_cast<double>(profit[i]) / 100;
            line->append(static_cast<qreal>(i + 1), dollars);
            low = std::min(low, dollars);
            high = std::max(high, dollars);
        }
        const QString name = line->name();
        // The value under the pointer: which bet, after which race, what profit.
        connect(line, &QLineSeries::hovered, this, [this, name](const QPointF& at, bool over) {
            const int n = static_cast<int>(std::lround(at.x()));
            if (!over || n < 1 || n > static_cast<int>(result_.races.size())) return QToolTip::hideText();
            const ReviewedRace& r = result_.races[static_cast<std::size_t>(n - 1)];
            QToolTip::showText(QCursor::pos(), QStringLiteral("%1\nafter race %2 (%3 %4 R%5): %6")
                                                   .arg(name)
                                                   .arg(n)
                                                   .arg(QString::fromStdString(r.key.date), fromBytes(r.key.meeting))
                                                   .arg(r.key.race)
                                                   .arg(QStringLiteral("$%1").arg(at.y(), 0, 'f', 2)));
        });
        chart->addSeries(line);
        line->attachAxis(racesAxis);
        line->attachAxis(profitAxis);
    }
    racesAxis->setRange(0, std::max<qreal>(1, static_cast<qreal>(result_.races.size())));
    const double margin = std::max(1.0, (high - low) / 20);
    profitAxis->setRange(low - margin, high + margin);
    profitAxis->applyNiceNumbers();
}

void ReviewWindow::showRaces() {
    races_->setSortingEnabled(false);
    races_->setRowCount(static_cast<int>(result_.races.size()));
    for (std::size_t i = 0; i < result_.races.size(); ++i) {
        const ReviewedRace& r = result_.races[i];
        const int row = static_cast<int>(i);
        races_->setItem(row, 0, readOnlyItem(QString::fromStdString(r.key.date)));
        races_->setItem(row, 1, readOnlyItem(fromBytes(r.key.meeting)));
        auto* number = readOnlyItem({}, true);
        number->setData(Qt::DisplayRole, r.key.race);
        races_->setItem(row, 2, number);
        races_->setItem(row, 3, readOnlyItem(numbers(r.bets.tips, QLatin1Char(' '))));
        races_->setItem(row, 4, readOnlyItem(r.bets.bestBet ? QString::number(r.bets.bestBet) : QString()));
        races_->setItem(row, 5, readOnlyItem(r.settled.isVoid ? QStringLiteral("void") : numbers(resultOrder(r.result), QLatin1Char(','))));
        for (std::size_t b = 0; b < kBetTypes; ++b) {
            const BetResult& bet = r.settled.bets[b];
            QString cell;
            if (!r.settled.isVoid && bet.outcome != BetOutcome::NoBet) cell = money(bet.returned - bet.staked);
            races_->setItem(row, static_cast<int>(6 + b), readOnlyItem(cell, true));
        }
    }
    races_->setSortingEnabled(true);
    races_->resizeColumnsToContents();
}

QString ReviewWindow::exportCsv(const QString& file) const {
    const std::string csv = text::csvText(raceRecords(result_.races));
    const WriteOutcome written = writeWorkFile(file.toStdString(), {csv});
    return fromBytes(written.failure);
}

void ReviewWindow::closeEvent(QCloseEvent* event) {
    // Closed while it runs: the review stops; the window goes once its thread has ended.
    if (running()) {
        cancel();
        hide();
        event->ignore();
        closeWhenDone_ = true;
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace selvane::ui
