// The main window bound to its models: model changes reach the widgets, the user's gestures reach
// the handlers, a command keeps the window painted but unusable, and the window fits any screen.
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "app/App.h"
#include "app/Commands.h"
#include "app/MainWindowLoad.h"
#include "dark_palette.h"
#include "kit/BusyBracket.h"
#include "kit/FakePorts.h"
#include "kit/InstanceBell.h"
#include "kit/SingleInstance.h"
#include "standin/Server.h"
#include "ui/Contrast.h"
#include "ui/MainWindowView.h"
#include "ui/Program.h"
#include "ui/QtPorts.h"
#include "ui/RaiseOnRing.h"
#include "ui/Text.h"
#include "ui/WebWindows.h"

namespace selvane::ui {
namespace {

namespace fs = std::filesystem;
void settle() { QCoreApplication::processEvents(); }

// The window over the real ports that see the screen, against a stand-in whose meeting page is slow.
class MainWindowViewTest : public testing::Test {
protected:
    void SetUp() override {
        wireCommands(*app);
        loadMainWindow(*app);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }
    std::unique_ptr<App> makeApp() {
        web.start();
        Ports ports = fakes.ports();
        ports.pump = &pump;
        ports.pointer = &pointer;
        ports.connectivity = &fakes.connectivity;
        const Services services{web.formGuideUrl(), web.resultsSiteRoot(), web.makerSiteUrl()};
        return std::make_unique<App>(fs::path(folder.path().toStdString()), ports, services);
    }
    template <typename W = QWidget>
    W* find(const char* name) {
        W* w = view->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    standin::Server web{{.now = "2026-12-06T14:00", .root = {}, .fault = standin::Fault::Slow, .faultPath = "/cgi-bin/tvf/access.pl", .slowMs = 600}};
    QTemporaryDir folder;
    FakePorts fakes;
    QtEventPump pump;
    QtPointer pointer;
    std::unique_ptr<App> app = makeApp();
    MainWindow& m = app->window;
    std::unique_ptr<MainWindowView> view = std::make_unique<MainWindowView>(*app);
    const Twips t = Twips::forScreenOf(nullptr);
};

TEST_F(MainWindowViewTest, ShowsTheModelsAtItsFixedSizeThroughResizeAndMaximise) {
    auto* runners = find<QTreeWidget>("lstRaces");
    ASSERT_EQ(runners->columnCount(), 6);
    EXPECT_EQ(runners->headerItem()->text(2).toStdString(), "Horse Name");
    EXPECT_EQ(runners->columnWidth(2), t.x(3000));
    EXPECT_TRUE(find<QTreeWidget>("lstRaceName")->isColumnHidden(0));
    // The caption with its Alt key marked; what is seen and said has no "&".
    EXPECT_EQ(find<QPushButton>("cmdDownload")->text().toStdString(), "&Download Race Meetings");
    EXPECT_FALSE(find("Command1")->isVisible());
    EXPECT_FALSE(find("pgBar")->isVisible());
    const QSize fixed(t.x(12795), t.y(9570));
    EXPECT_EQ(view->frameGeometry().size(), fixed);
    view->resize(400, 300);
    settle();
    EXPECT_EQ(view->frameGeometry().size(), fixed);
    view->showMaximized();
    QTest::qWait(100);
    EXPECT_EQ(view->frameGeometry().size(), fixed);
    EXPECT_FALSE(find<QScrollArea>("clientScroller")->verticalScrollBar()->isVisible());  // it fits: nothing scrolls
}

// With full lists the last column in view ends at the list's edge, wide enough for its texts; a
// cut text shows whole as its tooltip, and a row's own tooltip shows where nothing is cut.
TEST_F(MainWindowViewTest, TheColumnsAPunterReadsFitTheirListsAndShowTheirTooltips) {
    for (int i = 1; i <= 30; ++i) m.lstRaces.addRow(std::to_string(i), {"x1234", "SOUTHERN LEGEND", "B. Whitlock", "56.5", "18"});
    for (int i = 1; i <= 24; ++i) {
        m.lstRaceName.addRow("mbenxxxx", {std::to_string(i), "12:55", i == 1 ? "MAIN STREET MAIDEN HANDICAP" : "QUALITY HCP", "1200m"});
        m.lstResults.addRow("BN", {std::to_string(i), "BENDIGO (BN)", "10,11,12"});
    }
    m.lstTips.addRow(" 1st", {"18.  SOUTHERN LEGEND", " 51%", "18"});
    m.lstTips.setTooltip(0, "form 3 1 5 -> mean 3.00");
    QTest::qWait(50);  // the lists lay out their scroll bars on a later turn of the event loop
    struct Case {
        const char* list;
        int column;
        const char* longest;  // must show whole; empty: the column's width
        const char* tip;      // the first row's tooltip there
    };
    const Case cases[] = {{"lstRaces", 5, "", ""},
                          {"lstRaceName", 3, "QUALITY HCP", "MAIN STREET MAIDEN HANDICAP"},
                          {"lstResults", 2, "", "BENDIGO (BN)"},  // cut at the edge
                          {"lstTips", 3, "", "form 3 1 5 -> mean 3.00"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        auto* list = find<QTreeWidget>(c.list);
        const int left = list->header()->sectionViewportPosition(c.column), edge = list->viewport()->width();
        EXPECT_GE(left, 0);
        EXPECT_LE(left + list->fontMetrics().horizontalAdvance(QString::fromLatin1(c.longest)) + 8, edge);
        EXPECT_EQ(left + list->columnWidth(c.column), edge);
        const QPoint cell(left + 5, list->visualItemRect(list->topLevelItem(0)).center().y());
        QHelpEvent help(QEvent::ToolTip, cell, list->viewport()->mapToGlobal(cell));
        QApplication::sendEvent(list->viewport(), &help);
        EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text().toStdString() : "", c.tip);
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    }
    // The results list keeps the window's order of columns: the results come after the track
    // name, a scroll away, and no sliver of them shows.
    auto* results = find<QTreeWidget>("lstResults");
    for (int c = 0; c < 4; ++c) EXPECT_EQ(results->header()->visualIndex(c), c);
    EXPECT_EQ(results->header()->sectionViewportPosition(3), results->viewport()->width());
}

TEST_F(MainWindowViewTest, ModelChangesReachTheWidgets) {
    auto* runners = find<QTreeWidget>("lstRaces");
    m.lstRaces.addRow("1", {"x1", "PHAR LAP", "J PIKE", "58.5", "4"});
    m.lstRaces.addRow("2", {"321", "CARBINE"});
    m.lstRaces.setChecked(1, true);
    m.lstRaces.setForeColour(0, 0xC00000);  // BGR
    ASSERT_EQ(runners->topLevelItemCount(), 2);
    EXPECT_EQ(runners->topLevelItem(0)->text(2).toStdString(), "PHAR LAP");
    EXPECT_EQ(runners->topLevelItem(1)->text(5).toStdString(), "");
    EXPECT_EQ(runners->topLevelItem(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(runners->topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(runners->topLevelItem(0)->foreground(3).color(), QColor(0, 0, 0xC0));
    m.lstRaces.clear();
    EXPECT_EQ(runners->topLevelItemCount(), 0);
    auto* grid = find<QTableWidget>("msfResults");
    ASSERT_EQ(grid->rowCount(), 6);  // the model's header row is the table's header
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text().toStdString(), " Horse Name");
    EXPECT_GE(grid->viewport()->height(), grid->rowViewportPosition(5) + grid->rowHeight(5));  // no scrolling
    m.msfResults.setCell(2, 1, "CARBINE");
    m.msfResults.setCellBackColour(2, 1, 0xC0C000);
    EXPECT_EQ(grid->item(1, 1)->text().toStdString(), "CARBINE");
    EXPECT_EQ(grid->item(1, 1)->background().color(), QColor(0x00, 0xC0, 0xC0));

    m.lblTrackName.setCaption("TrackName: A && B ");
    EXPECT_EQ(find<QLabel>("lblTrackName")->text().toStdString(), "TrackName: A & B ");
    m.txtResults.setText("3 - 5 - 7");
    EXPECT_EQ(find<QLineEdit>("txtResults")->text().toStdString(), "3 - 5 - 7");
    m.pgBar.setMax(40);
    m.pgBar.setValue(10);
    EXPECT_EQ(std::make_pair(find<QProgressBar>("pgBar")->maximum(), find<QProgressBar>("pgBar")->value()), std::make_pair(40, 10));
    // Page texts show as text, never as markup.
    m.lblTitle.setCaption("<b>bold</b>");
    EXPECT_EQ(find<QLabel>("lblTitle")->textFormat(), Qt::PlainText);
    EXPECT_EQ(find<QLabel>("stBarPanel2")->textFormat(), Qt::PlainText);
    // The ticker sits at its model's left, as wide as its text.
    auto* ticker = find<QLabel>("lblScrollResults");
    m.lblScrollResults.setCaption("#R.1  [ 3,5,7 ];      ");
    m.lblScrollResults.setLeft(1440);
    EXPECT_EQ(ticker->x(), t.x(1440));
    EXPECT_EQ(ticker->width(), ticker->sizeHint().width());
}

// However the user changes a box's entry, its handler runs once, on the new entry; a command
// that ran between the change and its handler leaves the box as the model has it.
TEST_F(MainWindowViewTest, ABoxRunsItsHandlerOnceOnTheUsersChangeOnly) {
    ComboBox& model = m.cmbTrackName;
    auto* box = find<QComboBox>("cmbTrackName");
    const auto down = [box] { QTest::keyClick(box, Qt::Key_Down); };
    const auto refill = [&] {
        model.clear();
        for (const char* e : {"ALBANY", "BALLARAT", "COLAC"}) model.addItem(e);
        model.setSelectedIndex(0);
    };
    struct Case {
        const char* name;
        std::function<void()> act, between;
        std::vector<std::string> heard;
        std::string shown;
    };
    const Case cases[] = {
        {"from code: the model runs it", [&] { model.setSelectedIndex(2); }, {}, {}, "DOOMBEN"},
        {"down arrow", down, {}, {"DOOMBEN"}, "DOOMBEN"},
        {"typing", [box] { QTest::keyClicks(box, "D"); }, {}, {"DOOMBEN"}, "DOOMBEN"},
        {"disabled by a command", down, [&] { model.setEnabled(false); }, {}, "CAIRNS"},
        {"refilled by a command", down, refill, {}, "ALBANY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model.onClick = nullptr;
        model.setEnabled(true);
        model.clear();
        for (const char* e : {"BENDIGO", "CAIRNS", "DOOMBEN"}) model.addItem(e);
        model.setSelectedIndex(1);
        box->setFocus();
        c.act();
        if (c.between) c.between();
        std::vector<std::string> heard;
        model.onClick = [&] { heard.push_back(model.text()); };
        settle();
        EXPECT_EQ(heard, c.heard);
        EXPECT_EQ(model.text(), c.shown);
        EXPECT_EQ(box->currentText().toStdString(), c.shown);
    }
}

TEST_F(MainWindowViewTest, AFocusRequestMovesTheFocusOnlyToAnEnabledControl) {
    m.cmbTrackName.setFocus();
    EXPECT_EQ(view->focusWidget(), find("cmbTrackName"));
    m.cmbDateRaces.setEnabled(false);
    m.cmbDateRaces.setFocus();
    m.cmbDateRaces.setEnabled(true);
    EXPECT_EQ(view->focusWidget(), find("cmbTrackName"));  // the refused request is not kept for later
    m.cmbDateRaces.setFocus();
    EXPECT_EQ(view->focusWidget(), find("cmbDateRaces"));
}

// A click or double-click on a race reaches its handler, as do Enter and a double-click below the
// rows for the selected race; after a command the list has the focus again, so the arrow keys go
// on working. Enter with no race chosen, and a double-click queued when a command disables the
// list, do nothing.
TEST_F(MainWindowViewTest, ClicksKeysAndDoubleClicksOnTheRacesReachTheHandlers) {
    std::vector<std::string> heard;
    m.lstRaceName.onClick = [&] { heard.push_back("click " + std::to_string(m.lstRaceName.selectedIndex())); };
    m.lstRaceName.onDoubleClick = [&] {
        BusyBracket busy(m, app->ports.pointer);  // as choosing a race does: the focus goes
        heard.push_back("double " + std::to_string(m.lstRaceName.selectedIndex()));
    };
    for (const char* n : {"1", "2", "3"}) m.lstRaceName.addRow("vic", {n, "12:30PM", "FLEMINGTON ", "1200m"});
    auto* races = find<QTreeWidget>("lstRaceName");
    // On the race number: the row is wider than the list.
    const QPoint second(races->header()->sectionViewportPosition(1) + 5, races->visualItemRect(races->topLevelItem(1)).center().y());
    const std::function<void()> gestures[] = {
        [&] { QTest::mouseClick(races->viewport(), Qt::LeftButton, {}, second); },
        [&] { QTest::mouseDClick(races->viewport(), Qt::LeftButton, {}, second); },
        [&] { QTest::keyClick(races, Qt::Key_Return); },
        [&] { QTest::keyClick(races, Qt::Key_Enter, Qt::KeypadModifier); },
        [&] { QTest::mouseDClick(races->viewport(), Qt::LeftButton, {}, QPoint(5, races->viewport()->height() - 5)); },
    };
    for (const auto& gesture : gestures) {
        m.lstRaceName.setSelectedIndex(0);
        m.lstRaceName.setFocus();
        gesture();
        settle();
        QTest::keyClick(view->focusWidget(), Qt::Key_Down);
        heard.push_back("then " + std::to_string(m.lstRaceName.selectedIndex()));
    }
    EXPECT_EQ(heard, (std::vector<std::string>{"click 1", "then 2", "double 1", "then 2", "double 0", "then 1", "double 0",
                                                "then 1", "double 0", "then 1"}));
    heard.clear();
    m.lstRaceName.setSelectedIndex(-1);
    QTest::keyClick(races, Qt::Key_Return);
    settle();
    QTest::mouseDClick(races->viewport(), Qt::LeftButton, {}, second);
    m.lstRaceName.setEnabled(false);
    settle();
    EXPECT_EQ(heard, std::vector<std::string>{});
}

// A tick and a click on the runners, below their rows too, and typing in a text box.
TEST_F(MainWindowViewTest, TicksAndClicksReachTheHandlers) {
    int checked = -1, listClicks = 0;
    m.lstRaces.onItemCheck = [&](int i) { checked = i; };
    m.lstRaces.onClick = [&] { ++listClicks; };
    m.lstRaces.addRow("1", {"x1", "PHAR LAP"});
    auto* runners = find<QTreeWidget>("lstRaces");
    runners->topLevelItem(0)->setCheckState(0, Qt::Checked);  // what a tick does
    settle();
    EXPECT_EQ(m.lstRaces.row(0).checked, true);
    EXPECT_EQ(checked, 0);
    QTest::mouseClick(runners->viewport(), Qt::LeftButton, {}, QPoint(5, runners->viewport()->height() - 5));
    settle();
    EXPECT_EQ(listClicks, 1);  // below the rows
    QTest::mouseClick(runners->viewport(), Qt::LeftButton, {}, runners->visualItemRect(runners->topLevelItem(0)).center());
    settle();
    EXPECT_EQ(listClicks, 2);  // on a row: once, not twice
    QTest::keyClicks(find("txtURL"), "http://x/");
    EXPECT_EQ(m.txtURL.text(), "http://x/");
}

// Run with a screen smaller than the window (the small-screen test run): the window fits the
// screen, the status bar with the best bet is on it, and the client scrolls to its bottom.
TEST_F(MainWindowViewTest, SmallScreenFitsTheWindowAndScrollsItsClient) {
    const QRect room = view->screen()->availableGeometry();
    if (room.width() >= t.x(12795) && room.height() >= t.y(9570)) {
        ASSERT_FALSE(qEnvironmentVariableIsSet("SELVANE_SMALL_SCREEN")) << "the small screen holds the whole window";
        GTEST_SKIP() << "the screen holds the whole window";
    }
    settle();
    EXPECT_TRUE(room.contains(view->frameGeometry())) << view->frameGeometry().bottom() << " " << room.bottom();
    QStatusBar* bar = view->statusBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(room.contains(QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size())));
    EXPECT_GE(find("lstRaceName")->height(), t.y(2790));  // the lists keep their heights
    auto* scroller = find<QScrollArea>("clientScroller");
    EXPECT_TRUE(scroller->verticalScrollBar()->isVisible());
    auto* strip = find("picBaseResults");
    scroller->ensureWidgetVisible(strip, 0, 0);
    settle();
    const int top = strip->mapTo(scroller->viewport(), QPoint(0, 0)).y();
    EXPECT_GE(top, 0);
    EXPECT_LE(top + strip->height(), scroller->viewport()->height());
    EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible());  // the window found room for the bar
}

class DisabledPaints : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        count += event->type() == QEvent::Paint && !static_cast<QWidget*>(watched)->isEnabled();
        return false;
    }
};

// Download Race Meetings while the page is slow: the window keeps painting with every control
// disabled, the ticker still and the hourglass up; afterwards the track box has the focus, and
// after Previous the date box.
TEST_F(MainWindowViewTest, StaysPaintedAndDisabledWhileItsFetchRuns) {
    auto* download = find<QPushButton>("cmdDownload");
    auto* ticker = view->findChild<QTimer*>(QStringLiteral("timerResultScroll"));
    auto enabled = [&] {
        std::string on;
        for (const char* name : {"cmdDownload", "lstRaceName", "cmbDateRaces", "msfResults", "WebBrowser1", "txtResults"})
            if (find(name)->isEnabled()) on += std::string(name) + " ";
        return on + (ticker->isActive() ? "ticking" : "") + (QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor ? " hourglass" : "");
    };
    DisabledPaints paints;
    download->installEventFilter(&paints);
    std::string seen = "not sampled";
    QTimer::singleShot(300, view.get(), [&] { seen = enabled() + (m.cmbTrackName.count() > 0 ? " done" : ""); });  // mid-page
    download->setFocus();
    QTest::mouseClick(download, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.cmbTrackName.count() > 0 && download->isEnabled(); }, 30000));
    EXPECT_EQ(seen, " hourglass");
    EXPECT_GT(paints.count, 0);
    EXPECT_EQ(enabled(), "cmdDownload lstRaceName cmbDateRaces msfResults WebBrowser1 txtResults ticking");
    EXPECT_EQ(view->focusWidget()->objectName().toStdString(), "cmbTrackName");  // the last to ask
    QTest::mouseClick(find("cmdPrevious"), Qt::LeftButton);
    settle();  // the whole command
    EXPECT_EQ(view->focusWidget()->objectName().toStdString(), "cmbDateRaces");
}

// Every control a punter can reach has a name a screen reader says, from its caption or given;
// the grid's header row names its columns; a main button's Alt key presses it.
TEST_F(MainWindowViewTest, EveryControlHasANameAndTheMainButtonsAltKeys) {
    const std::set<QAccessible::Role> interactive{
        QAccessible::PushButton, QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::ComboBox,
        QAccessible::EditableText, QAccessible::SpinBox, QAccessible::Slider, QAccessible::List,
        QAccessible::Table, QAccessible::Tree, QAccessible::Link, QAccessible::ProgressBar};
    std::vector<std::string> unnamed;
    int seen = 0;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface* child = node->child(i);
            // Rows and cells are not widgets: their texts name them.
            auto* widget = child ? qobject_cast<QWidget*>(child->object()) : nullptr;
            if (!widget) continue;
            if (interactive.count(child->role()) && !child->state().invisible) {
                ++seen;
                if (child->text(QAccessible::Name).trimmed().isEmpty()) unnamed.push_back(widget->objectName().toStdString());
            }
            walk(child);
        }
    };
    walk(QAccessible::queryAccessibleInterface(view.get()));
    EXPECT_GE(seen, 16);  // the walk reached the controls
    EXPECT_EQ(unnamed, std::vector<std::string>{});
    const auto spoken = [&](const char* name) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(find(name));
        return a->text(QAccessible::Name).toStdString() + " | " + a->text(QAccessible::Description).toStdString();
    };
    EXPECT_EQ(spoken("cmdResults"), "Open the race's result page | Opens the chosen race's result page in the web browser");
    EXPECT_EQ(spoken("cmdDownload"), "Download Race Meetings | ");
    EXPECT_EQ(spoken("lstRaces"), "Runners | The runners of the chosen race; tick a runner to pass it over in the tips");
    QAccessibleTableInterface* grid = QAccessible::queryAccessibleInterface(find("msfResults"))->tableInterface();
    ASSERT_NE(grid, nullptr);
    const QList<QAccessibleInterface*> headers = grid->cellAt(0, 1)->tableCellInterface()->columnHeaderCells();
    ASSERT_EQ(headers.size(), 1);
    EXPECT_EQ(headers[0]->text(QAccessible::Name).toStdString(), " Horse Name");

    int pressed = 0;
    m.cmdLiveOdds.onClick = [&] { ++pressed; };
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    QTest::keyClick(view.get(), Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pressed == 1; }));  // a shortcut presses the button for a moment
}

// In a dark theme the fixed colours still read: the best bet's cyan takes black text, a visited
// race's blue turns lighter, and an unticked runner's check box stands out from the list.
TEST_F(MainWindowViewTest, ReadsInADarkTheme) {
    const QPalette before = QApplication::palette();
    QApplication::setPalette(darkPalette());
    settle();
    m.msfResults.setCellBackColour(2, 1, 0xC0C000);
    const QTableWidgetItem* bestBet = find<QTableWidget>("msfResults")->item(1, 1);
    EXPECT_EQ(bestBet->foreground().color(), QColor(Qt::black));
    EXPECT_GE(contrastRatio(bestBet->foreground().color(), bestBet->background().color()), 4.5);

    auto* races = find<QTreeWidget>("lstRaceName");
    m.lstRaceName.addRow("vic", {"1", "12:30PM", "FLEMINGTON ", "1200m"});
    m.lstRaceName.setForeColour(0, 0xC00000);
    const QColor visited = races->topLevelItem(0)->foreground(1).color();
    const QColor listBase = races->palette().color(QPalette::Base);
    EXPECT_GE(contrastRatio(visited, listBase), 4.5) << visited.name().toStdString();
    EXPECT_EQ(visited.hslHue(), QColor(0, 0, 0xC0).hslHue());

    auto* runners = find<QTreeWidget>("lstRaces");
    ASSERT_TRUE(m.lstRaces.checkBoxes());
    m.lstRaces.addRow("1", {"x1", "PHAR LAP"});
    settle();
    QStyleOptionViewItem option;
    option.initFrom(runners);
    option.rect = runners->visualItemRect(runners->topLevelItem(0));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = runners->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, runners);
    const QImage shot = runners->viewport()->grab().toImage();
    const QColor base = runners->palette().color(QPalette::Base);
    double edge = 0;  // the box's outline against the list
    for (int x = box.left(); x <= box.right(); ++x)
        for (int y : {box.top(), box.bottom()}) edge = std::max(edge, contrastRatio(shot.pixelColor(x, y), base));
    EXPECT_GE(edge, 3.0) << "box " << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
    QApplication::setPalette(before);
}

// The real program, offscreen: a second start ends at once, and the first, terminated, still
// deletes its work files (its lock and work files are in its own folder, the build folder).
TEST(RunningProgram, ASecondStartEndsAtOnceAndTheFirstTerminatedDeletesItsWorkFiles) {
    const QString program = qEnvironmentVariable("SELVANE_PROGRAM");
    if (program.isEmpty()) GTEST_SKIP() << "SELVANE_PROGRAM not set";
    const fs::path folder = fs::path(program.toStdString()).parent_path();
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess first, second;
    first.setProcessEnvironment(env);
    second.setProcessEnvironment(env);
    first.start(program, {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !InstanceLock::acquire(instanceLockFile(folder)); }, 30000));
    second.start(program, {});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(std::make_pair(second.exitStatus(), second.exitCode()), std::make_pair(QProcess::NormalExit, 0));
    std::ofstream(folder / "realodds.html") << "x";
    first.terminate();
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(std::make_pair(first.exitStatus(), first.exitCode()), std::make_pair(QProcess::NormalExit, 0));
    EXPECT_FALSE(fs::exists(folder / "realodds.html"));
}

// A ring of the bell brings the window the punter has open back from the task bar, active; the
// program's windows carry its icon and the name of its menu entry.
TEST(FoundByTheDesktop, ARingRaisesTheWindowAndTheWindowsCarryTheIcon) {
    QTemporaryDir folder;
    auto bell = InstanceBell::open(instanceBellFile(folder.path().toStdString()));
    ASSERT_TRUE(bell);
    QWidget window, other;
    window.show();
    other.show();
    std::unique_ptr<QObject> watch(raiseOnRing(*bell, [&] { return &window; }));
    window.showMinimized();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &other; }));
    ASSERT_TRUE(ringInstanceBell(instanceBellFile(folder.path().toStdString()), ""));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
    EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);

    identifyProgram();
    giveWindowIcon();
    EXPECT_EQ(QGuiApplication::desktopFileName().toStdString(), SELVANE_APP_ID);
    EXPECT_EQ(QApplication::windowIcon().availableSizes().size(), 7);
    EXPECT_FALSE(window.windowIcon().pixmap(48).isNull());
}

// selvane --history or --review started beside a running program asks it for that window.
TEST(FoundByTheDesktop, ARingCarriesTheWindowASecondStartAsksFor) {
    QTemporaryDir folder;
    auto bell = InstanceBell::open(instanceBellFile(folder.path().toStdString()));
    ASSERT_TRUE(bell);
    std::vector<std::string> asked;
    std::unique_ptr<QObject> watch(answerRings(*bell, [&](const std::string& wanted) -> QWidget* {
        asked.push_back(wanted);
        return nullptr;
    }));
    for (const auto& [wanted, token] : {std::pair("history", "token-1"), std::pair("", "token-2"), std::pair("review", "")})
        ASSERT_TRUE(ringInstanceBell(instanceBellFile(folder.path().toStdString()), ringWords(wanted, token)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return asked.size() == 3; }));
    EXPECT_EQ(asked, (std::vector<std::string>{"history", "", "review"}));
}

TEST(TwipsAndText, TwipsFollowTheLogicalDpiAndLabelsShowAmpersandsAsTheModelMeansThem) {
    const Twips t(96, 120);
    EXPECT_EQ(std::make_pair(t.x(12795), t.y(9570)), std::make_pair(853, 798));
    EXPECT_EQ(t.rect(0, 0, 100, 100).right() + 1, t.rect(100, 0, 100, 100).left());  // neighbours stay flush
    EXPECT_EQ(labelText("&Exit R&&&D").toStdString(), "Exit R&D");
    EXPECT_EQ(fromBytes("\xc3\xa9").toStdString(), "\xc3\xa9");
    EXPECT_EQ(fromBytes("Caf\xe9").toStdString(), "Caf\xc3\xa9");  // Latin-1 bytes from a page still show
}

}  // namespace
}  // namespace selvane::ui

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    selvane::ui::prepareProcess();
    QApplication app(argc, argv);
    // Linked in here; the program loads them from selvane-windows.so.
    selvane::ui::useWebWindows(selvane::ui::linkedWebWindows());
    return RUN_ALL_TESTS();
}
