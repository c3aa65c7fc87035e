#include "ui/HistoryWindow.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDateEdit>
#include <QDateTimeAxis>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <optional>

#include "net/PageText.h"
#include "record/Record.h"
#include "ui/DataTable.h"
#include "ui/Text.h"

namespace selvane::ui {

namespace {

QString trimmedText(const std::string& bytes) { return fromBytes(std::string(text::trimSpaces(bytes))); }

QString placingsText(const std::vector<int>& placings) {
    QStringList parts;
    for (int p : placings) parts << QString::number(p);
    return parts.join(QLatin1Char(','));
}

// The Result column: the placings once official, the results site's state until then.
QString resultText(const record::RaceSummary& r) { return r.placings ? placingsText(*r.placings) : fromBytes(r.state); }

std::optional<double> priceOf(const std::string& best) {
    const std::string t(text::trimSpaces(best));
    double value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || end != t.data() + t.size() || value <= 0) return std::nullopt;
    return value;
}

// A runner's best price in one fetch: the price, "scr", or empty when it had none.
QString bestIn(const record::PriceFetch& fetch, const std::string& number) {
    for (const record::PriceRow& r : fetch.rows)
        if (text::trimSpaces(r.number) == text::trimSpaces(number)) return trimmedText(r.best);
    return {};
}

// Sorts by its number, not its text: race 10 after race 9.
QTableWidgetItem* numberItem(int n) {
    auto* i = readOnlyItem({});
    i->setData(Qt::DisplayRole, n);
    return i;
}

// One race chosen at a time; the last column takes the rest of the width.
QTableWidget* table(QWidget* parent, const char* name, const QStringList& headings) {
    auto* t = readOnlyTable(parent, name, headings);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

QString ordinal(int place) {
    static const char* const kOrdinals[] = {"1st", "2nd", "3rd", "4th"};
    return place >= 1 && place <= 4 ? QString::fromLatin1(kOrdinals[place - 1]) : QString::number(place) + QStringLiteral("th");
}

}  // namespace

HistoryWindow::HistoryWindow(RecordSwitch record, QWidget* parent) : QDialog(parent), record_(std::move(record)) {
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("History"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(980, 720);

    auto* range = new QHBoxLayout;
    from_ = dayEdit(this, "fromDate");
    to_ = dayEdit(this, "toDate");
    track_ = new QLineEdit(this);
    track_->setObjectName(QStringLiteral("track"));
    track_->setPlaceholderText(QStringLiteral("every meeting"));
    auto* show = new QPushButton(QStringLiteral("&Show"), this);
    show->setObjectName(QStringLiteral("showRaces"));
    show->setDefault(true);
    auto* fromLabel = new QLabel(QStringLiteral("&From"), this);
    fromLabel->setBuddy(from_);
    auto* toLabel = new QLabel(QStringLiteral("&To"), this);
    toLabel->setBuddy(to_);
    auto* trackLabel = new QLabel(QStringLiteral("T&rack"), this);
    trackLabel->setBuddy(track_);
    range->addWidget(fromLabel);
    range->addWidget(from_);
    range->addWidget(toLabel);
    range->addWidget(to_);
    range->addWidget(trackLabel);
    range->addWidget(track_, 1);
    range->addWidget(show);

    table_ = table(this, "races", {QStringLiteral("Date"), QStringLiteral("Meeting"), QStringLiteral("Race"),
                                   QStringLiteral("Time"), QStringLiteral("Race name"), QStringLiteral("Tipped 1st"),
                                   QStringLiteral("Best bet"), QStringLiteral("Result")});
    // In the record's order (date, meeting, race) until the punter sorts by a column.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    table_->setAccessibleName(QStringLiteral("Recorded races"));

    auto* detail = new QWidget(this);
    auto* detailLayout = new QVBoxLayout(detail);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    heading_ = new QLabel(detail);
    heading_->setObjectName(QStringLiteral("raceHeading"));
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    tips_ = table(detail, "tips", {QStringLiteral("Tip"), QStringLiteral("No."), QStringLiteral("Horse"),
                                   QStringLiteral("Win %"), QStringLiteral("First best"), QStringLiteral("Last best")});
    tips_->setAccessibleName(QStringLiteral("Tips and price moves"));
    tips_->horizontalHeader()->setStretchLastSection(false);
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Best prices over the fetches"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart_ = new QChartView(chart, detail);
    chart_->setObjectName(QStringLiteral("priceChart"));
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setMinimumWidth(360);
    auto* sideBySide = new QHBoxLayout;
    sideBySide->addWidget(tips_, 1);
    sideBySide->addWidget(chart_, 1);
    result_ = new QLabel(detail);
    result_->setObjectName(QStringLiteral("raceResult"));
    result_->setWordWrap(true);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    detailLayout->addWidget(heading_);
    detailLayout->addLayout(sideBySide, 1);
    detailLayout->addWidget(result_);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(table_);
    split->addWidget(detail);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("historyStatus"));
    recording_ = new QCheckBox(QStringLiteral("R&ecord what the main window shows"), this);
    recording_->setObjectName(QStringLiteral("recording"));
    recording_->setChecked(record_.on);
    recording_->setToolTip(fromBytes(record_.file.string()));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(recording_);
    bottom->addWidget(status_, 1);
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);

    connect(show, &QPushButton::clicked, this, [this] { readRange(); });
    connect(track_, &QLineEdit::returnPressed, this, [this] { readRange(); });
    connect(table_, &QTableWidget::currentCellChanged, this, [this](int row) { showRace(row); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(recording_, &QCheckBox::toggled, this, [this](bool on) {
        record_.on = on;
        if (record_.turn) record_.turn(on);
    });
    const QDate today = QDate::currentDate();
    from_->setDate(today.addDays(-6));
    to_->setDate(today);
}

void HistoryWindow::showRange(const QDate& from, const QDate& to) {
    from_->setDate(from);
    to_->setDate(to);
    readRange();
}

void HistoryWindow::readRange() {
    record::RaceQuery q;
    q.from = from_->date().toString(Qt::ISODate).toStdString();
    q.to = to_->date().toString(Qt::ISODate).toStdString();
    q.track = toBytes(track_->text().trimmed());
    if (q.from > q.to) std::swap(q.from, q.to);
    races_.clear();
    try {
        record::Record store(record_.file);
        races_ = store.races(q);
        status_->setText(races_.empty() ? QStringLiteral("No races recorded in these days.")
                                        : QStringLiteral("%1 races recorded.").arg(races_.size()));
    } catch (const record::RecordError& e) {
        status_->setText(QStringLiteral("The record cannot be read: ") + fromBytes(e.what()));
    }
    table_->setSortingEnabled(false);
    table_->clearContents();
    table_->setRowCount(static_cast<int>(races_.size()));
    for (std::size_t i = 0; i < races_.size(); ++i) {
        const record::RaceSummary& r = races_[i];
        const int row = static_cast<int>(i);
        auto* date = readOnlyItem(QString::fromStdString(r.key.date));
        date->setData(Qt::UserRole, row);
        table_->setItem(row, 0, date);
        table_->setItem(row, 1, readOnlyItem(trimmedText(r.key.meeting)));
        table_->setItem(row, 2, numberItem(r.key.race));
        table_->setItem(row, 3, readOnlyItem(trimmedText(r.time)));
        table_->setItem(row, 4, readOnlyItem(trimmedText(r.track)));
        table_->setItem(row, 5, readOnlyItem(r.tips.empty() ? QString() : fromBytes(r.tips.front())));
        table_->setItem(row, 6, readOnlyItem(fromBytes(r.bestBet)));
        table_->setItem(row, 7, readOnlyItem(resultText(r)));
    }
    table_->setSortingEnabled(true);
    table_->resizeColumnsToContents();
    if (races_.empty()) {
        showRace(-1);
    } else {
        table_->setCurrentCell(0, 0);
        showRace(0);
    }
}

void HistoryWindow::showRace(int row) {
    tips_->setRowCount(0);
    QChart* chart = chart_->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    const QTableWidgetItem* key = row >= 0 ? table_->item(row, 0) : nullptr;
    if (!key) {
        heading_->clear();
        result_->clear();
        return;
    }
    record::RaceDetail d;
    try {
        record::Record store(record_.file);
        d = store.detail(races_.at(static_cast<std::size_t>(key->data(Qt::UserRole).toInt())));
    } catch (const record::RecordError& e) {
        status_->setText(QStringLiteral("The record cannot be read: ") + fromBytes(e.what()));
        return;
    }
    const record::RaceSummary& r = d.summary;
    heading_->setText(QStringLiteral("%1  %2  Race %3  %4  %5  %6")
                          .arg(QString::fromStdString(r.key.date), trimmedText(r.key.meeting))
                          .arg(r.key.race)
                          .arg(trimmedText(r.time), trimmedText(r.track), trimmedText(r.length)));

    // The last tipping of the race, as history's table shows its first tip.
    const record::TipRun* run = d.tipRuns.empty() ? nullptr : &d.tipRuns.back();
    if (run) {
        tips_->setRowCount(static_cast<int>(run->tips.size()));
        for (std::size_t i = 0; i < run->tips.size(); ++i) {
            const record::Tip& tip = run->tips[i];
            const int at = static_cast<int>(i);
            QString name = fromBytes(tip.name);
            if (tip.number == run->bestBet) name += QStringLiteral("  (best bet)");
            tips_->setItem(at, 0, readOnlyItem(QString::number(tip.place)));
            tips_->setItem(at, 1, readOnlyItem(fromBytes(tip.number)));
            tips_->setItem(at, 2, readOnlyItem(name));
            tips_->setItem(at, 3, readOnlyItem(QString::number(tip.winPercent) + QLatin1Char('%')));
            tips_->setItem(at, 4, readOnlyItem(d.prices.empty() ? QString() : bestIn(d.prices.front(), tip.number)));
            tips_->setItem(at, 5, readOnlyItem(d.prices.empty() ? QString() : bestIn(d.prices.back(), tip.number)));
        }
        tips_->resizeColumnsToContents();
        // The horse's name takes what the prices leave, so every column shows without scrolling.
        tips_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    }

    // One line a tipped runner: its best price at each fetch where it had one.
    auto* time = new QDateTimeAxis;
    time->setFormat(QStringLiteral("HH:mm"));
    time->setTitleText(QStringLiteral("Fetched"));
    time->setTickCount(4);
    auto* price = new QValueAxis;
    price->setTitleText(QStringLiteral("Best price"));
    price->setLabelFormat(QStringLiteral("%.2f"));
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(price, Qt::AlignLeft);
    double low = 0, high = 0;
    qint64 first = 0, last = 0;
    bool any = false;
    if (run)
        for (const record::Tip& tip : run->tips) {
            auto* line = new QLineSeries;
            // The legend has room for the numbers; the table beside it names them.
            line->setName(QStringLiteral("No. ") + fromBytes(tip.number));
            line->setPointsVisible(true);
            for (const record::PriceFetch& f : d.prices) {
                const std::optional<double> p = priceOf(bestIn(f, tip.number).toStdString());
                if (!p) continue;
                const qint64 ms = QDateTime::fromString(QString::fromStdString(f.fetch.at), Qt::ISODate)
                                      .toLocalTime()
                                      .toMSecsSinceEpoch();
                line->append(static_cast<qreal>(ms), *p);
                low = any ? std::min(low, *p) : *p;
                high = any ? std::max(high, *p) : *p;
                first = any ? std::min(first, ms) : ms;
                last = any ? std::max(last, ms) : ms;
                any = true;
            }
            chart->addSeries(line);
            line->attachAxis(time);
            line->attachAxis(price);
        }
    if (any) {
        // A single fetch, or prices that never moved, still get an axis the points sit inside.
        price->setRange(std::max(0.0, low - 0.5), high + 0.5);
        price->applyNiceNumbers();
        time->setRange(QDateTime::fromMSecsSinceEpoch(first - 300000), QDateTime::fromMSecsSinceEpoch(last + 300000));
    }
    chart->setTitle(d.prices.empty() ? QStringLiteral("No prices recorded")
                                     : QStringLiteral("Best prices over %1 fetches").arg(d.prices.size()));

    QString result;
    if (!d.result) {
        result = QStringLiteral("Result: not recorded.");
    } else if (!r.placings) {
        result = QStringLiteral("Result: %1 (not official).").arg(fromBytes(r.state));
    } else {
        QStringList placed;
        for (std::size_t i = 0; i < r.placings->size(); ++i) {
            const std::string number = std::to_string((*r.placings)[i]);
            QString name;
            if (d.field)
                for (const record::Runner& x : d.field->runners)
                    if (text::trimSpaces(x.number) == number) name = fromBytes(x.name);
            placed << ordinal(static_cast<int>(i) + 1) + QLatin1Char(' ') + QString::fromStdString(number) +
                          (name.isEmpty() ? QString() : QStringLiteral(". ") + name);
        }
        result = QStringLiteral("Result: ") + placed.join(QStringLiteral(",  "));
    }
    result_->setText(result);
}

}  // namespace selvane::ui
