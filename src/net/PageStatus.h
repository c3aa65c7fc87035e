#pragma once

#include "kit/MainWindow.h"
#include "kit/Ports.h"
#include "net/PageLoader.h"

namespace selvane {

inline constexpr const char* kFetchFailedStatus = "Page could not be fetched";

// "Page could not be fetched: <address> (timed out)", or the load's write failure ("cannot
// write test.html: No space left on device").
std::string fetchFailureText(const LoadedPage& page);

// Why a load failed, without the brackets it is shown in ("HTTP 404", "timed out").
std::string plainCause(const LoadedPage& page);

// The address of a page about to be fetched, in lblStatus while it loads.
void showLoading(MainWindow& w, const std::string& url);

// The command's first failed load (a fetch, or a work file that could not be written), as status
// panel 2 holds it; empty when every load worked.
std::string firstFetchFailure(const MainWindow& w);

// A failed load in status panel 2 and lblStatus, which shows the command's first failure. The
// commands that call it empty panel 2 when they start, so text already there is this command's
// own (a best bet, or its first failure): a later failure must not hide it. A load that worked
// leaves both alone. Live Odds and Live Results report for themselves (showWindowPage).
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

// Live Odds and Live Results open windows over the race on screen and keep its line in status
// panel 2 (the best bet). Their one page load reports for itself: lblStatus ends in "Done" or
// in this load's failure, and a failure stands in panel 2 in the line's place until the next of
// them puts the line back. Called as either command starts.
void startWindowCommand(MainWindow& w);
// showParsedPage for those two commands.
void showWindowPage(MainWindow& w, EventPump* pump, const LoadedPage& page);

}  // namespace selvane
