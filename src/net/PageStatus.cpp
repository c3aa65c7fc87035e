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

template <class Page>
void showPage(MainWindow& w, EventPump* pump, Page&& page) {
    w.pageFilePath = page.filePath;
    if (!page.ok) {
        w.pageMarkup.clear();
        reportLoad(w, page);
        return;
    }
    w.lblStatus.setCaption("Document completed");
    if (pump) pump->pumpEvents();
    w.lblTitle.setCaption("Racecourse : " + page.title);
    if (pump) pump->pumpEvents();
    w.lblStatus.setCaption("Extracting links");
    w.pageMarkup = std::forward<Page>(page).markup;
    const std::string failure = firstFetchFailure(w);
    w.lblStatus.setCaption(failure.empty() ? "Done" : failure);
}

}  // namespace

void showParsedPage(MainWindow& w, EventPump* pump, const LoadedPage& page) { showPage(w, pump, page); }

void showParsedPage(MainWindow& w, EventPump* pump, LoadedPage&& page) { showPage(w, pump, std::move(page)); }

}  // namespace selvane
