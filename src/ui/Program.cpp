#include "ui/Program.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QShortcut>
#include <QTimer>
#include <QTreeWidget>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <latch>
#include <thread>
#include <utility>

#include "app/App.h"
#include "app/Commands.h"
#include "app/ExitCleanUp.h"
#include "app/MainWindowLoad.h"
#include "app/RecordWriter.h"
#include "kit/Entry.h"
#include "kit/InstanceBell.h"
#include "net/WorkFiles.h"
#include "promo/AdvertFrame.h"
#include "promo/SplashWindow.h"
#include "record/Record.h"
#include "ui/InfoOptions.h"
#include "ui/QtPorts.h"
#include "ui/RaiseOnRing.h"
#include "ui/SplashView.h"
#include "ui/TerminationSignals.h"
#include "ui/WebWindows.h"

namespace selvane::ui {

void prepareProcess() {
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // No Qt::AA_ShareOpenGLContexts here: it would make a GL context before the splash. Linked
    // in, the web engine sets it as its library loads; loaded later, webWindows() makes it.
}

void identifyProgram() {
    QApplication::setApplicationName(QStringLiteral("selvane"));
    // The desktop matches the windows to the menu entry (and its icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(SELVANE_APP_ID));
}

void giveWindowIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/selvane-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
}

namespace {

// Where the punter's choice to record or not is kept.
constexpr const char* kRecordSetting = "record/on";

QSettings settings() { return QSettings(QStringLiteral("selvane"), QStringLiteral("selvane")); }

// The program's state with the Qt ports and, once loaded, its main window.
class Desktop {
public:
    Desktop(const std::filesystem::path& programFolder, std::string wanted)
        : app_(programFolder, ports_.ports()), splash_(&ports_.exit), wanted_(std::move(wanted)) {}
    ~Desktop() {
        splashView_.reset();
        unloadMainWindow();
    }

    // The splash first: shown, then its load prepares the advert strip while the punter reads
    // it. "I Agree" afterwards opens the main window; "I Disagree" ends the program.
    void showSplash();
    bool splashDeclined() const { return splash_.choice() == SplashWindow::Choice::Declined; }
    // The window the punter has open: the main window once shown, else the splash.
    QWidget* frontWindow() const {
        if (view_ && view_->isVisible()) return view_.get();
        return splashView_.get();
    }
    // A second start's ring: the window it asks for once the main window is up, else the one open.
    QWidget* answerRing(const std::string& wanted);

    // The window's unload: it goes, the work files with it; whatever the record was handed is
    // written first.
    void unloadMainWindow() {
        history_.clear();
        review_.clear();
        view_.reset();
        writer_.reset();
        exitCleanUp(app_.programFolder);
    }

private:
    void acceptSplash();
    // Made and loaded (the commands wired, its load run) on first use.
    void showMainWindow();
    // The History and Review windows: from a context menu on the race and tip lists, and a
    // shortcut; the main window's own layout stays as it is.
    void offerWindows();
    QWidget* openWindow(const std::string& wanted);
    QWidget* openHistory();
    QWidget* openReview();
    void record(bool on);

    QtPorts ports_;
    App app_;
    SplashWindow splash_;
    std::string wanted_;
    std::unique_ptr<SplashView> splashView_;
    std::unique_ptr<QMainWindow> view_;
    QPointer<QDialog> history_;
    QPointer<QDialog> review_;
    // Queued calls from the record's thread die with it.
    QObject uiThread_;
    std::unique_ptr<RecordWriter> writer_;
};

void Desktop::record(bool on) {
    const std::filesystem::path file = record::defaultRecordFile();
    if (!on || file.empty()) {
        writer_.reset();
        return;
    }
    if (writer_) return;
    writer_ = std::make_unique<RecordWriter>(file, [this](const std::string& text) {
        QMetaObject::invokeMethod(
            &uiThread_, [this, text] { app_.window.lblStatus.setCaption(text); }, Qt::QueuedConnection);
    });
}

QWidget* Desktop::openHistory() {
    if (!history_) {
        RecordSwitch s{record::defaultRecordFile(), writer_ != nullptr, [this](bool on) {
                           settings().setValue(QString::fromLatin1(kRecordSetting), on);
                           record(on);
                       }};
        history_ = webWindows().historyWindow(std::move(s), view_.get());
        history_->setWindowFlag(Qt::Window, true);
        history_->setAttribute(Qt::WA_DeleteOnClose);
    }
    history_->show();
    return history_;
}

QWidget* Desktop::openReview() {
    // One closed while its review was stopping goes by itself once stopped.
    if (review_ && review_->isHidden()) review_.clear();
    if (!review_) {
        ReviewRequest base;
        base.services = app_.services;
        base.limits = app_.limits;
        // Read first and added to, as the CLI's review does, unless the punter turned the record off.
        if (writer_) base.recordFile = record::defaultRecordFile();
        review_ = webWindows().reviewWindow(std::move(base), view_.get());
        review_->setWindowFlag(Qt::Window, true);
        review_->setAttribute(Qt::WA_DeleteOnClose);
    }
    review_->show();
    return review_;
}

QWidget* Desktop::openWindow(const std::string& wanted) {
    if (wanted == "history") return openHistory();
    if (wanted == "review") return openReview();
    return view_.get();
}

QWidget* Desktop::answerRing(const std::string& wanted) {
    if (!view_ || !view_->isVisible()) {
        // Still at the splash: the window comes once the punter agrees.
        if (!wanted.empty()) wanted_ = wanted;
        return frontWindow();
    }
    return openWindow(wanted);
}

void Desktop::offerWindows() {
    const auto menu = [this](QTreeWidget* list) {
        if (!list) return;
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(list, &QWidget::customContextMenuRequested, list, [this, list](const QPoint& at) {
            QMenu m(list);
            QAction* history = m.addAction(QStringLiteral("&History..."));
            history->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
            QObject::connect(history, &QAction::triggered, list, [this] { openHistory(); });
            QAction* review = m.addAction(QStringLiteral("&Review..."));
            review->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
            QObject::connect(review, &QAction::triggered, list, [this] { openReview(); });
            m.exec(list->viewport()->mapToGlobal(at));
        });
    };
    menu(view_->findChild<QTreeWidget*>(QStringLiteral("lstRaceName")));
    menu(view_->findChild<QTreeWidget*>(QStringLiteral("lstTips")));
    auto* history = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), view_.get());
    QObject::connect(history, &QShortcut::activated, view_.get(), [this] { openHistory(); });
    auto* review = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), view_.get());
    QObject::connect(review, &QShortcut::activated, view_.get(), [this] { openReview(); });
}

void Desktop::showSplash() {
    splash_.onAgreed = [this] { acceptSplash(); };
    splashView_ = std::make_unique<SplashView>(splash_, app_.programFolder);
    splashView_->show();
    // The window goes up and paints before the advert is fetched; its icon follows, as turning
    // seven sizes into the window's property held it back.
    QTimer::singleShot(0, [] { giveWindowIcon(); });
    QCoreApplication::processEvents();
    // Only the main window's models exist yet: the strip's web view comes with the window.
    const AdvertOutcome advert =
        loadSplash(app_.programFolder, app_.services.makerSite, app_.ports, splash_, app_.window.WebBrowser1);
    app_.connection = ConnectionState{advert.online, advert.connectionFlags, advert.connectionName};
    // While the punter reads, so that "I Agree" brings the main window at once.
    if (!splashDeclined()) webWindows();
}

void Desktop::acceptSplash() {
    // The main window shows before the splash goes, so the program never has no window open.
    showMainWindow();
    // Hidden, not destroyed: this runs inside the splash's own button handler. It goes with
    // the program.
    if (splashView_) splashView_->hide();
}

void Desktop::showMainWindow() {
    if (!view_) {
        const WebWindows& windows = webWindows();
        windows.setLocalFolders(
            {QString::fromStdString(app_.programFolder.string()), QCoreApplication::applicationDirPath()});
        view_.reset(windows.mainWindow(app_));
        ports_.messages.parent = view_.get();
        ports_.modal.parent = view_.get();
        ports_.measure.fontOf = windows.ticker(view_.get());
        record(settings().value(QString::fromLatin1(kRecordSetting), true).toBool());
        wireCommands(app_, [this](const std::string& at, const LiveOddsRun* odds) {
            if (writer_) recordShown(app_, *writer_)(at, odds);
        });
        loadMainWindow(app_);
        offerWindows();
    }
    view_->show();
    if (!wanted_.empty()) openWindow(std::exchange(wanted_, {}));
}

}  // namespace

int runDesktop(int& argc, char** argv) {
    catchTerminationSignals();
    // The fonts get ready on another core while Qt starts: fontconfig reads its configuration and
    // caches, then, once the application exists, Qt fills its font database and matches the
    // splash's font. The splash's first line of text would wait for both.
    std::latch applicationMade(1);
    std::jthread fonts([&applicationMade] {
        FcInit();
        applicationMade.wait();
        if (QCoreApplication::instance())
            QFontMetrics(QFont(QString::fromLatin1(SplashWindow::kFont), 9)).height();
    });
    // Let go and joined on every way out, before the application goes.
    struct FontsEnd {
        std::latch& made;
        std::jthread& thread;
        void operator()() const {
            if (!made.try_wait()) made.count_down();
            if (thread.joinable()) thread.join();
        }
        ~FontsEnd() { (*this)(); }
    } endFonts{applicationMade, fonts};
    const std::string wanted = wantedWindow(argc, argv);
    std::unique_ptr<QApplication> application;
    std::unique_ptr<Desktop> desktop;
    std::unique_ptr<QObject> bellWatch;
    StartUp steps;
    // The folder is chosen before the windowing system starts, so that its lock comes first.
    std::error_code ec;
    std::filesystem::path exeFolder = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    if (ec) exeFolder = std::filesystem::absolute(argv[0], ec).parent_path();
    steps.programFolder = chooseProgramFolder(exeFolder);
    steps.initialise = [&] {
        prepareProcess();
        application = std::make_unique<QApplication>(argc, argv);
        applicationMade.count_down();
        identifyProgram();
        quitOnTerminationSignals();
        desktop = std::make_unique<Desktop>(steps.programFolder, wanted);
    };
    // A second start brings the running program's window to the front, and opens the window it
    // was asked for there.
    const char* token = std::getenv("XDG_ACTIVATION_TOKEN");
    steps.bellWords = ringWords(wanted, token ? token : "");
    steps.watchBell = [&](InstanceBell& bell) {
        bellWatch.reset(answerRings(bell, [&](const std::string& w) { return desktop->answerRing(w); }));
    };
    steps.pumpEvents = [] { QCoreApplication::processEvents(); };
    steps.showFirstWindow = [&] { desktop->showSplash(); };
    steps.runEventLoop = [&] {
        // Declined while the advert loaded: no event loop ran to end, so end here.
        const int code = terminationRequested() || desktop->splashDeclined() ? 0 : QApplication::exec();
        bellWatch.reset();  // the bell goes next
        desktop->unloadMainWindow();
        return code;
    };
    const int code = runEntry(steps);
    endFonts();
    bellWatch.reset();
    desktop.reset();
    application.reset();
    return code;
}

}  // namespace selvane::ui
