// The Qt ports (pointer, message box, modal windows), the local web views and the splash window.
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "kit/FakePorts.h"
#include "odds/OddsWindow.h"
#include "promo/SplashWindow.h"
#include "results/ResultsWindow.h"
#include "ui/Bindings.h"
#include "ui/LocalWebView.h"
#include "ui/QtModalWindow.h"
#include "ui/QtPorts.h"
#include "ui/SplashView.h"

namespace selvane::ui {
namespace {

TEST(QtPointer, HourglassDoesNotStackAndComesOff) {
    QtPointer pointer;
    pointer.setHourglass(true);
    pointer.setHourglass(true);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    pointer.setHourglass(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Under a command's hourglass, the box shows the normal pointer to be answered with.
TEST(QtMessageBox, ShowsTitleTextIconAndButtonsUnderTheArrowAndGivesTheAnswer) {
    QtPointer pointer;
    pointer.setHourglass(true);
    std::string seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = QStringLiteral("%1|%2|%3|%4").arg(box->windowTitle(), box->text()).arg(int(box->icon()))
                   .arg(int(QApplication::overrideCursor()->shape())).toStdString();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(QtMessageBox().show("No Connection", "None. ", MessageIcon::Critical, MessageButtons::YesNo), MessageAnswer::No);
    EXPECT_EQ(seen, "No Connection|None. |" + std::to_string(QMessageBox::Critical) + "|" + std::to_string(Qt::ArrowCursor));
    pointer.setHourglass(false);
}

std::vector<OddsRow> twoRunners() {
    return {{"3", "Southern Legend", "4.20", {"4.20", "3.90", "n/a", "4.00", "1.60", "1.55", "n/a"}},
            {"1", "Scratched Lad", "scr", {"scr", "scr", "scr", "scr", "scr", "scr", "scr"}}};
}

// Shows model through the Qt modal port and, once it is up, reads it with whileUp and closes it
// by its Close button or the title bar. Returns when the port does.
void showThenClose(Window& model, const char* name, bool byButton, const std::function<void(QDialog&)>& whileUp = {}) {
    QTimer::singleShot(300, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName().toStdString(), name);
        if (whileUp) whileUp(*dialog);
        if (byButton) QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
        if (!byButton) dialog->close();
    });
    QtModalWindow().showModal(model);
}

TEST(QtModalWindow, TheCloseButtonAndTheTitleBarCloseAndUnloadEachWindow) {
    for (bool byButton : {true, false}) {
        SCOPED_TRACE(byButton ? "Close button" : "title bar");
        ResultsWindow results;
        showThenClose(results, "frmResults", byButton);
        EXPECT_TRUE(results.closed());
        OddsWindow odds;
        ASSERT_TRUE(fillOddsWindow(odds, twoRunners(), "ASHFORD", "12"));
        int rowsWhileUp = -1;
        showThenClose(odds, "frmLiveOdds", byButton, [&](QDialog& dialog) {
            rowsWhileUp = dialog.findChild<QTreeWidget*>(QStringLiteral("lstOddsSort"))->topLevelItemCount();
        });
        EXPECT_EQ(rowsWhileUp, 2);
        EXPECT_FALSE(odds.loaded());
        EXPECT_EQ(odds.lstOddsSort.count(), 0);
    }
}

TEST(LocalWebView, ShowsALocalPageWithoutScriptsOrNetworkAndOnlyFilesUnderItsFolders) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    int connections = 0;
    QObject::connect(&server, &QTcpServer::newConnection, [&] { ++connections; });
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("iFrame_page.html"));
    std::ofstream(page.toStdString()) << "<html><head><title>framed</title><script>document.title='scripted';</script></head><body>"
                                      << "<img src=\"http://127.0.0.1:" << server.serverPort() << "/advert.png\">"
                                      << "<iframe src=\"http://127.0.0.1:" << server.serverPort() << "/ads.html\"></iframe></body></html>";
    setLocalWebFolders({dir.path()});
    QWidget parent;
    WebView model;
    QWebEngineView* view = makeLocalWebView(&parent, model);
    bind(model, view);
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    model.navigate(page.toStdString());
    ASSERT_TRUE(loaded.wait(30000));
    QTest::qWait(500);  // time for any request the page would make
    EXPECT_EQ(view->title().toStdString(), "framed");
    EXPECT_EQ(connections, 0);
    model.setEnabled(false);
    model.setEnabled(true);
    QTest::qWait(200);
    EXPECT_EQ(loaded.count(), 1);  // enabling the view again does not reload it

    const std::pair<QString, bool> cases[] = {
        {QUrl::fromLocalFile(page).toString(), true},
        {QUrl::fromLocalFile(dir.path() + QStringLiteral("/../secret.html")).toString(), false},
        {QUrl::fromLocalFile(dir.path() + QStringLiteral("2/results.html")).toString(), false},  // a sibling sharing the prefix
        {QStringLiteral("file://host/share/results.html"), false},
        {QStringLiteral("http://127.0.0.1/results.html"), false},
        {QStringLiteral("about:blank"), true},
        {QStringLiteral("about:settings"), false},
        {QStringLiteral("data:text/html,x"), true},
    };
    for (const auto& [url, allowed] : cases) EXPECT_EQ(localWebAllows(QUrl(url)), allowed) << url.toStdString();
}

// A click on a link in a framed page, whatever its target, goes to the model and moves no view.
TEST(LocalWebView, AClickedLinkGoesToTheModelAndTheViewStays) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    int connections = 0;
    QObject::connect(&server, &QTcpServer::newConnection, [&] { ++connections; });
    const QString site = QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort());
    QTemporaryDir dir;
    // Three blocks of 300 by 90 pixels, one under the other.
    const auto link = [](const std::string& href, const char* target, int top) {
        return "<a href=\"" + href + "\" target=\"" + target +
               "\" style=\"position:absolute;left:0;top:" + std::to_string(top) +
               "px;width:300px;height:90px;display:block\">link</a>";
    };
    std::ofstream(dir.filePath(QStringLiteral("adsbase.html")).toStdString())
        << "<html><body style=\"margin:0\">" << link(site.toStdString() + "top", "_top", 0)
        << link(site.toStdString() + "blank", "_blank", 100) << link("adsbase.html", "_self", 200) << "</body></html>";
    const QString page = dir.filePath(QStringLiteral("iFrame_page.html"));
    std::ofstream(page.toStdString())
        << "<html><body style=\"margin:0\"><iframe src=\"adsbase.html\" frameborder=0 "
           "style=\"position:absolute;left:0;top:0;width:300px;height:300px\"></iframe></body></html>";
    setLocalWebFolders({dir.path()});
    QWidget parent;
    parent.resize(320, 320);
    WebView model;
    std::vector<std::string> links;
    model.onLinkClick = [&](const std::string& address) { links.push_back(address); };
    QWebEngineView* view = makeLocalWebView(&parent, model);
    view->setGeometry(0, 0, 320, 320);
    bind(model, view);
    parent.show();
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    model.navigate(page.toStdString());
    ASSERT_TRUE(loaded.wait(30000));
    QTest::qWait(500);  // laid out and painted
    for (int y : {45, 145, 245}) {
        QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, QPoint(150, y));
        QTest::qWait(300);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return links.size() >= 3; }, 5000));
    const std::string local =
        QUrl::fromLocalFile(dir.filePath(QStringLiteral("adsbase.html"))).toString().toStdString();
    EXPECT_EQ(links, (std::vector<std::string>{site.toStdString() + "top", site.toStdString() + "blank", local}));
    // A refused navigation of the page reports a failed load; no other load completes.
    int completed = 0;
    for (const QList<QVariant>& args : loaded) completed += args.at(0).toBool();
    EXPECT_EQ(std::make_tuple(view->url().toString().toStdString(), completed, connections),
              std::make_tuple(QUrl::fromLocalFile(page).toString().toStdString(), 1, 0));
}

// Closing the splash, and Esc, decline it as "I Disagree" does.
TEST(SplashView, ShowsThePictureAndDeclinesOnCloseAndEsc) {
    const QString program = qEnvironmentVariable("SELVANE_PROGRAM");
    if (program.isEmpty()) GTEST_SKIP() << "SELVANE_PROGRAM not set";
    const std::pair<const char*, std::function<void(SplashView&)>> gestures[] = {
        {"close", [](SplashView& view) { view.close(); }},
        {"Esc", [](SplashView& view) { QTest::keyClick(view.focusWidget(), Qt::Key_Escape); }},
    };
    for (const auto& [name, decline] : gestures) {
        SCOPED_TRACE(name);
        FakeExit exit;
        SplashWindow model(&exit);
        {
            SplashView view(model, QFileInfo(program).absolutePath().toStdString());
            view.show();
            view.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
            EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("picSplash"))->pixmap().size(), QSize(480, 240));
            EXPECT_EQ(view.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text().toStdString(), "I &Disagree");
            decline(view);
        }
        EXPECT_EQ(model.choice(), SplashWindow::Choice::Declined);
        EXPECT_EQ(exit.codes, std::vector<int>{0});
    }
}

}  // namespace
}  // namespace selvane::ui
