#include "ui/MainWindowView.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEngineView>

#include <algorithm>
#include <map>
#include <string_view>
#include <variant>

#include "app/App.h"
#include "app/ExitCleanUp.h"
#include "ui/Bindings.h"
#include "ui/LocalWebView.h"
#include "ui/Text.h"

namespace selvane::ui {

namespace {

// The bottom of the laid-out controls, and the margin kept under them.
constexpr int kLayoutBottomTwips = 8670;
constexpr int kBottomMarginTwips = 60;
constexpr int kShortestListTwips = 1200;

// Places are in twips, relative to the parent widget, as a form designer would keep them.
struct Place {
    int left, top, width, height;
};

// The model a widget shows; its type says which widget it gets.
using ControlOf = std::variant<Label MainWindow::*, Frame MainWindow::*, Button MainWindow::*, TextBox MainWindow::*,
                               ComboBox MainWindow::*, ReportList MainWindow::*, Grid MainWindow::*,
                               PictureBox MainWindow::*, WebView MainWindow::*>;

// One control: its model, its widget's name, the parent it sits on (nullptr: the client) and its
// place there. Widgets are made in this order, which is also their stacking order.
struct Placement {
    ControlOf control;
    const char* name;
    const char* parent;
    Place at;
    char accessKey = 0;
};

using M = MainWindow;
const Placement kPlacements[] = {
    // Heading: the racecourse title and the page address; the advert strip beside it.
    {&M::picHeading, "picHeading", nullptr, {90, 60, 5490, 1020}},
    {&M::lblTitle, "lblTitle", "picHeading", {90, 30, 5310, 540}},
    {&M::fraSetup, "fraSetup", "picHeading", {60, 585, 5370, 405}},
    {&M::lblURL, "lblURL", "fraSetup", {30, 75, 900, 255}},
    {&M::txtURL, "txtURL", "fraSetup", {960, 45, 4380, 315}},
    {&M::WebBrowser1, "WebBrowser1", nullptr, {5685, 60, 6900, 1020}},

    // Meetings options, above the race list and as wide.
    {&M::Frame3, "Frame3", nullptr, {90, 1140, 3930, 1830}},
    {&M::lblDate, "lblDate", "Frame3", {120, 330, 660, 255}},
    {&M::cmbDateRaces, "cmbDateRaces", "Frame3", {780, 270, 3030, 330}},
    {&M::lblSelectMeeting, "lblSelectMeeting", "Frame3", {120, 720, 660, 255}},
    {&M::cmbTrackName, "cmbTrackName", "Frame3", {780, 660, 3030, 330}},
    {&M::cmdDownload, "cmdDownload", "Frame3", {120, 1050, 3690, 330}, 'D'},
    {&M::cmdPrevious, "cmdPrevious", "Frame3", {120, 1410, 3690, 330}, 'P'},

    // Race info.
    {&M::Frame1, "Frame1", nullptr, {4110, 1140, 4110, 1830}},
    {&M::lblMeeting, "lblMeeting", "Frame1", {120, 300, 3870, 255}},
    {&M::lblTrackName, "lblTrackName", "Frame1", {120, 570, 3870, 255}},
    {&M::lblRace, "lblRace", "Frame1", {120, 840, 1260, 255}},
    {&M::lblRaceNumber, "lblRaceNumber", "Frame1", {1380, 840, 2610, 255}},
    {&M::lblRaceTime, "lblRaceTime", "Frame1", {120, 1110, 3870, 255}},
    {&M::lblRaceLength, "lblRaceLength", "Frame1", {120, 1380, 3870, 255}},

    // Status, the odds and results commands, mail, web and exit.
    {&M::fraStatus, "fraStatus", nullptr, {8310, 1140, 4275, 780}},
    {&M::lblStatus, "lblStatus", "fraStatus", {120, 300, 4035, 390}},
    {&M::cmdLiveOdds, "cmdLiveOdds", nullptr, {8310, 2010, 2100, 420}, 'O'},
    {&M::cmdLiveResults, "cmdLiveResults", nullptr, {10485, 2010, 2100, 420}, 'R'},
    {&M::cmdEmail, "cmdEmail", nullptr, {8310, 2520, 1560, 420}, 'E'},
    {&M::cmdWeb, "cmdWeb", nullptr, {9945, 2520, 1260, 420}, 'W'},
    {&M::cmdExit, "cmdExit", nullptr, {11280, 2520, 1305, 420}, 'x'},
    {&M::Command1, "Command1", nullptr, {8310, 2010, 2100, 420}},
    {&M::lblNewFormula, "lblNewFormula", nullptr, {10485, 2100, 2100, 255}},

    // The race list beside the runner list. The runner list is as wide as its columns and a
    // scroll bar, so the barriers show; the race list has the rest.
    {&M::lstRaceName, "lstRaceName", nullptr, {90, 3060, 3930, 2790}},
    {&M::lstRaces, "lstRaces", nullptr, {4110, 3060, 8475, 2790}},

    // Tips, the tip grid (each as wide as its columns) and the live results.
    {&M::lstTips, "lstTips", nullptr, {90, 5940, 4650, 2310}},
    {&M::msfResults, "msfResults", nullptr, {4830, 5940, 4140, 2310}},
    {&M::lblRaceResults, "lblRaceResults", nullptr, {9060, 5985, 1440, 255}},
    {&M::txtResults, "txtResults", nullptr, {10500, 5940, 1650, 330}},
    {&M::cmdResults, "cmdResults", nullptr, {12195, 5940, 390, 330}},
    {&M::Label1, "Label1", nullptr, {9060, 6360, 3525, 255}},
    {&M::lstResults, "lstResults", nullptr, {9060, 6630, 3525, 1620}},

    // The results strip and the ticker it clips.
    {&M::picBaseResults, "picBaseResults", nullptr, {0, 8340, MainWindow::kOuterWidthTwips, 330}},
    {&M::picBaseScroll, "picBaseScroll", "picBaseResults", {90, 15, MainWindow::kTickerStripWidthTwips, 300}},
};

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};

QWidget* makeWidget(const ControlOf& control, QWidget* parent, MainWindow& m) {
    return std::visit(
        Overloaded{[&](Label M::*) -> QWidget* { return new QLabel(parent); },
                   [&](Frame M::*) -> QWidget* { return new QGroupBox(parent); },
                   [&](Button M::*) -> QWidget* { return new QPushButton(parent); },
                   [&](TextBox M::*) -> QWidget* { return new QLineEdit(parent); },
                   [&](ComboBox M::*) -> QWidget* { return new QComboBox(parent); },
                   [&](ReportList M::*) -> QWidget* { return new QTreeWidget(parent); },
                   [&](Grid M::*) -> QWidget* { return new QTableWidget(parent); },
                   [&](PictureBox M::*) -> QWidget* { return new QFrame(parent); },
                   [&](WebView M::* c) -> QWidget* { return makeLocalWebView(parent, m.*c); }},
        control);
}

void bindWidget(const Placement& p, QWidget* w, MainWindow& m, const Twips& t) {
    std::visit(Overloaded{[&](Label M::* c) { bind(m.*c, static_cast<QLabel*>(w)); },
                          [&](Frame M::* c) { bind(m.*c, static_cast<QGroupBox*>(w)); },
                          [&](Button M::* c) {
                              bind(m.*c, static_cast<QPushButton*>(w),
                                   p.accessKey ? QChar(QLatin1Char(p.accessKey)) : QChar());
                          },
                          [&](TextBox M::* c) { bind(m.*c, static_cast<QLineEdit*>(w)); },
                          [&](ComboBox M::* c) { bind(m.*c, static_cast<QComboBox*>(w)); },
                          [&](ReportList M::* c) { bind(m.*c, static_cast<QTreeWidget*>(w), t); },
                          [&](Grid M::* c) { bind(m.*c, static_cast<QTableWidget*>(w), t); },
                          [&](PictureBox M::* c) { bind(m.*c, w, t); },
                          [&](WebView M::* c) { bind(m.*c, w); }},
               p.control);
}

}  // namespace

MainWindowView::MainWindowView(App& app, QWidget* parent)
    : QMainWindow(parent), app_(app), twips_(Twips::forScreenOf(parent)) {
    setObjectName(QStringLiteral("frmParser"));
    setWindowTitle(QString::fromUtf8(MainWindow::kCaption));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    QFont f = font();
    f.setPointSizeF(8);
    setFont(f);
    build();
    keepFixedSize();
}

MainWindowView::~MainWindowView() {
    // The models outlive this window: they must stop calling into its widgets.
    for (Control* c : app_.window.controls()) c->setObserver(nullptr);
}

void MainWindowView::build() {
    MainWindow& m = app_.window;
    const Twips& t = twips_;
    // The controls sit on a client that scrolls when the screen is too small for the window.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("clientScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setWidgetResizable(true);
    setCentralWidget(scroller);
    auto* central = new QWidget(scroller);
    central->setObjectName(QStringLiteral("client"));
    scroller->setWidget(central);
    client_ = central;
    central->installEventFilter(this);

    // The placed controls, then what some of them have beyond a place.
    std::map<std::string_view, QWidget*> placed;
    for (const Placement& p : kPlacements) {
        QWidget* w = makeWidget(p.control, p.parent ? placed.at(p.parent) : central, m);
        w->setObjectName(QString::fromLatin1(p.name));
        w->setGeometry(t.rect(p.at.left, p.at.top, p.at.width, p.at.height));
        placed[p.name] = w;
    }
    const auto widget = [&placed](const char* name) { return placed.at(name); };

    static_cast<QFrame*>(widget("picHeading"))->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // Two lines: the title grows by the track and race once a race is chosen.
    auto* lblTitle = static_cast<QLabel*>(widget("lblTitle"));
    lblTitle->setWordWrap(true);
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont bold = lblTitle->font();
    bold.setBold(true);
    bold.setPointSizeF(9);
    lblTitle->setFont(bold);
    static_cast<QGroupBox*>(widget("fraSetup"))->setFlat(true);
    widget("txtURL")->setFocusPolicy(Qt::ClickFocus);  // nothing reads it: Tab passes it by

    auto* picBaseScroll = static_cast<QFrame*>(widget("picBaseScroll"));
    picBaseScroll->setFrameStyle(QFrame::Box | QFrame::Plain);
    picBaseScroll->setAutoFillBackground(true);
    QPalette strip = picBaseScroll->palette();
    strip.setColor(QPalette::Window, Qt::black);
    strip.setColor(QPalette::WindowText, QColor(0xC0, 0xC0, 0x00));
    picBaseScroll->setPalette(strip);
    auto* lblScrollResults = new QLabel(picBaseScroll);
    lblScrollResults->setObjectName(QStringLiteral("lblScrollResults"));
    lblScrollResults->move(0, (t.y(300) - lblScrollResults->fontMetrics().height()) / 2);
    lblScrollResults->setCursor(Qt::PointingHandCursor);
    ticker_ = lblScrollResults;
    stretched_ = {widget("lstRaceName"), widget("lstRaces")};
    for (const char* name : {"lstTips", "msfResults", "lblRaceResults", "txtResults", "cmdResults", "Label1",
                             "lstResults", "picBaseResults"})
        belowStretched_.append(widget(name));
    auto* timerResultScroll = new QTimer(this);
    timerResultScroll->setObjectName(QStringLiteral("timerResultScroll"));

    // The status bar: the date panel, the message panel, and the progress bar while parsing.
    auto* stBar = new QStatusBar(this);
    stBar->setObjectName(QStringLiteral("stBar"));
    stBar->setSizeGripEnabled(false);
    setStatusBar(stBar);
    auto* panel1 = new QLabel(stBar);
    panel1->setObjectName(QStringLiteral("stBarPanel1"));
    panel1->setMinimumWidth(t.x(2400));
    auto* panel2 = new QLabel(stBar);
    panel2->setObjectName(QStringLiteral("stBarPanel2"));
    stBar->addWidget(panel1);
    stBar->addWidget(panel2, 1);
    auto* pgBar = new QProgressBar(stBar);
    pgBar->setObjectName(QStringLiteral("pgBar"));
    pgBar->setMaximumWidth(t.x(3000));
    pgBar->setMaximumHeight(t.y(240));
    stBar->addPermanentWidget(pgBar);

    // Tab goes the way a punter works: meeting, race, runners, tips, then the commands.
    const char* const tabOrder[] = {"cmbDateRaces", "cmbTrackName", "cmdDownload", "cmdPrevious", "lstRaceName",
                                    "lstRaces",     "lstTips",      "cmdLiveOdds", "cmdLiveResults", "cmdEmail",
                                    "cmdWeb",       "cmdExit",      "txtResults",  "cmdResults",     "lstResults"};
    for (size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(widget(tabOrder[i - 1]), widget(tabOrder[i]));

    for (const Placement& p : kPlacements) bindWidget(p, widget(p.name), m, t);
    bindTicker(m.lblScrollResults, lblScrollResults, t);
    bind(m.timerResultScroll, timerResultScroll);
    bind(m.stBar, panel1, panel2);
    bind(m.pgBar, pgBar);
    describeForScreenReaders();
}

void MainWindowView::describeForScreenReaders() {
    // What a screen reader says of a control whose caption, if it has one, says too little.
    struct Spoken {
        const char* control;
        const char* name;
        const char* description;
    };
    static constexpr Spoken kSpoken[] = {
        {"cmbDateRaces", "Meeting date", "The date whose race meetings are offered"},
        {"cmbTrackName", "Meeting", "The meeting whose races are listed"},
        {"lstRaceName", "Races", "The races of the chosen meeting; double-click a race, or press Enter on it, to see its runners and tips"},
        {"lstRaces", "Runners", "The runners of the chosen race; tick a runner to pass it over in the tips"},
        {"lstTips", "Tips", "The five tips of the race with their chances of winning and their barriers"},
        {"msfResults", "Tip grid", "The tips in order; the each-way best bet's row is coloured"},
        {"lstResults", "Meeting results", "The result of each race of the meeting, or its state while it is not final"},
        {"txtResults", "Race result", "The placings of the chosen race"},
        {"cmdResults", "Open the race's result page", "Opens the chosen race's result page in the web browser"},
        {"txtURL", "Page address", nullptr},
        {"cmdLiveOdds", nullptr, "Shows the chosen race's tote prices"},
        {"cmdLiveResults", nullptr, "Shows the chosen race's official result"},
        {"cmdEmail", nullptr, "Writes an e-mail that recommends the program"},
        {"cmdWeb", nullptr, "Opens the maker's web site"},
        {"WebBrowser1", "Advert", nullptr},
        {"lblScrollResults", "Results ticker", "The meeting's results scrolling by; click it to open the race's result page"},
        {"pgBar", "Progress", nullptr},
    };
    for (const Spoken& s : kSpoken) {
        auto* w = findChild<QWidget*>(QString::fromLatin1(s.control));
        if (!w) continue;
        if (s.name) w->setAccessibleName(QString::fromUtf8(s.name));
        if (s.description) w->setAccessibleDescription(QString::fromUtf8(s.description));
    }
    // The same help for the eye, where a caption is three dots.
    findChild<QWidget*>(QStringLiteral("cmdResults"))->setToolTip(QStringLiteral("Open the race's result page"));
}

QSize MainWindowView::frameMargin() const {
    // The frame the window manager adds; none before the window is shown or without one.
    return isVisible() ? frameGeometry().size() - geometry().size() : QSize(0, 0);
}

QSize MainWindowView::fixedClientSize() const {
    const Twips t = Twips::forScreenOf(this);
    const QSize outer(t.x(MainWindow::kOuterWidthTwips), t.y(MainWindow::kOuterHeightTwips));
    return outer - frameMargin();
}

QSize MainWindowView::fittedClientSize() const {
    const QSize full = fixedClientSize();
    const QScreen* s = screen();
    if (!s) return full;
    const QSize room = s->availableGeometry().size() - frameMargin();
    QSize client = full.boundedTo(room);
    // Cut in one direction, the window gives the scroll bar room in the other where it can.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    if (client.height() < full.height()) client.setWidth(std::min(room.width(), full.width() + bar));
    if (client.width() < full.width()) client.setHeight(std::min(room.height(), full.height() + bar));
    return client;
}

void MainWindowView::keepFixedSize() {
    if (fixing_) return;
    fixing_ = true;
    const QSize full = fixedClientSize();
    const QSize client = fittedClientSize();
    // The client keeps what the whole window would give it, and scrolls.
    const QSize least = client == full ? QSize(0, 0) : full - QSize(0, statusBar()->sizeHint().height());
    if (client_->minimumSize() != least) client_->setMinimumSize(least);
    if (minimumSize() != client || maximumSize() != client) setFixedSize(client);
    if (size() != client) resize(client);
    fixing_ = false;
}

void MainWindowView::keepOnScreen() {
    const QScreen* s = screen();
    if (!s) return;
    const QRect room = s->availableGeometry();
    const QRect f = frameGeometry();
    if (room.contains(f)) return;
    move(std::max(room.left(), std::min(f.left(), room.left() + room.width() - f.width())),
         std::max(room.top(), std::min(f.top(), room.top() + room.height() - f.height())));
}

void MainWindowView::fitToClient() {
    const int available = client_->height() - twips_.y(kBottomMarginTwips);
    const int shortest = twips_.y(kShortestListTwips);
    int extra = available - twips_.y(kLayoutBottomTwips);
    for (QWidget* w : stretched_) extra = std::max(extra, shortest - (w->height() - appliedExtra_));
    const int delta = extra - appliedExtra_;
    if (delta == 0) return;
    for (QWidget* w : stretched_) w->resize(w->width(), w->height() + delta);
    for (QWidget* w : belowStretched_) w->move(w->x(), w->y() + delta);
    appliedExtra_ = extra;
}

bool MainWindowView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) fitToClient();
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindowView::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    switch (event->type()) {
        case QEvent::Show:
            keepFixedSize();
            keepOnScreen();
            break;
        case QEvent::Resize:
        case QEvent::Move:
            keepFixedSize();
            break;
        case QEvent::WindowStateChange:
            // Maximised or full screen: back to the fixed size, after the state change settles.
            if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
                QMetaObject::invokeMethod(
                    this, [this] { setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen)); },
                    Qt::QueuedConnection);
            break;
        default:
            break;
    }
    return handled;
}

void MainWindowView::closeEvent(QCloseEvent* event) {
    exitCleanUp(app_.programFolder);
    event->accept();
}

}  // namespace selvane::ui
