#pragma once

namespace selvane::ui {

// What must happen before the QApplication exists: the web engine's sandbox cannot run as root.
void prepareProcess();

// The program's name, its desktop file's name and its window icon, once the QApplication exists.
void identifyProgram();

// The desktop program: start-up, the main window, the event loop.
int runDesktop(int& argc, char** argv);

}  // namespace selvane::ui
