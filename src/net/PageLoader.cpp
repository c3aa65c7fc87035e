#include "net/PageLoader.h"

#include <cstdio>

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

void storeLines(const std::string& path, std::string_view body) {
    deleteFile(path);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    const std::string lines = splitIntoLines(body);
    std::fwrite(lines.data(), 1, lines.size(), f);
    std::fclose(f);
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

LoadedPage parsed(const std::string& url, const FetchResult& fetch, const std::string& testPath) {
    const NormalisedPage& doc = normalisedOnce(fetch.body, charsetOf(fetch.contentType));
    LoadedPage page{true, url, fetch.status, {}, testPath, doc.title, doc.markup};
    saveFile(testPath, page.markup);
    return page;
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

LoadedPage downloadTRACK(const Context& ctx, const std::string& url, const std::string& fileName) {
    const std::string path = ctx.workPath(fileName);
    const FetchResult fetch = fetchFor(ctx, url);
    if (!fetch.ok || path.empty()) return failed(url, fetch, path);
    storeLines(path, fetch.body);
    return LoadedPage{true, url, fetch.status, {}, path, {}, {}};
}

LoadedPage Parse(const Context& ctx, const std::string& url) {
    const std::string testPath = ctx.workPath("test.html");
    const FetchResult fetch = fetchFor(ctx, url);
    if (!fetch.ok) return failed(url, fetch, testPath);
    return parsed(url, fetch, testPath);
}

LoadedPage downloadAndParse(const Context& ctx, const std::string& url, const std::string& fileName) {
    const std::string path = ctx.workPath(fileName);
    const std::string testPath = ctx.workPath("test.html");
    const FetchResult fetch = fetchFor(ctx, url);
    if (!fetch.ok || path.empty()) {
        deleteFile(path);
        return failed(url, fetch, testPath);
    }
    storeLines(path, fetch.body);
    return parsed(url, fetch, testPath);
}

}  // namespace selvane
