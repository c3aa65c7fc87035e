#pragma once

#include <string>

namespace selvane {

struct App;

// Fetches url and stores its raw text in the work file fileName, line by line: CR or LF ends a
// line, empty lines vanish, text after the last line end is dropped. A failed fetch removes
// the file, so no older page is read as this one, and says so in lblStatus and status panel 2
// (panel 2 only when it is empty: an earlier message of the same command stays).
void downloadTRACK(App& app, const std::string& url, const std::string& fileName);

// The line rule of downloadTRACK on its own.
std::string splitIntoLines(std::string_view text);

// Loads url through the HTML engine: lblStatus and lblTitle follow the load, pageMarkup holds
// the engine's markup, test.html holds markup + CR LF and pageFilePath its path.
// A failed fetch removes test.html and says so as downloadTRACK does.
void Parse(App& app, const std::string& url);

inline constexpr const char* kFetchFailedStatus = "Page could not be fetched";

}  // namespace selvane
