// The results window on screen: the framed page shows on black, a script copied into it does
// not run, files outside the program's folders stay out, and both ways of closing close it.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ModalClose.h"
#include "QtPrinters.h"
#include "results/HtmlSource.h"
#include "results/ResultsWindow.h"
#include "ui/LocalWebView.h"
#include "ui/QtModalWindow.h"
#include "ui/ResultsWindowView.h"

namespace selvane::ui {
namespace {

// White text on black, as writeResultsPage leaves it, with a script that would paint it red.
constexpr const char* kResultsPage =
    "<html><head><title></title></head>\r\n"
    "<body bgcolor=\"#000000\" text=\"#ffffff\">\r\n"
    "<script>document.body.style.background='#ff0000';</script>\r\n"
    "<table width=\"100%\" border=\"1\" cellpadding=\"0\"><tr><td>\r\n"
    "<b>1st 7 SOUTHERN LEGEND WWWWWWWWWWWWWWWWWWWW</b>\r\n</td></tr></table>\r\n</body></html>\r\n";

void write(const QString& path, const std::string& bytes) { std::ofstream(path.toStdString(), std::ios::binary) << bytes; }

struct Colours {
    int black = 0, red = 0, light = 0;
};

Colours count(const QImage& image) {
    Colours c;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (p.red() < 16 && p.green() < 16 && p.blue() < 16) ++c.black;
            if (p.red() > 200 && p.green() < 60 && p.blue() < 60) ++c.red;
            if (p.red() > 150 && p.green() > 150 && p.blue() > 150) ++c.light;
        }
    return c;
}

struct ResultsWindowViewTest : ::testing::Test {
    QTemporaryDir root;
    QString folder = root.filePath(QStringLiteral("program"));
    ResultsWindowViewTest() {
        QDir().mkpath(folder);
        QDir().mkpath(root.filePath(QStringLiteral("outside")));
        setLocalWebFolders({folder});
    }

    // Shows the window over the wrapper that frames `framed`; the web view's picture once loaded.
    QImage show(ResultsWindow& model, ResultsWindowView& view) {
        QSignalSpy loaded(view.webView(), &QWebEngineView::loadFinished);
        model.loadResultPage((std::filesystem::path(folder.toStdString()) / "iFrame_results.html").string());
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
        EXPECT_TRUE(loaded.wait(30000));
        QTest::qWait(800);  // the frame loads and paints after the wrapper
        return view.webView()->grab().toImage();
    }
};

TEST_F(ResultsWindowViewTest, ShowsTheFramedPageOnBlackWithoutRunningItsScript) {
    write(folder + QStringLiteral("/results.html"), kResultsPage);
    frmResults::createHTMLSource(folder.toStdString(), "results.html");
    ResultsWindow model;
    model.lblMeetingName.setCaption("ASHFORD - #05");
    ResultsWindowView view(model);
    const QImage shot = show(model, view);

    EXPECT_EQ(view.windowTitle(), QStringLiteral("Live Results"));
    EXPECT_EQ(view.heading()->text(), QStringLiteral("ASHFORD - #05"));
    EXPECT_TRUE(view.heading()->font().bold());
    // Sized to its caption: as wide as the text and its margin.
    EXPECT_EQ(view.heading()->width(), view.heading()->sizeHint().width());
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(QColor(shot.pixelColor(shot.width() - 3, shot.height() - 3)), QColor(Qt::black));
    const Colours c = count(shot);
    EXPECT_GT(c.black, shot.width() * shot.height() / 2);
    EXPECT_GT(c.light, 50);  // the result text
    EXPECT_EQ(c.red, 0);     // the script did not run
}

TEST_F(ResultsWindowViewTest, AFileOutsideTheProgramsFoldersIsNotShown) {
    write(root.filePath(QStringLiteral("outside/red.html")), "<html><body bgcolor=\"#ff0000\">outside</body></html>");
    frmResults::createHTMLSource(folder.toStdString(), "../outside/red.html");
    ResultsWindow model;
    ResultsWindowView view(model);
    const Colours c = count(show(model, view));
    EXPECT_EQ(c.red, 0);
    EXPECT_GT(c.black, 0);
}

TEST(LocalWebAllows, OnlyFilesUnderTheProgramsFolders) {
    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("program"));
    QDir().mkpath(program);
    setLocalWebFolders({program});
    const std::pair<QUrl, bool> cases[] = {
        {QUrl::fromLocalFile(program + QStringLiteral("/iFrame_results.html")), true},
        {QUrl::fromLocalFile(program + QStringLiteral("/../secret.html")), false},
        {QUrl::fromLocalFile(program + QStringLiteral("2/results.html")), false},  // a sibling sharing the prefix
        {QUrl::fromLocalFile(QStringLiteral("/etc/passwd")), false},
        {QUrl(QStringLiteral("file://host/share/results.html")), false},
        {QUrl(QStringLiteral("http://127.0.0.1/results.html")), false},
        {QUrl(QStringLiteral("https://example.invalid/ad.png")), false},
        {QUrl(QStringLiteral("about:blank")), true},
        {QUrl(QStringLiteral("about:settings")), false},
        {QUrl(QStringLiteral("data:text/html,x")), true},
    };
    for (const auto& [url, allowed] : cases) EXPECT_EQ(localWebAllows(url), allowed) << url.toString().toStdString();
}

TEST(ResultsWindowClose, CloseButtonTitleBarAndTheModalPort) {
    for (test::CloseBy by : {test::CloseBy::CloseButton, test::CloseBy::TitleBar}) {
        ResultsWindow model;
        test::showThenClose(model, "frmResults", by);
        EXPECT_TRUE(model.closed());
    }
}

}  // namespace
}  // namespace selvane::ui
