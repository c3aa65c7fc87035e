#include "ui/Program.h"

#include <unistd.h>

#include <QApplication>
#include <QLabel>

#include "app/Commands.h"
#include "kit/Entry.h"
#include "app/ExitCleanUp.h"
#include "app/MainWindowLoad.h"
#include "net/WorkFiles.h"
#include "ui/LocalWebView.h"
#include "ui/MainWindowView.h"
#include "ui/TerminationSignals.h"

namespace selvane::ui {

void prepareProcess() {
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

Desktop::Desktop(const std::filesystem::path& programFolder) : app_(programFolder, ports_.ports()) {
    setLocalWebFolders({QString::fromStdString(programFolder.string()), QCoreApplication::applicationDirPath()});
}

Desktop::~Desktop() {
    unloadMainWindow();
}

MainWindowView& Desktop::loadMainWindow() {
    if (!view_) {
        view_ = std::make_unique<MainWindowView>(app_);
        ports_.messages.parent = view_.get();
        ports_.modal.parent = view_.get();
        ports_.measure.fontOf = view_->ticker();
        wireCommands(app_);
        selvane::loadMainWindow(app_);
    }
    return *view_;
}

void Desktop::showMainWindow() {
    loadMainWindow().show();
}

void Desktop::unloadMainWindow() {
    view_.reset();
    exitCleanUp(app_.programFolder);
}

int runDesktop(int& argc, char** argv) {
    catchTerminationSignals();
    std::unique_ptr<QApplication> application;
    std::unique_ptr<Desktop> desktop;
    StartUp steps;
    // The folder is chosen before the windowing system starts, so that its lock comes first.
    std::error_code ec;
    std::filesystem::path exeFolder = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    if (ec) exeFolder = std::filesystem::absolute(argv[0], ec).parent_path();
    steps.programFolder = chooseProgramFolder(exeFolder);
    steps.initialise = [&] {
        prepareProcess();
        application = std::make_unique<QApplication>(argc, argv);
        QApplication::setApplicationName(QStringLiteral("selvane"));
        quitOnTerminationSignals();
        desktop = std::make_unique<Desktop>(steps.programFolder);
    };
    steps.pumpEvents = [] { QCoreApplication::processEvents(); };
    // The splash window comes first once it exists; accepting it shows the main window.
    steps.showFirstWindow = [&] { desktop->showMainWindow(); };
    steps.runEventLoop = [&] {
        const int code = terminationRequested() ? 0 : QApplication::exec();
        desktop->unloadMainWindow();
        return code;
    };
    const int code = runEntry(steps);
    desktop.reset();
    application.reset();
    return code;
}

}  // namespace selvane::ui
