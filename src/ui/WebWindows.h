#pragma once

#include <QStringList>

#include "review/ReviewRunner.h"
#include "ui/HistoryWindow.h"

class QDialog;
class QLabel;
class QMainWindow;
class QWidget;

namespace selvane {
struct App;
class ResultsWindow;
}  // namespace selvane

namespace selvane::ui {

// The windows that hold web views (the main window and the results window) and those with charts
// (History, Review). They live in a library of their own (selvane-windows.so) that the program loads once the splash is up: the
// web engine takes longer to load, with the GL context it sets up, than the splash to show.
struct WebWindows {
    // The folders local web views may show (setLocalWebFolders).
    void (*setLocalFolders)(const QStringList& folders);
    QMainWindow* (*mainWindow)(App& app);
    QLabel* (*ticker)(QMainWindow* mainWindow);
    QDialog* (*resultsWindow)(ResultsWindow& model, QWidget* parent);
    // A History window over the record, showing the last week's races.
    QDialog* (*historyWindow)(RecordSwitch record, QWidget* parent);
    // A Review window; base holds the services, limits and record file of every review it runs.
    QDialog* (*reviewWindow)(ReviewRequest base, QWidget* parent);
};

// Loaded on first use from beside the executable, else from the installed library folder; a
// missing or broken library ends the program with the loader's reason.
const WebWindows& webWindows();
// For a program that links the windows in (the tests): use these, load nothing.
void useWebWindows(const WebWindows& windows);
// The windows' own table, defined in the library.
const WebWindows& linkedWebWindows();

}  // namespace selvane::ui
