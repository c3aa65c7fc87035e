#pragma once

namespace selvane::ui {

// What must happen before the QApplication exists: the web engine's sandbox cannot run as root.
void prepareProcess();

// The program's name and its desktop file's name, once the QApplication exists.
void identifyProgram();
// The windows' icon, in every size a desktop may ask for.
void giveWindowIcon();

// The desktop program: start-up, the main window, the event loop.
int runDesktop(int& argc, char** argv);

}  // namespace selvane::ui
