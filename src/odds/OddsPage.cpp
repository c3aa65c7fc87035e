#include "odds/OddsPage.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

#include "net/PageText.h"
#include "pages/PageWriter.h"

namespace selvane {
namespace {

using std::string_view;
constexpr auto npos = string_view::npos;

// In this order: the later rules also take what the earlier ones wrote, so "#ffd700", "#ff0000"
// and "#ffb6c1" all end as "#3399CC".
constexpr std::pair<string_view, string_view> kColourRewrites[] = {
    {"#ffd700", "#ff0000"}, {"#00ff00", "#CCCCFF"}, {"#ff0000", "#ffb6c1"}, {"#fffacd", "#CCFFCC"},
    {"#ffb6c1", "#3399CC"}, {"#80ff80", "#33CC33"}, {"#87cefa", "#FFCCCC"}};
constexpr std::size_t kColourLength = 7;

// Every rule is seven characters from a "#" with no other "#", and so is every colour it
// writes: matches never overlap or shift, so running the chain at each "#" in one pass gives
// what running each rule over the whole text in turn gives.
void rewriteColours(std::string& text) {
    for (std::size_t at = text.find('#'); at != npos && text.size() - at >= kColourLength;
         at = text.find('#', at + 1)) {
        for (const auto& [from, to] : kColourRewrites)
            if (string_view(text).substr(at, kColourLength) == from) text.replace(at, kColourLength, to);
    }
}

void lowerInto(std::string& out, string_view s) {
    out.assign(s);
    for (char& c : out) c = text::lowerAscii(c);
}

// One walk over the rewritten price page: find "<", find ">", upper-case the tag, test it, take
// the text up to the next "<".
class PriceTableCutter {
public:
    PriceTableCutter(string_view text, int runnerCount, PageWriter& writer)
        : text_(text), lastRow_(static_cast<std::int64_t>(std::max(runnerCount, 0)) + 5), writer_(writer) {}

    OddsPageEnd run() {
        std::size_t pos = 0;
        while (true) {
            const std::size_t open = text_.find('<', pos);
            if (open == npos) return ranOut();
            const std::size_t close = text_.find('>', open);
            if (close == npos) return ranOut();
            const string_view raw = text_.substr(open, close - open + 1);
            text::upperInto(tag_, raw);
            if (const auto end = takeTag(raw)) return *end;

            const std::size_t next = text_.find('<', close + 1);
            if (next == npos) return ranOut();
            if (const auto end = takeText(text_.substr(close + 1, next - close - 1))) return *end;
            pos = next;
        }
    }

private:
    using Step = std::optional<OddsPageEnd>;

    Step takeTag(string_view raw) {
        if (text::contains(tag_, "</TABLE>")) {
            writer_.writePageHead(kOddsPageName, "FFFFFF");
            started_ = true;
        }
        const bool rowEnd = text::contains(tag_, "</TR>");
        if (rowEnd) {
            if (rowCount_ <= lastRow_) ++rowCount_;
            if (rowCount_ >= 3 && started_) copying_ = true;
            if (headerSeen_ && rowCount_ == lastRow_) {
                if (!writeTag(raw) || !writeLine("</table>")) return OddsPageEnd::NoPage;
                writer_.writePageFoot();
                return OddsPageEnd::RunnerRows;
            }
        }
        if (rowCount_ >= 4 && copying_ && !(rowEnd && rowCount_ == 4) && !writeTag(raw)) return OddsPageEnd::NoPage;
        if (text::contains(tag_, "<TABLE ") && started_) writeTag(raw);
        return {};
    }

    Step takeText(string_view text) {
        if (text.empty()) return {};
        if (text::containsNoCase(text, "PERCENTAGES")) {
            if (!writeLine("&nbsp;")) return OddsPageEnd::NoPage;
            writer_.writePageTail();
            return OddsPageEnd::Percentages;
        }
        if (text::contains(text, "#")) headerSeen_ = true;
        if (rowCount_ >= 3 && headerSeen_ && !writeLine(text)) return OddsPageEnd::NoPage;
        return {};
    }

    // A line due before any "</TABLE>" has no page to go to: the walk ends with none.
    bool writeLine(string_view line) {
        if (!started_) return false;
        writer_.writePageLine(line);
        return true;
    }

    bool writeTag(string_view raw) {
        if (text::contains(tag_, "<A ") || text::contains(tag_, "</A>")) return true;
        lowerInto(lowered_, raw);
        return writeLine(lowered_);
    }

    // The page ran out before either end: an open page still gets its foot.
    OddsPageEnd ranOut() {
        if (!started_) return OddsPageEnd::NoPage;
        writer_.writePageFoot();
        return OddsPageEnd::EndOfPage;
    }

    string_view text_;
    std::int64_t lastRow_;
    PageWriter& writer_;
    std::string tag_;
    std::string lowered_;
    std::int64_t rowCount_ = 0;
    bool headerSeen_ = false;
    bool copying_ = false;
    bool started_ = false;
};

}  // namespace

OddsPageEnd writeOddsPage(std::string_view page, int runnerCount, PageWriter& writer) {
    std::string body = text::rewriteTagsAndBreaks(page);
    rewriteColours(body);
    return PriceTableCutter(body, runnerCount, writer).run();
}

OddsTable readOddsPage(std::string_view page, int runnerCount) {
    std::string body = text::rewriteTagsAndBreaks(page);
    text::replaceNbsp(body, "");
    OddsTable table(static_cast<std::size_t>(std::max(runnerCount, 0)));
    bool headerSeen = false;
    std::size_t rowsAfterHeader = 0;
    std::size_t row = 1;
    std::size_t column = 0;
    std::size_t pos = 0;
    while (true) {
        const std::size_t open = body.find('<', pos);
        if (open == npos) break;
        const std::size_t close = body.find('>', open);
        if (close == npos) break;
        if (headerSeen && text::containsNoCase(string_view(body).substr(open, close - open + 1), "</TR>"))
            ++rowsAfterHeader;
        const std::size_t next = body.find('<', close + 1);
        if (next == npos) break;
        const string_view piece = string_view(body).substr(close + 1, next - close - 1);
        pos = next;

        if (piece.empty()) continue;
        if (text::containsNoCase(piece, "QLD PLC")) headerSeen = true;
        // The heading row's own texts come before its "</tr>" and are never stored.
        if (!headerSeen || rowsAfterHeader < 1) continue;
        if (column < kOddsCells) {
            ++column;
        } else {
            column = 1;
            ++row;
        }
        if (row > table.size()) break;
        table[row - 1][column - 1] = std::string(text::trimSpaces(piece));
    }
    return table;
}

}  // namespace selvane
