#include "ui/Program.h"

#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/App.h"
#include "app/Commands.h"
#include "app/ExitCleanUp.h"
#include "app/MainWindowLoad.h"
#include "kit/Entry.h"
#include "kit/InstanceBell.h"
#include "net/WorkFiles.h"
#include "promo/AdvertFrame.h"
#include "promo/SplashWindow.h"
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
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/selvane-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
}

namespace {

// The program's state with the Qt ports and, once loaded, its main window.
class Desktop {
public:
    explicit Desktop(const std::filesystem::path& programFolder)
        : app_(programFolder, ports_.ports()), splash_(&ports_.exit) {}
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

    // The window's unload: it goes, the work files with it.
    void unloadMainWindow() {
        view_.reset();
        exitCleanUp(app_.programFolder);
    }

private:
    void acceptSplash();
    // Made and loaded (the commands wired, its load run) on first use.
    void showMainWindow();

    QtPorts ports_;
    App app_;
    SplashWindow splash_;
    std::unique_ptr<SplashView> splashView_;
    std::unique_ptr<QMainWindow> view_;
};

void Desktop::showSplash() {
    splash_.onAgreed = [this] { acceptSplash(); };
    splashView_ = std::make_unique<SplashView>(splash_, app_.programFolder);
    splashView_->show();
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
        wireCommands(app_);
        loadMainWindow(app_);
    }
    view_->show();
}

}  // namespace

int runDesktop(int& argc, char** argv) {
    catchTerminationSignals();
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
        identifyProgram();
        quitOnTerminationSignals();
        desktop = std::make_unique<Desktop>(steps.programFolder);
    };
    // A second start brings the running program's window to the front.
    if (const char* token = std::getenv("XDG_ACTIVATION_TOKEN")) steps.bellWords = token;
    steps.watchBell = [&](InstanceBell& bell) {
        bellWatch.reset(raiseOnRing(bell, [&] { return desktop->frontWindow(); }));
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
    bellWatch.reset();
    desktop.reset();
    application.reset();
    return code;
}

}  // namespace selvane::ui
