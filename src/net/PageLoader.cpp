#include "net/PageLoader.h"

#include <cstdio>

#include "app/App.h"
#include "net/HtmlEngine.h"
#include "net/WorkFiles.h"

namespace selvane {
namespace {

void pump(App& app) {
    if (app.ports.pump) app.ports.pump->pumpEvents();
}

// Every command empties status panel 2 when it starts, so text already there is this command's
// own (a best bet, or the first failure): a later failure must not hide it.
void reportFetchFailure(App& app, const std::string& url) {
    MainWindow& w = app.window;
    w.lblStatus.setCaption(kFetchFailedStatus);
    if (w.stBar.panel(2).empty()) w.stBar.setPanel(2, std::string(kFetchFailedStatus) + ": " + url);
}

}  // namespace

std::string splitIntoLines(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        if (i > lineStart) {
            out.append(text.substr(lineStart, i - lineStart));
            out += "\r\n";
        }
        lineStart = i + 1;
    }
    return out;
}

void downloadTRACK(App& app, const std::string& url, const std::string& fileName) {
    const std::string path = app.workPath(fileName);
    const FetchResult page = fetchPumped(url, app.limits, app.ports.pump);
    if (path.empty()) return;
    deleteFile(path);
    if (!page.ok) {
        reportFetchFailure(app, url);
        return;
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    const std::string lines = splitIntoLines(page.body);
    std::fwrite(lines.data(), 1, lines.size(), f);
    std::fclose(f);
}

void Parse(App& app, const std::string& url) {
    MainWindow& w = app.window;
    const std::string testPath = app.workPath("test.html");
    const FetchResult page = fetchPumped(url, app.limits, app.ports.pump);
    w.pageFilePath = testPath;
    if (!page.ok) {
        deleteFile(testPath);
        w.pageMarkup.clear();
        reportFetchFailure(app, url);
        return;
    }
    const NormalisedPage doc = normalisePage(page.body, charsetOf(page.contentType));
    w.lblStatus.setCaption("Document completed");
    pump(app);
    w.lblTitle.setCaption("Racecourse : " + doc.title);
    pump(app);
    w.lblStatus.setCaption("Extracting links");
    w.pageMarkup = doc.markup;
    saveFile(w.pageFilePath, w.pageMarkup);
    w.lblStatus.setCaption("Done");
}

}  // namespace selvane
