#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace selvane {

// Writes one generated page at a time into the program folder, a line per call, CR LF line
// ends. A page reaches its file only when it is ended (foot, tail or closePage), whole: one left
// open is dropped, and the earlier file of its name is gone from the moment it was opened.
// Failures throw std::runtime_error (a page that cannot be written: WorkFileError, "cannot
// write NAME: reason"): the caller's step ends there.
class PageWriter {
public:
    explicit PageWriter(std::filesystem::path folder) : folder_(std::move(folder)) {}
    ~PageWriter() = default;
    PageWriter(const PageWriter&) = delete;
    PageWriter& operator=(const PageWriter&) = delete;

    // colour: six hexadecimal digits without "#". A page still open is closed first.
    void writePageHead(std::string_view fileName, std::string_view colour);
    // Opens a page with no head, for pages of their own shape.
    void openPage(std::string_view fileName);
    // Ends the page opened last and writes it; a page that cannot be written throws.
    void closePage();
    void writePageLine(std::string_view text);
    void writePageTail();
    void writePageFoot();

private:
    void drop();

    std::filesystem::path folder_;
    std::string path_;  // of the open page
    std::string page_;  // what it holds so far
    bool open_ = false;
};

}  // namespace selvane
