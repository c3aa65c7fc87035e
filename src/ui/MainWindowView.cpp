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

template <typename W>
W* place(QWidget* parent, const char* name, Place p, const Twips& t) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(t.rect(p.left, p.top, p.width, p.height));
    return w;
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

    // Heading: the racecourse title and the page address; the advert strip beside it.
    auto* picHeading = place<QFrame>(central, "picHeading", {90, 60, 5490, 1020}, t);
    picHeading->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // Two lines: the title grows by the track and race once a race is chosen.
    auto* lblTitle = place<QLabel>(picHeading, "lblTitle", {90, 30, 5310, 540}, t);
    lblTitle->setWordWrap(true);
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont bold = lblTitle->font();
    bold.setBold(true);
    bold.setPointSizeF(9);
    lblTitle->setFont(bold);
    auto* fraSetup = place<QGroupBox>(picHeading, "fraSetup", {60, 585, 5370, 405}, t);
    fraSetup->setFlat(true);
    auto* lblURL = place<QLabel>(fraSetup, "lblURL", {30, 75, 900, 255}, t);
    auto* txtURL = place<QLineEdit>(fraSetup, "txtURL", {960, 45, 4380, 315}, t);
    txtURL->setFocusPolicy(Qt::ClickFocus);  // nothing reads it: Tab passes it by
    auto* WebBrowser1 = makeLocalWebView(central, m.WebBrowser1);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(t.rect(5685, 60, 6900, 1020));

    // Meetings options, above the race list and as wide.
    auto* Frame3 = place<QGroupBox>(central, "Frame3", {90, 1140, 3930, 1830}, t);
    auto* lblDate = place<QLabel>(Frame3, "lblDate", {120, 330, 660, 255}, t);
    auto* cmbDateRaces = place<QComboBox>(Frame3, "cmbDateRaces", {780, 270, 3030, 330}, t);
    auto* lblSelectMeeting = place<QLabel>(Frame3, "lblSelectMeeting", {120, 720, 660, 255}, t);
    auto* cmbTrackName = place<QComboBox>(Frame3, "cmbTrackName", {780, 660, 3030, 330}, t);
    auto* cmdDownload = place<QPushButton>(Frame3, "cmdDownload", {120, 1050, 3690, 330}, t);
    auto* cmdPrevious = place<QPushButton>(Frame3, "cmdPrevious", {120, 1410, 3690, 330}, t);

    // Race info.
    auto* Frame1 = place<QGroupBox>(central, "Frame1", {4110, 1140, 4110, 1830}, t);
    auto* lblMeeting = place<QLabel>(Frame1, "lblMeeting", {120, 300, 3870, 255}, t);
    auto* lblTrackName = place<QLabel>(Frame1, "lblTrackName", {120, 570, 3870, 255}, t);
    auto* lblRace = place<QLabel>(Frame1, "lblRace", {120, 840, 1260, 255}, t);
    auto* lblRaceNumber = place<QLabel>(Frame1, "lblRaceNumber", {1380, 840, 2610, 255}, t);
    auto* lblRaceTime = place<QLabel>(Frame1, "lblRaceTime", {120, 1110, 3870, 255}, t);
    auto* lblRaceLength = place<QLabel>(Frame1, "lblRaceLength", {120, 1380, 3870, 255}, t);

    // Status, the odds and results commands, mail, web and exit.
    auto* fraStatus = place<QGroupBox>(central, "fraStatus", {8310, 1140, 4275, 780}, t);
    auto* lblStatus = place<QLabel>(fraStatus, "lblStatus", {120, 300, 4035, 390}, t);
    auto* cmdLiveOdds = place<QPushButton>(central, "cmdLiveOdds", {8310, 2010, 2100, 420}, t);
    auto* cmdLiveResults = place<QPushButton>(central, "cmdLiveResults", {10485, 2010, 2100, 420}, t);
    auto* cmdEmail = place<QPushButton>(central, "cmdEmail", {8310, 2520, 1560, 420}, t);
    auto* cmdWeb = place<QPushButton>(central, "cmdWeb", {9945, 2520, 1260, 420}, t);
    auto* cmdExit = place<QPushButton>(central, "cmdExit", {11280, 2520, 1305, 420}, t);
    auto* Command1 = place<QPushButton>(central, "Command1", {8310, 2010, 2100, 420}, t);
    auto* lblNewFormula = place<QLabel>(central, "lblNewFormula", {10485, 2100, 2100, 255}, t);

    // The race list beside the runner list. The runner list is as wide as its columns and a
    // scroll bar, so the barriers show; the race list has the rest.
    auto* lstRaceName = place<QTreeWidget>(central, "lstRaceName", {90, 3060, 3930, 2790}, t);
    auto* lstRaces = place<QTreeWidget>(central, "lstRaces", {4110, 3060, 8475, 2790}, t);

    // Tips, the tip grid (each as wide as its columns) and the live results.
    auto* lstTips = place<QTreeWidget>(central, "lstTips", {90, 5940, 4650, 2310}, t);
    auto* msfResults = place<QTableWidget>(central, "msfResults", {4830, 5940, 4140, 2310}, t);
    auto* lblRaceResults = place<QLabel>(central, "lblRaceResults", {9060, 5985, 1440, 255}, t);
    auto* txtResults = place<QLineEdit>(central, "txtResults", {10500, 5940, 1650, 330}, t);
    auto* cmdResults = place<QPushButton>(central, "cmdResults", {12195, 5940, 390, 330}, t);
    auto* Label1 = place<QLabel>(central, "Label1", {9060, 6360, 3525, 255}, t);
    auto* lstResults = place<QTreeWidget>(central, "lstResults", {9060, 6630, 3525, 1620}, t);

    // The results strip and the ticker it clips.
    auto* picBaseResults = place<QFrame>(central, "picBaseResults", {0, 8340, m.picBaseResults.width(), 330}, t);
    auto* picBaseScroll = place<QFrame>(picBaseResults, "picBaseScroll", {90, 15, m.picBaseScroll.width(), 300}, t);
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
    stretched_ = {lstRaceName, lstRaces};
    belowStretched_ = {lstTips, msfResults, lblRaceResults, txtResults, cmdResults, Label1, lstResults, picBaseResults};
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
    QWidget* const tabOrder[] = {cmbDateRaces, cmbTrackName, cmdDownload, cmdPrevious, lstRaceName,
                                 lstRaces,     lstTips,      cmdLiveOdds, cmdLiveResults, cmdEmail,
                                 cmdWeb,       cmdExit,      txtResults,  cmdResults,     lstResults};
    for (size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

    bind(m.picHeading, picHeading, t);
    bind(m.lblTitle, lblTitle);
    bind(m.fraSetup, fraSetup);
    bind(m.lblURL, lblURL);
    bind(m.txtURL, txtURL);
    bind(m.WebBrowser1, WebBrowser1);
    bind(m.Frame3, Frame3);
    bind(m.lblDate, lblDate);
    bind(m.cmbDateRaces, cmbDateRaces);
    bind(m.lblSelectMeeting, lblSelectMeeting);
    bind(m.cmbTrackName, cmbTrackName);
    bind(m.cmdDownload, cmdDownload, QLatin1Char('D'));
    bind(m.cmdPrevious, cmdPrevious, QLatin1Char('P'));
    bind(m.Frame1, Frame1);
    bind(m.lblMeeting, lblMeeting);
    bind(m.lblTrackName, lblTrackName);
    bind(m.lblRace, lblRace);
    bind(m.lblRaceNumber, lblRaceNumber);
    bind(m.lblRaceTime, lblRaceTime);
    bind(m.lblRaceLength, lblRaceLength);
    bind(m.fraStatus, fraStatus);
    bind(m.lblStatus, lblStatus);
    bind(m.cmdLiveOdds, cmdLiveOdds, QLatin1Char('O'));
    bind(m.cmdLiveResults, cmdLiveResults, QLatin1Char('R'));
    bind(m.cmdEmail, cmdEmail, QLatin1Char('E'));
    bind(m.cmdWeb, cmdWeb, QLatin1Char('W'));
    bind(m.cmdExit, cmdExit, QLatin1Char('x'));
    bind(m.Command1, Command1);
    bind(m.lblNewFormula, lblNewFormula);
    bind(m.lstRaceName, lstRaceName, t);
    bind(m.lstRaces, lstRaces, t);
    bind(m.lstTips, lstTips, t);
    bind(m.msfResults, msfResults, t);
    bind(m.lblRaceResults, lblRaceResults);
    bind(m.txtResults, txtResults);
    bind(m.cmdResults, cmdResults);
    bind(m.Label1, Label1);
    bind(m.lstResults, lstResults, t);
    bind(m.picBaseResults, picBaseResults, t);
    bind(m.picBaseScroll, picBaseScroll, t);
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
