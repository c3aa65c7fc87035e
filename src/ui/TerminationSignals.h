#pragma once

namespace selvane::ui {

// SIGTERM, SIGINT and SIGHUP (a session ending, a kill, Ctrl+C) end the event loop like a
// close does, so the window unloads and the work files go.
// First, before anything else: from here on such a signal is held, not fatal.
void catchTerminationSignals();
// Then, once the QApplication exists: a held or later signal quits its event loop.
void quitOnTerminationSignals();
// A signal already handled before the event loop ran (quit() does nothing then).
bool terminationRequested();

}  // namespace selvane::ui
