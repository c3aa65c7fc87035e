#include "net/PageLoader.h"

#include "net/Context.h"
#include "net/HtmlEngine.h"
#include "net/WorkFiles.h"

namespace selvane {
namespace {

LoadedPage failed(const std::string& url, const FetchResult& fetch, std::string filePath) {
    LoadedPage page;
    page.url = url;
    page.httpStatus = fetch.status;
    page.cause = fetch.cause;
    page.filePath = std::move(filePath);
    deleteFile(page.filePath);
    return page;
}

// The fetch of a command: a service that already failed this command by its limit fails at once.
FetchResult fetchFor(const Context& ctx, const std::string& url) {
    return fetchPumped(url, ctx.limits, ctx.ports.pump, ctx.deadServices);
}

// The raw lines in path; on failure path is gone.
WriteOutcome storeLines(const std::string& path, std::string_view body) {
    WriteOutcome out = writeWorkFile(path, {splitIntoLines(body)});
    if (!out.ok()) deleteFile(path);
    return out;
}

// A page that came but could not be stored: the load fails, its files go, ctx keeps the failure.
LoadedPage unwritten(Context& ctx, const std::string& url, const FetchResult& fetch, std::string filePath,
                     std::string failure) {
    LoadedPage page;
    page.url = url;
    page.httpStatus = fetch.status;
    page.writeFailure = std::move(failure);
    page.filePath = std::move(filePath);
    deleteFile(page.filePath);
    ctx.noteWriteFailure(page.writeFailure);
    return page;
}

// The engine's run on the last page loaded: a command that loads the same page again (the date
// command reloads the meeting page the download just ran) reuses it instead of a second run.
const NormalisedPage& normalisedOnce(const std::string& body, const std::string& charset) {
    struct Last {
        std::string body, charset;
        NormalisedPage page;
        bool set = false;
    };
    thread_local Last last;
    if (!last.set || last.body != body || last.charset != charset) {
        last.page = normalisePage(body, charset);
        last.body = body;
        last.charset = charset;
        last.set = true;
    }
    return last.page;
}

LoadedPage parsed(Context& ctx, const std::string& url, const FetchResult& fetch, const std::string& testPath) {
    const NormalisedPage& doc = normalisedOnce(fetch.body, charsetOf(fetch.contentType));
    const WriteOutcome saved = saveFile(testPath, doc.markup);
    if (!saved.ok()) return unwritten(ctx, url, fetch, testPath, saved.failure);
    return LoadedPage{true, url, fetch.status, {}, {}, testPath, doc.title, doc.markup};
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

LoadedPage downloadTRACK(Context& ctx, const std::string& url, const std::string& fileName) {
    const std::string path = ctx.workPath(fileName);
    const FetchResult fetch = fetchFor(ctx, url);
    if (!fetch.ok || path.empty()) return failed(url, fetch, path);
    if (WriteOutcome stored = storeLines(path, fetch.body); !stored.ok())
        return unwritten(ctx, url, fetch, path, std::move(stored.failure));
    return LoadedPage{true, url, fetch.status, {}, {}, path, {}, {}};
}

LoadedPage Parse(Context& ctx, const std::string& url) {
    const std::string testPath = ctx.workPath("test.html");
    const FetchResult fetch = fetchFor(ctx, url);
    if (!fetch.ok) return failed(url, fetch, testPath);
    return parsed(ctx, url, fetch, testPath);
}

LoadedPage downloadAndParse(Context& ctx, const std::string& url, const std::string& fileName) {
    const std::string path = ctx.workPath(fileName);
    const std::string testPath = ctx.workPath("test.html");
    const FetchResult fetch = fetchFor(ctx, url);
    if (!fetch.ok || path.empty()) {
        deleteFile(path);
        return failed(url, fetch, testPath);
    }
    if (WriteOutcome stored = storeLines(path, fetch.body); !stored.ok()) {
        deleteFile(testPath);
        return unwritten(ctx, url, fetch, testPath, std::move(stored.failure));
    }
    LoadedPage page = parsed(ctx, url, fetch, testPath);
    // Half a load is no load: the raw page goes with a markup that could not be stored.
    if (!page.writeFailure.empty()) deleteFile(path);
    return page;
}

}  // namespace selvane
