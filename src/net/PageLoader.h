#pragma once

#include <string>
#include <string_view>

namespace selvane {

struct Context;

// What a page load came to. The command decides what the window says about it.
struct LoadedPage {
    bool ok = false;
    std::string url;
    long httpStatus = 0;    // 0 when no answer came
    std::string cause;      // why the fetch failed, as "(HTTP 404)" or "(timed out)"; empty when it worked
    // The page came but its work file could not be written whole: "cannot write NAME: reason".
    std::string writeFailure;
    std::string filePath;   // the work file written; removed when the load failed
    std::string title;      // Parse only: the document's title
    std::string markup;     // Parse only: the engine's markup, as the work file holds it less CR LF
};

// Fetches url and stores its raw text in the work file fileName, line by line: CR or LF ends a
// line, empty lines vanish, text after the last line end is dropped. A failed fetch or write
// removes the file, so no older page and no part of this one is read as this one; a failed
// write is noted in ctx.
LoadedPage downloadTRACK(Context& ctx, const std::string& url, const std::string& fileName);

// The line rule of downloadTRACK on its own.
std::string splitIntoLines(std::string_view text);

// Loads url through the HTML engine into test.html (markup + CR LF). A failed fetch or write
// removes test.html.
LoadedPage Parse(Context& ctx, const std::string& url);

// downloadTRACK and Parse of one address from one fetch: fileName holds the raw lines, test.html
// the markup, and the result is Parse's. A failed fetch or write of either removes both files.
LoadedPage downloadAndParse(Context& ctx, const std::string& url, const std::string& fileName);

}  // namespace selvane
