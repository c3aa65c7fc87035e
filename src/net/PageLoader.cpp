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
    const FetchResult fetch = fetchPumped(url, ctx.limits, ctx.ports.pump);
    if (!fetch.ok || path.empty()) return failed(url, fetch, path);
    LoadedPage page{true, url, fetch.status, {}, path, {}, {}};
    deleteFile(path);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return page;
    const std::string lines = splitIntoLines(fetch.body);
    std::fwrite(lines.data(), 1, lines.size(), f);
    std::fclose(f);
    return page;
}

LoadedPage Parse(const Context& ctx, const std::string& url) {
    const std::string testPath = ctx.workPath("test.html");
    const FetchResult fetch = fetchPumped(url, ctx.limits, ctx.ports.pump);
    if (!fetch.ok) return failed(url, fetch, testPath);
    NormalisedPage doc = normalisePage(fetch.body, charsetOf(fetch.contentType));
    LoadedPage page{true, url, fetch.status, {}, testPath, std::move(doc.title), std::move(doc.markup)};
    saveFile(testPath, page.markup);
    return page;
}

}  // namespace selvane
