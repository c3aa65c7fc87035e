#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace selvane {

// The file procedures never report a failure: false, or the text read so far.
// What saveFile puts after the text: a page kept in memory plus this is what its file holds.
inline constexpr std::string_view kSavedFileEnd = "\r\n";
void saveFile(const std::string& path, std::string_view text);  // writes text + kSavedFileEnd
bool fileExists(const std::string& path);
std::string readWholeFile(const std::string& path);
// Deletes the file if it is there; false when it was there and could not be deleted.
bool deleteFile(const std::string& path);

// The path of a work file in folder. A name built from service data must stay a plain file
// name there: no separators, no "..", nothing that leaves the folder. Refused names give nothing.
std::optional<std::string> workFilePath(const std::filesystem::path& folder, std::string_view name);

// The folder work files live in: the executable's folder when writable and not installed, else
// a per-user folder (into which the supplied files are copied from <prefix>/share/selvane when
// installed, else from the executable's folder).
std::filesystem::path chooseProgramFolder(const std::filesystem::path& executableFolder);

// The seven work files the exit clean-up deletes, in order.
inline constexpr const char* kExitWorkFiles[] = {"access.html",   "test.html", "iFrame_page.html", "adsbase.html",
                                                 "realodds.html", "rto.html",  "results.html"};

// Files supplied with the program, placed beside the executable by the build.
inline constexpr const char* kSuppliedFiles[] = {"blank.html", "blank_results.html", "webstyle.css", "splash.png"};

}  // namespace selvane
