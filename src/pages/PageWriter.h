#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace selvane {

// Writes one generated page at a time into the program folder, a line per call, CR LF line
// ends. Write and open failures throw std::runtime_error: the caller's step ends there.
class PageWriter {
public:
    explicit PageWriter(std::filesystem::path folder) : folder_(std::move(folder)) {}
    ~PageWriter();
    PageWriter(const PageWriter&) = delete;
    PageWriter& operator=(const PageWriter&) = delete;

    // colour: six hexadecimal digits without "#". A page still open is closed first.
    void writePageHead(std::string_view fileName, std::string_view colour);
    // Opens a page with no head, under the next page file number, for pages of their own shape.
    void openPage(std::string_view fileName);
    // Ends the page opened last; a page that cannot be flushed to disk throws.
    void closePage();
    void writePageLine(std::string_view text);
    void writePageTail();
    void writePageFoot();

    // Positive while a page is open, 0 otherwise.
    int pageFileNumber() const { return pageFileNumber_; }

private:
    void close();

    std::filesystem::path folder_;
    std::FILE* file_ = nullptr;
    int pageFileNumber_ = 0;
    int lastNumber_ = 0;
};

}  // namespace selvane
