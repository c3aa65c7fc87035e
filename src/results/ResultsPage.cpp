#include "results/ResultsPage.h"

#include <string_view>

#include "net/PageText.h"
#include "results/ResultsFiles.h"

namespace selvane {
namespace {

using std::string_view;

constexpr const char* kBlack = "000000";
constexpr int kTableEnds = 5;

// Compared with the upper-cased tag; the results site has written its table tags in these ways.
constexpr string_view kTableStarts[] = {
    R"(<TABLE WIDTH="100%" BORDER=1 CELLPADDING=0>)",
    R"(<TABLE WIDTH="100%" BORDER="1" CELLPADDING=0>)",
    R"(<TABLE WIDTH="100%" BORDER="1" CELLPADDING="0">)",
    "<TABLE WIDTH=100% BORDER=1 CELLPADDING=0>",
    " BORDER=1",
};

// The walk: find "<", find ">", test the upper-cased tag, copy it lower-cased, copy the text
// up to the next "<".
class ResultsPageScanner {
public:
    ResultsPageScanner(string_view text, PageWriter& writer) : text_(text), writer_(writer) {}

    ResultsPageEnd run() {
        std::size_t pos = 0;
        while (true) {
            const std::size_t open = text_.find('<', pos);
            if (open == string_view::npos) break;
            const std::size_t close = text_.find('>', open);
            if (close == string_view::npos) break;
            takeTag(text_.substr(open, close - open + 1));
            if (copyTag()) return ResultsPageEnd::FifthTableEnd;

            const std::size_t next = text_.find('<', close + 1);
            if (next == string_view::npos) break;
            copyText(text_.substr(close + 1, next - close - 1));
            pos = next;
        }
        if (!copying_) return ResultsPageEnd::NoResultTables;
        // A page cut short still gets its foot, so results.html is whole and closed.
        writer_.writePageFoot();
        return ResultsPageEnd::EndOfPage;
    }

private:
    void takeTag(string_view raw) {
        tag_.resize(raw.size());
        lowerTag_.resize(raw.size());
        for (std::size_t i = 0; i < raw.size(); ++i) {
            tag_[i] = text::upperAscii(raw[i]);
            lowerTag_[i] = text::lowerAscii(raw[i]);
        }
    }

    bool startsTables() const {
        for (string_view start : kTableStarts)
            if (tag_.find(start) != std::string::npos) return true;
        return false;
    }

    // True once the fifth </table> is written and the page ended. A table start met while
    // copying is copied like any other tag: the page is opened once.
    bool copyTag() {
        if (!copying_ && startsTables()) {
            copying_ = true;
            writer_.writePageHead(kResultsPage, kBlack);
        }
        if (!copying_) return false;
        if (tableEnds_ < kTableEnds && tag_.find("</TABLE>") != std::string::npos) ++tableEnds_;
        writer_.writePageLine(lowerTag_);
        if (tableEnds_ < kTableEnds) return false;
        writer_.writePageFoot();
        return true;
    }

    void copyText(string_view between) {
        if (copying_ && !between.empty()) writer_.writePageLine(between);
    }

    string_view text_;
    PageWriter& writer_;
    std::string tag_;       // upper-cased, reused
    std::string lowerTag_;  // what is written, reused
    bool copying_ = false;
    int tableEnds_ = 0;
};

}  // namespace

ResultsPageEnd writeResultsPage(PageWriter& writer, std::string& pageText) {
    pageText = text::rewriteTagsAndBreaks(pageText);
    return ResultsPageScanner(pageText, writer).run();
}

void writeResultFailurePage(PageWriter& writer, std::string_view cause) {
    writer.writePageHead(kResultsPage, kBlack);
    writer.writePageLine(R"(<table class="notice" width="100%" border="0" cellpadding="8">)");
    writer.writePageLine("<tr><td><b>" + std::string(kResultNotFetched) + "</b></td></tr>");
    writer.writePageLine("<tr><td>Cause: " + std::string(cause) + "</td></tr>");
    writer.writePageLine(
        "<tr><td>Close this window and try again, or open the race's page on the results site "
        "with the ... button.</td></tr>");
    writer.writePageLine("</table>");
    writer.writePageFoot();
}

}  // namespace selvane
