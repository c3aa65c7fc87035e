#pragma once

#include "kit/MainWindow.h"
#include "kit/Ports.h"
#include "net/PageLoader.h"

namespace selvane {

inline constexpr const char* kFetchFailedStatus = "Page could not be fetched";

// "Page could not be fetched: <address> (timed out)", or the load's write failure ("cannot
// write test.html: No space left on device").
std::string fetchFailureText(const LoadedPage& page);

// The address of a page about to be fetched, in lblStatus while it loads.
void showLoading(MainWindow& w, const std::string& url);

// The command's first failed load (a fetch, or a work file that could not be written), as status
// panel 2 holds it; empty when every load worked.
std::string firstFetchFailure(const MainWindow& w);

// A failed load in status panel 2 and lblStatus, which shows the command's first failure. Every command empties panel 2 when it
// starts, so text already there is this command's own (a best bet, or its first failure):
// a later failure must not hide it. A load that worked leaves both alone.
void reportLoad(MainWindow& w, const LoadedPage& page);
// A work file of the command that could not be written ("cannot write NAME: reason"), shown as
// reportLoad shows a failed load.
void reportWriteFailure(MainWindow& w, const std::string& failure);

// What the main window shows of a Parse: the load steps in lblStatus and the page title,
// letting window events run between them, and the page's markup and file in the window's
// fields; a failure as reportLoad says. After a failed load of the same command the last step
// shows that failure, not "Done".
void showParsedPage(MainWindow& w, EventPump* pump, const LoadedPage& page);
// The same for a page that is not kept: its markup moves into the window.
void showParsedPage(MainWindow& w, EventPump* pump, LoadedPage&& page);

}  // namespace selvane
