// A punter inside the real program, loaded through Qt's generic plug-in hook by e2e_race.sh:
// "I Agree" once the advert is ready, Download Race Meetings, a track, a race, Live Odds, Live
// Results; it checks what only the window shows (busy window, best bet's colour, ticker moving,
// the best bet kept) and saves the window (SELVANE_E2E_SHOT), the splash, a tip's tooltip and the
// two windows and the window after them (-splash, -tooltip, -odds, -results, -after.png beside it).
// SELVANE_E2E_PALETTE=dark runs it in a dark theme.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGenericPlugin>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <tuple>

#include "dark_palette.h"

namespace {

QString env(const char* name) { return qEnvironmentVariable(name); }

// The frame page's third line names the framed page, once the advert is ready.
QString framedPage() {
    QFile page(QCoreApplication::applicationDirPath() + QStringLiteral("/iFrame_page.html"));
    const QList<QByteArray> lines = page.open(QIODevice::ReadOnly) ? page.readAll().split('\n') : QList<QByteArray>();
    return lines.size() > 2 ? QString::fromUtf8(lines[2]).trimmed() : QString();
}

class Driver : public QObject {
public:
    Driver() {
        // SELVANE_E2E_PALETTE=dark: the run in a dark theme, as a desktop's dark palette gives it.
        if (env("SELVANE_E2E_PALETTE") == QLatin1String("dark")) {
            QApplication::setStyle(QStringLiteral("Fusion"));
            QApplication::setPalette(darkPalette());
        }
        connect(&poll_, &QTimer::timeout, this, [this] { poll(); });
        poll_.start(100);
        QTimer::singleShot(150000, this, [this] {
            failures_ << QStringLiteral("the run passed its time limit during: ") + step_;
            writeReport();
            std::_Exit(3);  // a nested wait cannot be unwound from here
        });
    }

private:
    bool eventFilter(QObject* watched, QEvent* event) override {
        disabledSeen_ |= event->type() == QEvent::EnabledChange && !static_cast<QWidget*>(watched)->isEnabled();
        return false;
    }

    // Once the advert is ready: the splash pictured, then "I Agree" (again on each poll until the
    // main window comes: a press while the splash is busy does nothing).
    void poll() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (window_ || !top->isVisible()) continue;
            auto* ok = top->findChild<QPushButton*>(QStringLiteral("cmdOK"));
            if (top->objectName() == QLatin1String("frmSplash") && ok && !framedPage().isEmpty()) {
                if (!splashShot_) save(top->frameGeometry(), QStringLiteral("-splash"));
                splashShot_ = true;
                QTest::mouseClick(ok, Qt::LeftButton);
            }
            if (top->objectName() != QLatin1String("frmParser")) continue;
            window_ = top;
            QTimer::singleShot(0, this, [this] {
                try {
                    drive();
                } catch (const std::exception& e) {
                    failures_ << QStringLiteral("stopped: ") + QString::fromUtf8(e.what());
                }
                writeReport();
                window_->close();
            });
        }
    }

    template <typename W = QWidget>
    W* need(const char* name) {
        W* w = window_->findChild<W*>(QString::fromLatin1(name));
        if (!w) throw std::runtime_error(std::string("no widget named ") + name);
        return w;
    }
    void waitUntil(const std::function<bool()>& done, const QString& what) {
        step_ = what;
        if (!QTest::qWaitFor(done, 30000)) throw std::runtime_error("waited 30 s for: " + what.toStdString());
    }
    void expect(bool ok, const QString& what) {
        if (!ok) failures_ << what;
    }

    // The screen's picture of area, beside the window's screenshot; not nearly blank.
    void save(const QRect& area, const QString& suffix) {
        const QString path = env("SELVANE_E2E_SHOT").chopped(4) + suffix + QStringLiteral(".png");
        const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < shot.height(); y += 7)
            for (int x = 0; x < shot.width(); x += 7) colours << shot.pixel(x, y);
        expect(colours.size() > 8 && shot.save(path, "PNG"), QStringLiteral("%1 not written or nearly blank").arg(path));
        notes_ << QStringLiteral("screenshot %1: %2x%3").arg(path).arg(shot.width()).arg(shot.height());
    }

    void drive() {
        step_ = QStringLiteral("the window showing");
        if (!QTest::qWaitForWindowExposed(window_->windowHandle(), 30000)) throw std::runtime_error("the window never showed");
        // Right after "I Agree": the strip shows the frame page around the maker's advert.
        const QUrl strip = need("WebBrowser1")->property("url").toUrl();
        expect(strip.fileName() == QStringLiteral("iFrame_page.html"), QStringLiteral("the strip shows ") + strip.toString());
        expect(framedPage() == QStringLiteral("<iframe src=\"adsbase.html\""), QStringLiteral("the frame page frames ") + framedPage());
        auto* download = need<QPushButton>("cmdDownload");
        auto* tracks = need<QComboBox>("cmbTrackName");
        auto* races = need<QTreeWidget>("lstRaceName");
        auto* tips = need<QTreeWidget>("lstTips");
        auto* grid = need<QTableWidget>("msfResults");
        auto* ticker = need<QLabel>("lblScrollResults");
        auto* status = need<QLabel>("stBarPanel2");

        download->installEventFilter(this);
        QTest::mouseClick(download, Qt::LeftButton);
        waitUntil([&] { return disabledSeen_ && download->isEnabled() && tracks->count() > 1; }, QStringLiteral("the busy window, then the meetings"));

        // The second meeting, chosen from the keyboard, and its second race, double-clicked on its
        // race number (the row is wider than the list): run by 14:00, with later races to come.
        const QString track = tracks->itemText(1);
        tracks->setFocus();
        QTest::keyClick(tracks, Qt::Key_Down);
        waitUntil([&] { return need<QLabel>("lblMeeting")->text() == QStringLiteral("Meeting: ") + track && races->topLevelItemCount() > 1; },
                  QStringLiteral("the races of ") + track);
        const QPoint at(races->header()->sectionViewportPosition(1) + 10, races->visualItemRect(races->topLevelItem(1)).center().y());
        QTest::mouseClick(races->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(races->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(races->viewport(), Qt::LeftButton, {}, at);
        waitUntil([&] { return download->isEnabled() && tips->topLevelItemCount() > 0 && need<QTreeWidget>("lstResults")->topLevelItemCount() > 0; },
                  QStringLiteral("the tips of race 2 of ") + track);
        QTest::qWait(300);  // the results come last in the same command; let queued paints run out

        expect(tips->topLevelItemCount() == 5, QStringLiteral("%1 tips shown").arg(tips->topLevelItemCount()));
        QStringList coloured;  // the best bet's grid row, and only it, on cyan (the header row is the table's)
        for (int r = 0; r < grid->rowCount(); ++r)
            if (grid->item(r, 1) && grid->item(r, 1)->background().color() == QColor(0x00, 0xC0, 0xC0)) coloured << QString::number(r);
        expect(coloured.size() == 1, QStringLiteral("grid rows on the best bet's colour: ") + coloured.join(QLatin1Char(' ')));
        expect(status->text().startsWith(QStringLiteral("Tip each way best bet")), QStringLiteral("the status bar shows ") + status->text());
        // The ticker moves along its strip: 4 twips a tick, a pixel every few ticks.
        const int before = ticker->x();
        expect(!ticker->text().isEmpty() && QTest::qWaitFor([&] { return ticker->x() < before; }, 5000),
               QStringLiteral("the ticker \"%1\" stood still at x=%2 for 5 s").arg(ticker->text()).arg(before));
        notes_ << QStringLiteral("%1 race 2: %2 tips, \"%3\"").arg(track).arg(tips->topLevelItemCount()).arg(status->text());
        save(window_->frameGeometry(), {});

        // The first tip's tooltip explains its working, shown over the window as the screen has it.
        const QPoint cell(tips->header()->sectionViewportPosition(2) + 5, tips->visualItemRect(tips->topLevelItem(0)).center().y());
        QTest::mouseMove(tips->viewport(), cell);
        QHelpEvent help(QEvent::ToolTip, cell, tips->viewport()->mapToGlobal(cell));
        QApplication::sendEvent(tips->viewport(), &help);
        waitUntil([] { return QToolTip::isVisible(); }, QStringLiteral("the first tip's tooltip"));
        expect(QToolTip::text() == tips->topLevelItem(0)->toolTip(2) && QToolTip::text().startsWith(QStringLiteral("form ")),
               QStringLiteral("the first tip's tooltip shows \"%1\"").arg(QToolTip::text()));
        QTest::qWait(300);
        QRect area = window_->frameGeometry();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->inherits("QTipLabel") && top->isVisible()) area |= top->frameGeometry();
        save(area, QStringLiteral("-tooltip"));
        QToolTip::hideText();

        // Live Odds and Live Results: each window pictured and closed; the best bet stays. The
        // windows are modal, so a timer inside their own event loop does the looking.
        const QString bestBet = status->text();
        for (const auto& [button, name, suffix] : {std::tuple{"cmdLiveOdds", "frmLiveOdds", "-odds"},
                                                   std::tuple{"cmdLiveResults", "frmResults", "-results"}}) {
            bool closed = false;
            QElapsedTimer seen;
            QTimer look;
            connect(&look, &QTimer::timeout, this, [&, name = name, suffix = suffix] {
                QWidget* shown = nullptr;
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (top->objectName() == QLatin1String(name) && top->isVisible()) shown = top;
                if (!shown || closed) return;
                if (!seen.isValid()) seen.start();
                if (seen.elapsed() < 1500) return;  // the web view paints later
                save(shown->frameGeometry(), QString::fromLatin1(suffix));
                if (auto* odds = shown->findChild<QTreeWidget*>(QStringLiteral("lstOddsSort")))
                    expect(odds->topLevelItemCount() > 0, QStringLiteral("the odds window shows no runner"));
                closed = true;
                QTest::mouseClick(shown->findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
            });
            look.start(100);
            QTest::mouseClick(need<QPushButton>(button), Qt::LeftButton);
            waitUntil([&] { return closed && download->isEnabled(); }, QString::fromLatin1(name));
            expect(status->text() == bestBet,
                   QStringLiteral("after %1 the status bar shows %2").arg(button, status->text()));
        }
        save(window_->frameGeometry(), QStringLiteral("-after"));
    }

    void writeReport() {
        QStringList lines{failures_.isEmpty() ? QStringLiteral("PASS") : QStringLiteral("FAIL")};
        for (const QString& f : failures_) lines << QStringLiteral("  failed: ") + f;
        for (const QString& n : notes_) lines << QStringLiteral("  ") + n;
        QFile out(env("SELVANE_E2E_REPORT"));
        if (out.open(QIODevice::WriteOnly)) out.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }

    QTimer poll_;
    QWidget* window_ = nullptr;
    bool splashShot_ = false, disabledSeen_ = false;
    QString step_ = QStringLiteral("waiting for the main window");
    QStringList failures_, notes_;
};

class DriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "e2e_driver.json")

public:
    QObject* create(const QString& key, const QString&) override {
        // Only the program under test: its helper processes inherit the environment.
        qunsetenv("QT_QPA_GENERIC_PLUGINS");
        const QString program = env("SELVANE_E2E_PROGRAM");
        if (key != QLatin1String("selvane-e2e") || program.isEmpty() ||
            QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath() != QFileInfo(program).canonicalFilePath())
            return nullptr;
        return new Driver;
    }
};

}  // namespace

#include "e2e_driver.moc"
