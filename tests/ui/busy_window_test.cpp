// The busy bracket on the real window while a command waits for a slow page: the window keeps
// painting, and what it paints is disabled, under the hourglass.
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "app/App.h"
#include "app/Commands.h"
#include "kit/FakePorts.h"
#include "app/MainWindowLoad.h"
#include "standin/Server.h"
#include "ui/MainWindowView.h"
#include "ui/QtPorts.h"

namespace selvane::ui {
namespace {

// Paints of a widget while it is disabled.
class DisabledPaints : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !static_cast<QWidget*>(watched)->isEnabled()) ++count;
        return false;
    }
};

TEST(BusyWindow, StaysPaintedAndDisabledWhileItsFetchRuns) {
    standin::Options options;
    options.now = "2026-12-06T14:00";
    options.fault = standin::Fault::Slow;
    options.faultPath = "/cgi-bin/tvf/access.pl";
    options.slowMs = 600;
    standin::Server web(options);
    web.start();

    QTemporaryDir folder;
    FakePorts fakes;
    QtEventPump pump;
    QtPointer pointer;
    Ports ports = fakes.ports();
    ports.pump = &pump;
    ports.pointer = &pointer;
    ports.connectivity = &fakes.connectivity;
    App app(folder.path().toStdString(), ports, Services{web.formGuideUrl(), web.resultsSiteRoot(), web.makerSiteUrl()});
    MainWindowView view(app);
    wireCommands(app);
    loadMainWindow(app);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    auto* download = view.findChild<QPushButton*>(QStringLiteral("cmdDownload"));
    auto* races = view.findChild<QTreeWidget*>(QStringLiteral("lstRaceName"));
    ASSERT_NE(download, nullptr);
    ASSERT_NE(races, nullptr);
    const QRect button(download->mapTo(&view, QPoint(0, 0)), download->size());
    auto shotOfButton = [&] { return view.screen()->grabWindow(view.winId()).toImage().copy(button); };
    const QImage idle = shotOfButton();

    DisabledPaints paints;
    download->installEventFilter(&paints);
    struct Seen {
        bool sampled = false, downloadEnabled = true, racesEnabled = true, hourglass = false, commandDone = true;
        QImage button;
    } seen;
    // Half-way through the first slow page.
    QTimer::singleShot(300, &view, [&] {
        seen.sampled = true;
        seen.downloadEnabled = download->isEnabled();
        seen.racesEnabled = races->isEnabled();
        seen.hourglass = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        seen.commandDone = app.window.cmbTrackName.count() > 0;
        seen.button = shotOfButton();
    });
    QTest::mouseClick(download, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.window.cmbTrackName.count() > 0 && download->isEnabled(); }, 30000));
    download->removeEventFilter(&paints);

    ASSERT_TRUE(seen.sampled);
    EXPECT_FALSE(seen.commandDone);
    EXPECT_FALSE(seen.downloadEnabled);
    EXPECT_FALSE(seen.racesEnabled);
    EXPECT_TRUE(seen.hourglass);
    EXPECT_GT(paints.count, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // On the screen, not only in the widget: the button looked disabled while the page came.
    app.window.cmdDownload.setEnabled(false);
    QTest::qWait(100);
    const QImage disabled = shotOfButton();
    EXPECT_NE(disabled, idle);
    EXPECT_EQ(seen.button, disabled);
}

}  // namespace
}  // namespace selvane::ui
