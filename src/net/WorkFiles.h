#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace selvane {

// What a work file write came to: written whole, or why not ("cannot write NAME: <reason>").
struct WriteOutcome {
    std::string failure;
    bool ok() const { return failure.empty(); }
};

// The start of every write failure's text.
inline constexpr std::string_view kWriteFailurePrefix = "cannot write ";

// A write failure thrown by the page writer; what() is the failure's text.
struct WorkFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// "cannot write NAME: <the system's reason for error>", NAME being the file's name in its folder.
std::string writeFailureText(const std::filesystem::path& path, int error);

// Writes the pieces, one after another, as the whole of the file at path. They go into a new file
// of their own in the same folder, made for this write (never a link, never an existing file),
// which replaces path only once every byte is written and the file closed: a reader finds the
// earlier file or this one whole, never part of it. On failure path is as it was.
[[nodiscard]] WriteOutcome writeWorkFile(const std::string& path, std::initializer_list<std::string_view> pieces);

// What saveFile puts after the text: a page kept in memory plus this is what its file holds.
inline constexpr std::string_view kSavedFileEnd = "\r\n";
[[nodiscard]] WriteOutcome saveFile(const std::string& path, std::string_view text);  // text + kSavedFileEnd

// fileExists and readWholeFile report no failure: false, or the text read so far. Neither goes
// through a symbolic link: a link is not a work file, whatever it points at.
bool fileExists(const std::string& path);
std::string readWholeFile(const std::string& path);
// Deletes the file (or a link of that name) if it is there; false when it was there and could not
// be deleted.
bool deleteFile(const std::string& path);

// The path of a work file in folder. A name built from service data must stay a plain file
// name there: no separators, no "..", nothing that leaves the folder. Refused names give nothing.
std::optional<std::string> workFilePath(const std::filesystem::path& folder, std::string_view name);

// The folder work files live in: the executable's folder when writable and not installed, else
// a per-user folder (into which the supplied files are copied from <prefix>/share/selvane when
// installed, else from the executable's folder).
std::filesystem::path chooseProgramFolder(const std::filesystem::path& executableFolder);

// Whether work files can be made in folder: empty when they can, else "cannot write to FOLDER:
// <reason>". Leaves nothing behind.
std::string checkWritableFolder(const std::filesystem::path& folder);

// The seven work files the exit clean-up deletes, in order.
inline constexpr const char* kExitWorkFiles[] = {"access.html",   "test.html", "iFrame_page.html", "adsbase.html",
                                                 "realodds.html", "rto.html",  "results.html"};

// Files supplied with the program, placed beside the executable by the build.
inline constexpr const char* kSuppliedFiles[] = {"blank.html", "blank_results.html", "webstyle.css", "splash.png"};

}  // namespace selvane
