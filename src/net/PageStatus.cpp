#include "net/PageStatus.h"

#include <utility>

namespace selvane {

void reportLoad(MainWindow& w, const LoadedPage& page) {
    if (page.ok) return;
    w.lblStatus.setCaption(kFetchFailedStatus);
    if (w.stBar.panel(2).empty()) w.stBar.setPanel(2, std::string(kFetchFailedStatus) + ": " + page.url);
}

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
    w.lblStatus.setCaption("Done");
}

}  // namespace

void showParsedPage(MainWindow& w, EventPump* pump, const LoadedPage& page) { showPage(w, pump, page); }

void showParsedPage(MainWindow& w, EventPump* pump, LoadedPage&& page) { showPage(w, pump, std::move(page)); }

}  // namespace selvane
