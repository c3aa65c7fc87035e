#include "net/PageStatus.h"

#include <utility>

#include "net/WorkFiles.h"

namespace selvane {

std::string fetchFailureText(const LoadedPage& page) {
    if (!page.writeFailure.empty()) return page.writeFailure;
    std::string text = std::string(kFetchFailedStatus) + ": " + page.url;
    if (!page.cause.empty()) text += " " + page.cause;
    return text;
}

std::string plainCause(const LoadedPage& page) {
    if (!page.writeFailure.empty()) return page.writeFailure;
    const std::string& c = page.cause;
    if (c.size() > 2 && c.front() == '(' && c.back() == ')') return c.substr(1, c.size() - 2);
    return c.empty() ? "the page could not be fetched" : c;
}

void showLoading(MainWindow& w, const std::string& url) { w.lblStatus.setCaption("Loading " + url + "..."); }

std::string firstFetchFailure(const MainWindow& w) {
    const std::string& panel = w.stBar.panel(2);
    const bool failure = panel.rfind(kFetchFailedStatus, 0) == 0 || panel.rfind(kWriteFailurePrefix, 0) == 0;
    return failure ? panel : std::string();
}

namespace {

void reportFailure(MainWindow& w, const std::string& text) {
    if (w.stBar.panel(2).empty()) w.stBar.setPanel(2, text);
    const std::string first = firstFetchFailure(w);
    w.lblStatus.setCaption(first.empty() ? text : first);
}

}  // namespace

void reportLoad(MainWindow& w, const LoadedPage& page) {
    if (!page.ok) reportFailure(w, fetchFailureText(page));
}

void reportWriteFailure(MainWindow& w, const std::string& failure) { reportFailure(w, failure); }

namespace {

enum class Report { FirstOfCommand, OwnLoad };

// A window command's failure: in lblStatus, and in panel 2 in place of the race's line.
void reportOwnFailure(MainWindow& w, const LoadedPage& page) {
    const std::string text = fetchFailureText(page);
    w.lblStatus.setCaption(text);
    MainWindow::PanelBehindFailure& behind = w.panel2BehindFailure;
    if (behind.failure.empty()) {
        behind.text = w.stBar.panel(2);
        behind.tooltip = w.stBar.panelTooltip(2);
    }
    behind.failure = text;
    w.stBar.setPanel(2, text);
    // The best bet it stands in for stays a hover away.
    w.stBar.setPanelTooltip(2, behind.text);
}

template <class Page>
void showPage(MainWindow& w, EventPump* pump, Page&& page, Report report = Report::FirstOfCommand) {
    w.pageFilePath = page.filePath;
    if (!page.ok) {
        w.pageMarkup.clear();
        if (report == Report::OwnLoad)
            reportOwnFailure(w, page);
        else
            reportLoad(w, page);
        return;
    }
    w.lblStatus.setCaption("Document completed");
    if (pump) pump->pumpEvents();
    w.lblTitle.setCaption("Racecourse : " + page.title);
    if (pump) pump->pumpEvents();
    w.lblStatus.setCaption("Extracting links");
    w.pageMarkup = std::forward<Page>(page).markup;
    const std::string failure = report == Report::OwnLoad ? std::string() : firstFetchFailure(w);
    w.lblStatus.setCaption(failure.empty() ? "Done" : failure);
}

}  // namespace

void showParsedPage(MainWindow& w, EventPump* pump, const LoadedPage& page) { showPage(w, pump, page); }

void showParsedPage(MainWindow& w, EventPump* pump, LoadedPage&& page) { showPage(w, pump, std::move(page)); }

void startWindowCommand(MainWindow& w) {
    MainWindow::PanelBehindFailure& behind = w.panel2BehindFailure;
    // Another command since has written panel 2 for itself: nothing to put back.
    if (!behind.failure.empty() && w.stBar.panel(2) == behind.failure) {
        w.stBar.setPanel(2, behind.text);
        w.stBar.setPanelTooltip(2, behind.tooltip);
    }
    // A command that loads nothing (a race not yet final) must not show the last one's failure.
    if (!behind.failure.empty() && w.lblStatus.caption() == behind.failure) w.lblStatus.setCaption("");
    behind = {};
}

void showWindowPage(MainWindow& w, EventPump* pump, const LoadedPage& page) {
    showPage(w, pump, page, Report::OwnLoad);
}

}  // namespace selvane
