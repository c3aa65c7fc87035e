#pragma once

namespace selvane::ui {

// What must happen before the QApplication exists: the web engine's sandbox cannot run as root.
void prepareProcess();

// The desktop program: start-up, the main window, the event loop.
int runDesktop(int& argc, char** argv);

}  // namespace selvane::ui
