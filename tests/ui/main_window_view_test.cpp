#include "ui/MainWindowView.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <QWebEngineView>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/App.h"
#include "kit/BusyBracket.h"
#include "app/Commands.h"
#include "kit/FakePorts.h"
#include "app/MainWindowLoad.h"
#include "kit/SingleInstance.h"
#include "ui/Program.h"
#include "ui/Text.h"

namespace selvane::ui {
namespace {

namespace fs = std::filesystem;

class MainWindowViewTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        app = std::make_unique<App>(fs::path(folder.path().toStdString()), fakes.ports());
        view = std::make_unique<MainWindowView>(*app);
        wireCommands(*app);
        loadMainWindow(*app);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }
    void TearDown() override {
        view.reset();
        app.reset();
    }
    template <typename W>
    W* find(const char* name) {
        W* w = view->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    Twips twips() const { return Twips::forScreenOf(view.get()); }
    static void settle() { QCoreApplication::processEvents(); }

    QTemporaryDir folder;
    FakePorts fakes;
    std::unique_ptr<App> app;
    std::unique_ptr<MainWindowView> view;
};

TEST_F(MainWindowViewTest, KeepsItsFixedOuterSizeThroughResizeAndMaximise) {
    const Twips t = twips();
    const QSize fixed(t.x(12795), t.y(9570));
    EXPECT_EQ(view->frameGeometry().size(), fixed);
    view->resize(400, 300);
    settle();
    EXPECT_EQ(view->frameGeometry().size(), fixed);
    view->showMaximized();
    for (int i = 0; i < 5; ++i) settle();
    EXPECT_EQ(view->frameGeometry().size(), fixed);
    // Where the window fits, nothing scrolls.
    auto* scroller = find<QScrollArea>("clientScroller");
    EXPECT_FALSE(scroller->verticalScrollBar()->isVisible());
    EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible());
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Box Five & Each Way Selvane"));
}

TEST_F(MainWindowViewTest, ListsShowTheirColumnTitlesAndWidths) {
    const Twips t = twips();
    struct Case {
        const char* list;
        std::vector<std::pair<QString, int>> columns;  // width -1: the rest of the list
    };
    const Case cases[] = {
        {"lstTips", {{"Tip", 500}, {"Horse Name", 2500}, {"Win", 800}, {"Barrier", -1}}},
        {"lstRaces", {{"#.", 700}, {"Form", 1000}, {"Horse Name", 3000}, {"Jockey", 2000}, {"Weight", 800}, {"Barrier", -1}}},
        {"lstRaceName", {{"link", 0}, {"Race #.", 1000}, {"Time", 1200}, {"Track Name", -1}, {"Length", 1200}}},
        {"lstResults", {{"link", 1000}, {"Race #.", 1000}, {"Track Name", 4800}, {"Results", -1}}},
    };
    for (const Case& c : cases) {
        auto* list = find<QTreeWidget>(c.list);
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->columnCount(), static_cast<int>(c.columns.size())) << c.list;
        for (int i = 0; i < list->columnCount(); ++i) {
            EXPECT_EQ(list->headerItem()->text(i), c.columns[i].first) << c.list << i;
            const int width = c.columns[i].second;
            EXPECT_EQ(list->isColumnHidden(i), width == 0) << c.list << i;
            if (width > 0) {
                EXPECT_EQ(list->columnWidth(i), t.x(width)) << c.list << i;
            } else if (width < 0) {
                EXPECT_EQ(list->header()->sectionViewportPosition(i) + list->columnWidth(i), list->viewport()->width())
                    << c.list << i;
            }
        }
        EXPECT_EQ(list->topLevelItemCount(), 0);
    }
}

TEST_F(MainWindowViewTest, ShowsTheModelsCaptionsColumnsAndHiddenControls) {
    auto* runners = find<QTreeWidget>("lstRaces");
    ASSERT_EQ(runners->columnCount(), 6);
    EXPECT_EQ(runners->headerItem()->text(2), QStringLiteral("Horse Name"));
    EXPECT_EQ(runners->columnWidth(2), twips().x(3000));
    EXPECT_TRUE(find<QTreeWidget>("lstRaceName")->isColumnHidden(0));
    EXPECT_EQ(find<QPushButton>("cmdDownload")->text(), QStringLiteral("Download Race Meetings"));
    EXPECT_EQ(find<QLabel>("lblTrackName")->text(), QStringLiteral("Track Name: "));
    EXPECT_EQ(find<QGroupBox>("fraStatus")->title(), QStringLiteral("Status"));
    EXPECT_FALSE(find<QPushButton>("Command1")->isVisible());
    EXPECT_FALSE(find<QProgressBar>("pgBar")->isVisible());
    EXPECT_EQ(find<QWebEngineView>("WebBrowser1")->url(), QUrl(QStringLiteral("about:blank")));
}

// With full lists (scroll bars and all), the columns a punter reads are inside their lists, the
// last one in view takes the rest of the width, and a cut text shows whole as its tooltip.
TEST_F(MainWindowViewTest, TheColumnsAPunterReadsFitTheirLists) {
    MainWindow& m = app->window;
    for (int i = 1; i <= 30; ++i) m.lstRaces.addRow(std::to_string(i), {"x1234", "SOUTHERN LEGEND", "B. Whitlock", "56.5", "18"});
    for (int i = 1; i <= 24; ++i) {
        m.lstRaceName.addRow("mbenxxxx", {std::to_string(i), "12:55", i == 1 ? "MAIN STREET MAIDEN HANDICAP" : "QUALITY HCP", "1200m"});
        m.lstResults.addRow("BN", {std::to_string(i), "BENDIGO (BN)", "10,11,12"});
    }
    for (int i = 1; i <= 5; ++i) m.lstTips.addRow(" 1st", {"18.  SOUTHERN LEGEND", " 51%", "18"});
    // The lists lay out their scroll bars on a later turn of the event loop.
    QTest::qWait(50);
    struct Case {
        const char* list;
        int column;
        QString longest;  // the text that must show whole; empty: the whole column
        bool lastInView;  // ends at the list's edge
        QString tip;      // the first row's tooltip: its text where the list cuts it
    };
    const Case cases[] = {
        {"lstRaces", 5, {}, true, {}},
        {"lstRaces", 2, {}, false, {}},
        {"lstRaceName", 1, {}, false, {}},
        {"lstRaceName", 2, {}, false, {}},
        {"lstRaceName", 3, QStringLiteral("QUALITY HCP"), true, QStringLiteral("MAIN STREET MAIDEN HANDICAP")},
        {"lstResults", 1, {}, false, {}},
        {"lstResults", 3, {}, true, {}},
        {"lstTips", 3, {}, true, {}},
    };
    for (const Case& c : cases) {
        auto* list = find<QTreeWidget>(c.list);
        const int left = list->header()->sectionViewportPosition(c.column);
        const int width = c.longest.isEmpty() ? list->columnWidth(c.column) : list->fontMetrics().horizontalAdvance(c.longest) + 8;
        const int edge = list->viewport()->width();
        EXPECT_GE(left, 0) << c.list << " " << c.column;
        EXPECT_LE(left + width, edge) << c.list << " " << c.column;
        if (c.lastInView) {
            EXPECT_EQ(left + list->columnWidth(c.column), edge) << c.list << " " << c.column;
        }
        EXPECT_TRUE(list->verticalScrollBar()->isVisible() || std::string(c.list) == "lstTips") << c.list;

        const QPoint cell(left + 5, list->visualItemRect(list->topLevelItem(0)).center().y());
        QHelpEvent help(QEvent::ToolTip, cell, list->viewport()->mapToGlobal(cell));
        QApplication::sendEvent(list->viewport(), &help);
        EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(), c.tip) << c.list << " " << c.column;
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    }
    // The results list keeps its columns, and shows the results beside the race numbers; no
    // sliver of the track name shows after them.
    auto* results = find<QTreeWidget>("lstResults");
    EXPECT_EQ(results->headerItem()->text(3), QStringLiteral("Results"));
    EXPECT_EQ(results->header()->visualIndex(3), 2);
    EXPECT_EQ(results->header()->visualIndex(2), 3);
    EXPECT_EQ(results->header()->sectionViewportPosition(2), results->viewport()->width());
}

TEST_F(MainWindowViewTest, TheTipGridShowsItsHeaderAndSixRows) {
    const Twips t = twips();
    auto* grid = find<QTableWidget>("msfResults");
    ASSERT_EQ(grid->rowCount(), 7);
    EXPECT_EQ(grid->columnWidth(1), t.x(2800));
    // All seven rows fit without scrolling.
    EXPECT_GE(grid->viewport()->height(), grid->rowViewportPosition(6) + grid->rowHeight(6));

    app->window.msfResults.setCell(2, 1, "CARBINE");
    app->window.msfResults.setCellBackColour(2, 1, 0xC0C000);  // BGR: cyan-ish
    EXPECT_EQ(grid->item(2, 1)->text(), QStringLiteral("CARBINE"));
    EXPECT_EQ(grid->item(2, 1)->background().color(), QColor(0x00, 0xC0, 0xC0));
}

TEST_F(MainWindowViewTest, ModelChangesReachTheWidgets) {
    MainWindow& m = app->window;
    auto* runners = find<QTreeWidget>("lstRaces");
    m.lstRaces.addRow("1", {"x1", "PHAR LAP", "J PIKE", "58.5", "4"});
    m.lstRaces.addRow("2", {"321", "CARBINE"});
    m.lstRaces.setChecked(1, true);
    m.lstRaces.setForeColour(0, 0xC00000);
    ASSERT_EQ(runners->topLevelItemCount(), 2);
    EXPECT_EQ(runners->topLevelItem(0)->text(2), QStringLiteral("PHAR LAP"));
    EXPECT_EQ(runners->topLevelItem(1)->text(5), QString());
    EXPECT_EQ(runners->topLevelItem(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(runners->topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(runners->topLevelItem(0)->foreground(3).color(), QColor(0, 0, 0xC0));
    m.lstRaces.clear();
    EXPECT_EQ(runners->topLevelItemCount(), 0);

    m.lblTrackName.setCaption("TrackName: A && B ");
    EXPECT_EQ(find<QLabel>("lblTrackName")->text(), QStringLiteral("TrackName: A & B "));
    m.txtResults.setText("3 - 5 - 7");
    EXPECT_EQ(find<QLineEdit>("txtResults")->text(), QStringLiteral("3 - 5 - 7"));
    m.pgBar.setMax(40);
    m.pgBar.setValue(10);
    m.pgBar.setVisible(true);
    auto* bar = find<QProgressBar>("pgBar");
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 40);
    EXPECT_EQ(bar->value(), 10);

    // Page texts are shown as text, never as markup.
    m.lblTitle.setCaption("Racecourse : <b>bold</b><img src=x>");
    EXPECT_EQ(find<QLabel>("lblTitle")->textFormat(), Qt::PlainText);
    EXPECT_EQ(find<QLabel>("lblTitle")->text(), QStringLiteral("Racecourse : <b>bold</b><img src=x>"));
    m.stBar.setPanel(2, "<i>x</i>");
    EXPECT_EQ(find<QLabel>("stBarPanel2")->textFormat(), Qt::PlainText);

    // Latin-1 bytes from a page still show.
    m.lblMeeting.setCaption("Meeting: Caf\xe9");
    EXPECT_EQ(find<QLabel>("lblMeeting")->text(), QStringLiteral("Meeting: Caf\u00e9"));
}

TEST_F(MainWindowViewTest, TheBusyBracketDisablesEveryWidgetAndStopsTheTicker) {
    auto* timer = find<QTimer>("timerResultScroll");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 150);
    const char* names[] = {"cmdDownload", "lstRaceName", "cmbDateRaces", "msfResults", "WebBrowser1", "txtResults"};
    {
        BusyBracket busy(app->window, app->ports.pointer, &app->window.pgBar);
        for (const char* name : names) EXPECT_FALSE(find<QWidget>(name)->isEnabled()) << name;
        EXPECT_FALSE(timer->isActive());
        EXPECT_TRUE(fakes.pointer.hourglass);
    }
    for (const char* name : names) EXPECT_TRUE(find<QWidget>(name)->isEnabled()) << name;
    EXPECT_TRUE(timer->isActive());
}

TEST_F(MainWindowViewTest, ChoosingADateFromCodeRunsTheHandlerOnce) {
    MainWindow& m = app->window;
    int clicks = 0;
    m.cmbDateRaces.onClick = [&] { ++clicks; };
    m.cmbDateRaces.addItem("09/03/2024");
    m.cmbDateRaces.addItem("10/03/2024");
    m.cmbDateRaces.setSelectedIndex(0);
    settle();
    EXPECT_EQ(find<QComboBox>("cmbDateRaces")->currentIndex(), 0);
    EXPECT_EQ(clicks, 1);
}

// Whatever way the user changes a box's text, its click handler runs once, on the new entry.
TEST_F(MainWindowViewTest, TheUsersTextChangeOfABoxRunsItsClickHandler) {
    MainWindow& m = app->window;
    struct Gesture {
        const char* name;
        std::function<void(QComboBox*)> act;
        int dateIndex, trackIndex;  // the entry chosen, from entry 1 of three
    };
    auto wheel = [](QComboBox* box) {
        QWheelEvent down(QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &down);
    };
    const Gesture gestures[] = {
        {"down arrow", [](QComboBox* b) { QTest::keyClick(b, Qt::Key_Down); }, 2, 2},
        {"typing", [](QComboBox* b) { QTest::keyClicks(b, b->objectName() == "cmbTrackName" ? "D" : "07"); }, 2, 2},
        {"wheel", wheel, 2, 2},
    };
    const std::vector<std::string> dates{"05/12/2026", "06/12/2026", "07/12/2026"};
    const std::vector<std::string> tracks{"BENDIGO", "CAIRNS", "DOOMBEN"};
    for (const Gesture& g : gestures) {
        for (ComboBox* model : {&m.cmbDateRaces, &m.cmbTrackName}) {
            const bool isDate = model == &m.cmbDateRaces;
            auto* box = find<QComboBox>(isDate ? "cmbDateRaces" : "cmbTrackName");
            model->onClick = nullptr;
            model->clear();
            for (const std::string& e : isDate ? dates : tracks) model->addItem(e);
            model->setSelectedIndex(1);
            std::vector<std::string> heard;
            model->onClick = [&] { heard.push_back(model->text()); };
            box->setFocus();
            g.act(box);
            settle();
            const int want = isDate ? g.dateIndex : g.trackIndex;
            const std::string entry = (isDate ? dates : tracks)[want];
            EXPECT_EQ(heard, std::vector<std::string>{entry}) << g.name << " on " << box->objectName().toStdString();
            EXPECT_EQ(model->selectedIndex(), want) << g.name;
            EXPECT_EQ(box->currentIndex(), want) << g.name;
        }
    }
}

// A command that ran between the user's change and its handler leaves the box as the model has it.
TEST_F(MainWindowViewTest, AChoiceOvertakenByACommandIsUndone) {
    MainWindow& m = app->window;
    auto* box = find<QComboBox>("cmbTrackName");
    struct Case {
        const char* name;
        std::function<void()> between;
        std::vector<std::string> entries;
        int selected;
    };
    const Case cases[] = {
        {"busy", [&] { m.cmbTrackName.setEnabled(false); }, {"BENDIGO", "CAIRNS", "DOOMBEN"}, 0},
        {"refilled",
         [&] {
             m.cmbTrackName.clear();
             for (const char* e : {"ALBANY", "BALLARAT", "COLAC"}) m.cmbTrackName.addItem(e);
             m.cmbTrackName.setSelectedIndex(0);
         },
         {"ALBANY", "BALLARAT", "COLAC"}, 0},
    };
    for (const Case& c : cases) {
        m.cmbTrackName.onClick = nullptr;
        m.cmbTrackName.setEnabled(true);
        m.cmbTrackName.clear();
        for (const char* e : {"BENDIGO", "CAIRNS", "DOOMBEN"}) m.cmbTrackName.addItem(e);
        m.cmbTrackName.setSelectedIndex(0);
        int clicks = 0;
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);  // the handler is queued behind the command below
        m.cmbTrackName.onClick = [&] { ++clicks; };
        c.between();
        clicks = 0;
        settle();
        EXPECT_EQ(clicks, 0) << c.name;
        EXPECT_EQ(m.cmbTrackName.entries(), c.entries) << c.name;
        EXPECT_EQ(m.cmbTrackName.selectedIndex(), c.selected) << c.name;
        EXPECT_EQ(box->currentIndex(), c.selected) << c.name;
        EXPECT_EQ(box->currentText().toStdString(), c.entries[c.selected]) << c.name;
    }
}

TEST_F(MainWindowViewTest, AFocusRequestMovesTheFocusOnlyToAnEnabledControl) {
    MainWindow& m = app->window;
    auto* dates = find<QComboBox>("cmbDateRaces");
    auto* tracks = find<QComboBox>("cmbTrackName");
    m.cmbTrackName.setFocus();
    EXPECT_EQ(view->focusWidget(), tracks);
    m.cmbDateRaces.setEnabled(false);
    m.cmbDateRaces.setFocus();
    EXPECT_EQ(view->focusWidget(), tracks);
    // The refused request is not kept for later.
    m.cmbDateRaces.setEnabled(true);
    EXPECT_EQ(view->focusWidget(), tracks);
    m.cmbDateRaces.setFocus();
    EXPECT_EQ(view->focusWidget(), dates);
}

TEST_F(MainWindowViewTest, ClicksTicksAndDoubleClicksReachTheHandlers) {
    MainWindow& m = app->window;
    std::vector<std::string> heard;
    m.lstRaceName.onClick = [&] { heard.push_back("click " + std::to_string(m.lstRaceName.selectedIndex())); };
    m.lstRaceName.onDoubleClick = [&] {
        heard.push_back("double " + std::to_string(m.lstRaceName.selectedIndex()));
        m.lstRaceName.clear();  // a command may empty the list that called it
    };
    m.lstRaceName.addRow("vic", {"1", "12:30PM", "FLEMINGTON ", "1200m"});
    m.lstRaceName.addRow("vic", {"2", "1:05PM", "FLEMINGTON ", "1400m"});
    auto* races = find<QTreeWidget>("lstRaceName");
    // On the race number: the row is wider than the list.
    const QPoint second(races->header()->sectionViewportPosition(1) + 5, races->visualItemRect(races->topLevelItem(1)).center().y());
    QTest::mouseClick(races->viewport(), Qt::LeftButton, {}, second);
    settle();
    QTest::mouseDClick(races->viewport(), Qt::LeftButton, {}, second);
    settle();
    EXPECT_EQ(heard, (std::vector<std::string>{"click 1", "double 1"}));
    EXPECT_EQ(races->topLevelItemCount(), 0);

    // A double-click still queued when a command disables the list is dropped.
    m.lstRaceName.addRow("vic", {"1", "12:30PM", "FLEMINGTON ", "1200m"});
    m.lstRaceName.addRow("vic", {"2", "1:05PM", "FLEMINGTON ", "1400m"});
    heard.clear();
    QTest::mouseDClick(races->viewport(), Qt::LeftButton, {}, second);
    m.lstRaceName.setEnabled(false);
    settle();
    EXPECT_EQ(heard, std::vector<std::string>{});
    EXPECT_EQ(races->topLevelItemCount(), 2);
    m.lstRaceName.setEnabled(true);

    int checked = -1;
    m.lstRaces.onItemCheck = [&](int i) { checked = i; };
    m.lstRaces.addRow("1", {"x1", "PHAR LAP"});
    auto* runners = find<QTreeWidget>("lstRaces");
    runners->topLevelItem(0)->setCheckState(0, Qt::Checked);  // what a tick does
    settle();
    EXPECT_EQ(m.lstRaces.row(0).checked, true);
    EXPECT_EQ(checked, 0);

    int listClicks = 0;
    m.lstRaces.onClick = [&] { ++listClicks; };
    QTest::mouseClick(runners->viewport(), Qt::LeftButton, {}, QPoint(5, runners->viewport()->height() - 5));
    settle();
    EXPECT_EQ(listClicks, 1);  // below the rows
    QTest::mouseClick(runners->viewport(), Qt::LeftButton, {}, runners->visualItemRect(runners->topLevelItem(0)).center());
    settle();
    EXPECT_EQ(listClicks, 2);  // on a row: once, not twice

    int tickerClicks = 0;
    m.lblScrollResults.onClick = [&] { ++tickerClicks; };
    m.lblScrollResults.setCaption("#R.1  [ 3,5,7 ];      ");
    QTest::mouseClick(find<QLabel>("lblScrollResults"), Qt::LeftButton);
    settle();
    EXPECT_EQ(tickerClicks, 1);

    QTest::keyClicks(find<QLineEdit>("txtURL"), "http://x/");
    EXPECT_EQ(m.txtURL.text(), "http://x/");
}

// Enter, or a double-click below the rows, chooses the selected race as a double-click on it
// does; after the command the list still has the focus, so the arrow keys go on working.
TEST_F(MainWindowViewTest, TheKeyboardChoosesARaceAndTheListKeepsTheFocus) {
    MainWindow& m = app->window;
    auto* races = find<QTreeWidget>("lstRaceName");
    const QPoint belowTheRows(5, races->viewport()->height() - 5);
    std::vector<int> chosen;
    m.lstRaceName.onDoubleClick = [&] {
        BusyBracket busy(m, app->ports.pointer);  // as choosing a race does: the focus goes
        chosen.push_back(m.lstRaceName.selectedIndex());
    };
    struct Gesture {
        const char* name;
        int selected;
        std::function<void()> act;
        std::vector<int> chosen;
        int afterDownArrow;
    };
    const Gesture gestures[] = {
        {"Return", 1, [&] { QTest::keyClick(races, Qt::Key_Return); }, {1}, 2},
        {"keypad Enter", 0, [&] { QTest::keyClick(races, Qt::Key_Enter, Qt::KeypadModifier); }, {0}, 1},
        {"double-click below the rows", 1, [&] { QTest::mouseDClick(races->viewport(), Qt::LeftButton, {}, belowTheRows); }, {1}, 2},
        {"Return, nothing selected", -1, [&] { QTest::keyClick(races, Qt::Key_Return); }, {}, 0},
    };
    for (const Gesture& g : gestures) {
        m.lstRaceName.clear();
        for (const char* n : {"1", "2", "3"}) m.lstRaceName.addRow("mben", {n, "12:55", "QUALITY HCP", "1200m"});
        m.lstRaceName.setSelectedIndex(g.selected);
        m.lstRaceName.setFocus();
        chosen.clear();
        g.act();
        settle();
        EXPECT_EQ(chosen, g.chosen) << g.name;
        EXPECT_EQ(view->focusWidget(), races) << g.name;
        QTest::keyClick(view->focusWidget(), Qt::Key_Down);
        EXPECT_EQ(m.lstRaceName.selectedIndex(), g.afterDownArrow) << g.name;
    }

    // A date chosen from the keyboard: the date box keeps the focus through the command.
    auto* dates = find<QComboBox>("cmbDateRaces");
    m.cmbDateRaces.onClick = [&] { BusyBracket busy(m, app->ports.pointer); };
    for (const char* d : {"05/12/2026", "06/12/2026"}) m.cmbDateRaces.addItem(d);
    m.cmbDateRaces.setFocus();
    QTest::keyClick(dates, Qt::Key_Down);
    settle();
    EXPECT_EQ(view->focusWidget(), dates);
}

// Tab follows the window's reading order, and passes the page address box by.
TEST_F(MainWindowViewTest, TabGoesTheWayAPunterWorks) {
    const QStringList order{"cmbTrackName", "cmdDownload", "cmdPrevious",    "lstRaceName", "lstRaces",
                            "lstTips",      "cmdLiveOdds", "cmdLiveResults", "cmdEmail",    "cmdWeb",
                            "cmdExit",      "txtResults",  "cmdResults",     "lstResults"};
    find<QComboBox>("cmbDateRaces")->setFocus();
    QStringList visited;
    for (int i = 0; i < 16; ++i) {
        QTest::keyClick(view->focusWidget(), Qt::Key_Tab);
        QWidget* w = view->focusWidget();
        while (w && w->objectName().isEmpty()) w = w->parentWidget();  // the web view's inner widget
        visited << (w ? w->objectName() : QString());
    }
    EXPECT_EQ(visited.mid(0, order.size()), order);
    // Nowhere in the round: Tab ends up in the advert's page, so the chain itself is read.
    QStringList stops;
    for (QWidget* w = view->nextInFocusChain(); w != view.get(); w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) stops << w->objectName();
    EXPECT_TRUE(stops.contains(QStringLiteral("cmbDateRaces")));
    EXPECT_FALSE(stops.contains(QStringLiteral("txtURL")));
}

// Run with a screen smaller than the window (the small-screen test run): the window fits the
// screen, the status bar with the best bet is on it, and the client scrolls to its bottom.
TEST_F(MainWindowViewTest, SmallScreenFitsTheWindowAndScrollsItsClient) {
    const Twips t = twips();
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
    // The lists keep their heights; the strip at the bottom scrolls into view.
    EXPECT_GE(find<QWidget>("lstRaceName")->height(), t.y(2790));
    auto* scroller = find<QScrollArea>("clientScroller");
    EXPECT_TRUE(scroller->verticalScrollBar()->isVisible());
    auto* strip = find<QWidget>("picBaseResults");
    scroller->ensureWidgetVisible(strip, 0, 0);
    settle();
    const int top = strip->mapTo(scroller->viewport(), QPoint(0, 0)).y();
    EXPECT_GE(top, 0);
    EXPECT_LE(top + strip->height(), scroller->viewport()->height());
    EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible());  // the window found room for the bar
}

TEST_F(MainWindowViewTest, TheTickerLabelSitsAtItsModelsLeftPosition) {
    const Twips t = twips();
    auto* label = find<QLabel>("lblScrollResults");
    app->window.lblScrollResults.setCaption("#R.1  [ 3,5,7 ];      ");
    app->window.lblScrollResults.setLeft(1440);
    EXPECT_EQ(label->x(), t.x(1440));
    EXPECT_EQ(label->width(), label->sizeHint().width());
    EXPECT_EQ(find<QWidget>("picBaseScroll")->width(), t.x(MainWindow::kTickerStripWidthTwips));
}

TEST_F(MainWindowViewTest, ClosingTheWindowDeletesTheWorkFiles) {
    const fs::path dir = folder.path().toStdString();
    for (const char* name : {"access.html", "results.html", "mtgraces.html"}) std::ofstream(dir / name) << "x";
    view->close();
    EXPECT_FALSE(fs::exists(dir / "access.html"));
    EXPECT_FALSE(fs::exists(dir / "results.html"));
    EXPECT_TRUE(fs::exists(dir / "mtgraces.html"));
}

TEST(Twips, MapThroughTheLogicalDpi) {
    const Twips t(96, 120);
    EXPECT_EQ(t.x(1440), 96);
    EXPECT_EQ(t.y(1440), 120);
    EXPECT_EQ(t.x(12795), 853);
    EXPECT_EQ(t.y(9570), 798);
    EXPECT_EQ(t.twipsX(96), 1440);
    // Neighbours stay flush after rounding.
    EXPECT_EQ(t.rect(0, 0, 100, 100).right() + 1, t.rect(100, 0, 100, 100).left());
}

TEST(Text, LabelsShowAmpersandsAsTheModelMeansThem) {
    EXPECT_EQ(labelText("A && B"), QStringLiteral("A & B"));
    EXPECT_EQ(labelText("&Exit"), QStringLiteral("Exit"));
    EXPECT_EQ(labelText("R&&&D"), QStringLiteral("R&D"));
    EXPECT_EQ(fromBytes("\xc3\xa9"), QStringLiteral("\u00e9"));
    EXPECT_EQ(fromBytes("\xe9"), QStringLiteral("\u00e9"));
}

// The real program, started offscreen; its lock is in its work folder, the build folder.
class RunningProgram : public testing::Test {
protected:
    void SetUp() override {
        program = qEnvironmentVariable("SELVANE_PROGRAM");
        if (program.isEmpty()) GTEST_SKIP() << "SELVANE_PROGRAM not set";
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    void TearDown() override {
        if (first.state() != QProcess::NotRunning) {
            first.kill();
            first.waitForFinished(10000);
        }
    }
    // Starts the first instance and waits until it holds the instance lock.
    bool startFirst() {
        first.setProcessEnvironment(env);
        first.start(program, {});
        if (!first.waitForStarted()) return false;
        const fs::path lock = instanceLockFile(programFolder());
        for (int i = 0; i < 300; ++i) {
            if (!InstanceLock::acquire(lock).has_value()) return true;
            QTest::qWait(100);
        }
        return false;
    }
    fs::path programFolder() const { return fs::path(program.toStdString()).parent_path(); }

    QString program;
    QTemporaryDir runtime;
    QProcessEnvironment env;
    QProcess first;
};

TEST_F(RunningProgram, ASecondStartEndsAtOnceWithCodeZero) {
    ASSERT_TRUE(startFirst()) << "the first instance never took the lock";

    // Also a start with another runtime folder or temporary folder shares the work folder.
    QTemporaryDir elsewhere;
    for (const char* variable : {"", "XDG_RUNTIME_DIR", "TMPDIR"}) {
        SCOPED_TRACE(variable);
        QProcessEnvironment secondEnv = env;
        if (*variable) secondEnv.insert(QString::fromLatin1(variable), elsewhere.path());
        QProcess second;
        second.setProcessEnvironment(secondEnv);
        second.start(program, {});
        ASSERT_TRUE(second.waitForFinished(30000));
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(second.readAllStandardOutput(), QByteArray());
        EXPECT_EQ(first.state(), QProcess::Running);
    }
}

TEST_F(RunningProgram, BeingTerminatedStillDeletesTheWorkFiles) {
    const fs::path workFile = programFolder() / "realodds.html";
    const fs::path keptFile = programFolder() / "iFrame_results.html";
    const bool keptWasThere = fs::exists(keptFile);
    std::ofstream(workFile) << "x";
    std::ofstream(keptFile, std::ios::app) << "";
    ASSERT_TRUE(startFirst());
    first.terminate();
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_FALSE(fs::exists(workFile));
    EXPECT_TRUE(fs::exists(keptFile));
    if (!keptWasThere) fs::remove(keptFile);
}

}  // namespace
}  // namespace selvane::ui
