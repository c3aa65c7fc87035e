#include "ui/QtPorts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <fstream>

#include "kit/Controls.h"
#include "ui/Bindings.h"
#include "ui/LocalWebView.h"

namespace selvane::ui {
namespace {

TEST(QtShell, MissingTargetsGiveNotFoundWithoutAskingTheDesktop) {
    QtShell shell;
    EXPECT_EQ(shell.open(""), kShellNotFound);
    EXPECT_EQ(shell.open("   "), kShellNotFound);
    EXPECT_EQ(shell.open("/no/such/folder/results.html"), kShellNotFound);
}

TEST(QtPointer, HourglassDoesNotStackAndComesOff) {
    QtPointer pointer;
    pointer.setHourglass(true);
    pointer.setHourglass(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    pointer.setHourglass(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtMessageBox, ShowsTitleTextAndButtonsAndGivesTheAnswer) {
    QtMessageBox port;
    QString seenTitle, seenText;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    // Answer the box once it is up, as the user would.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        box->button(QMessageBox::No)->click();
    });
    const MessageAnswer answer = port.show("No Connection", "There is currently no internet connection present. ",
                                           MessageIcon::Critical, MessageButtons::YesNo);
    EXPECT_EQ(answer, MessageAnswer::No);
    EXPECT_EQ(seenTitle, QStringLiteral("No Connection"));
    EXPECT_EQ(seenText, QStringLiteral("There is currently no internet connection present. "));
    EXPECT_EQ(seenIcon, QMessageBox::Critical);
}

TEST(LocalWebView, ShowsALocalPageWithoutScriptsOrNetwork) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    int connections = 0;
    QObject::connect(&server, &QTcpServer::newConnection, [&] { ++connections; });

    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("iFrame_page.html"));
    std::ofstream(page.toStdString())
        << "<html><head><title>framed</title><script>document.title='scripted';</script></head><body>"
        << "<img src=\"http://127.0.0.1:" << server.serverPort() << "/advert.png\">"
        << "<iframe src=\"http://127.0.0.1:" << server.serverPort() << "/adsbase.html\"></iframe></body></html>";

    setLocalWebFolders({dir.path()});
    QWidget parent;
    QWebEngineView* view = makeLocalWebView(&parent);
    WebView model;
    bind(model, view);
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    model.navigate(page.toStdString());
    ASSERT_TRUE(loaded.wait(30000));
    QTest::qWait(500);  // time for any request the page would make
    EXPECT_EQ(view->url(), QUrl::fromLocalFile(page));
    EXPECT_EQ(view->title(), QStringLiteral("framed"));
    EXPECT_EQ(connections, 0);

    // Enabling or disabling the view does not load the page again.
    model.setEnabled(false);
    model.setEnabled(true);
    QTest::qWait(200);
    EXPECT_EQ(loaded.count(), 1);
}

}  // namespace
}  // namespace selvane::ui
