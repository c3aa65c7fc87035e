// The table the program finds in selvane-windows.so (and the tests link in).
#include <QDialog>
#include <QMainWindow>
#include <QQuickWindow>

#include "ui/HistoryWindow.h"
#include "ui/LocalWebView.h"
#include "ui/MainWindowView.h"
#include "ui/ResultsWindowView.h"
#include "ui/ReviewWindow.h"
#include "ui/WebWindows.h"

namespace selvane::ui {

const WebWindows& linkedWebWindows() {
    static const WebWindows windows{
        &setLocalWebFolders,
        [](App& app) -> QMainWindow* { return new MainWindowView(app); },
        [](QMainWindow* window) { return static_cast<MainWindowView*>(window)->ticker(); },
        [](ResultsWindow& model, QWidget* parent) -> QDialog* { return new ResultsWindowView(model, parent); },
        [](RecordSwitch record, QWidget* parent) -> QDialog* {
            auto* window = new HistoryWindow(std::move(record), parent);
            window->showRange(QDate::currentDate().addDays(-6), QDate::currentDate());
            return window;
        },
        [](ReviewRequest base, QWidget* parent) -> QDialog* { return new ReviewWindow(std::move(base), parent); },
    };
    return windows;
}

}  // namespace selvane::ui

extern "C" __attribute__((visibility("default"))) const selvane::ui::WebWindows* selvane_web_windows() {
    // Linked into the program the web engine would have chosen OpenGL for Qt Quick before the
    // application started; loaded after it, it leaves that to us.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGL);
    return &selvane::ui::linkedWebWindows();
}
