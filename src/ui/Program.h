#pragma once

#include <filesystem>
#include <memory>

#include "app/App.h"
#include "promo/SplashWindow.h"
#include "ui/QtPorts.h"

class QMainWindow;

namespace selvane::ui {

class SplashView;

// What must happen before the QApplication exists: the web engine's sandbox cannot run as
// root, and web views need shared GL contexts.
void prepareProcess();

// The program's state with the Qt ports and, once loaded, its main window.
class Desktop {
public:
    explicit Desktop(const std::filesystem::path& programFolder);
    ~Desktop();

    // The splash first: shown, then its load prepares the advert strip while the punter reads
    // it. "I Agree" afterwards opens the main window; "I Disagree" ends the program.
    void showSplash();
    bool splashDeclined() const { return splash_.choice() == SplashWindow::Choice::Declined; }

    // Initialise and load the main window (wire the commands, run its load); shown separately.
    QMainWindow& loadMainWindow();
    void showMainWindow();
    // The window's unload: it goes, the work files with it.
    void unloadMainWindow();

    App& app() { return app_; }
    QMainWindow* view() { return view_.get(); }

private:
    void acceptSplash();

    QtPorts ports_;
    App app_;
    SplashWindow splash_;
    std::unique_ptr<SplashView> splashView_;
    std::unique_ptr<QMainWindow> view_;
};

// The desktop program: start-up, the main window, the event loop.
int runDesktop(int& argc, char** argv);

}  // namespace selvane::ui
