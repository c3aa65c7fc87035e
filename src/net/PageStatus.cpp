#include "net/PageStatus.h"

namespace selvane {

void reportLoad(MainWindow& w, const LoadedPage& page) {
    if (page.ok) return;
    w.lblStatus.setCaption(kFetchFailedStatus);
    if (w.stBar.panel(2).empty()) w.stBar.setPanel(2, std::string(kFetchFailedStatus) + ": " + page.url);
}

void showParsedPage(MainWindow& w, EventPump* pump, const LoadedPage& page) {
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
    w.pageMarkup = page.markup;
    w.lblStatus.setCaption("Done");
}

}  // namespace selvane
