#pragma once

// Test-side walks of the two pages whose readers the program does not have yet: the price page
// (the live odds filter) and a race's result page (the live results copy). They walk the engine's
// markup as the program's scanners do (find "<", find ">", upper-case the tag, take the text up
// to the next "<") and keep only what the tests assert on.

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "net/PageText.h"

namespace selvane::standin::test {

inline bool has(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

inline std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return out;
}

// The scanners' walk: visit(upper-cased tag, text up to the next "<") until visit says stop.
// The last tag comes with an empty text and ends the walk.
template <class Visit>
void walkTags(std::string_view page, Visit visit) {
    std::string text(page);
    // Upper-case tag rewrites never match the engine's lower-case markup; only the line ends go.
    text = text::replaceAll(text, "\r\n", "", false);
    for (std::size_t pos = 0;;) {
        const auto lt = text.find('<', pos);
        const auto gt = lt == std::string::npos ? lt : text.find('>', lt);
        if (gt == std::string::npos) return;
        const auto next = text.find('<', gt + 1);
        const std::string piece = next == std::string::npos ? "" : text.substr(gt + 1, next - gt - 1);
        if (!visit(text::upper(std::string_view(text).substr(lt, gt - lt + 1)), piece) || next == std::string::npos)
            return;
        pos = next;
    }
}

// The live odds filter: the price page's table as "realodds.html" lines, then read back into the
// twelve odds columns of rows 1..runnerCount. A re-opened page (a second "</TABLE>") is a failure.
struct OddsScan {
    std::vector<std::array<std::string, 12>> rows;
    bool finishedByCount = false;
    bool finishedByPercentages = false;
    std::string failure;
};

inline OddsScan scanPricePage(const std::string& markup, int runnerCount) {
    OddsScan out;
    std::vector<std::string> lines;
    bool headerSeen = false, copying = false, started = false;
    int rowCount = 0;
    auto writeTag = [&](const std::string& tag) {
        if (!has(tag, "<A ") && !has(tag, "</A>")) lines.push_back(lower(tag));
    };
    walkTags(markup, [&](const std::string& tag, const std::string& piece) {
        if (has(tag, "</TABLE>")) {
            if (started) {
                out.failure = "a second </TABLE> while realodds.html is open";
                return false;
            }
            started = true;
        }
        if (has(tag, "</TR>")) {
            if (rowCount <= runnerCount + 5) ++rowCount;
            if (rowCount >= 3 && started) copying = true;
            if (headerSeen && rowCount == runnerCount + 5) {
                writeTag(tag);
                lines.push_back("</table>");
                out.finishedByCount = true;
                return false;
            }
        }
        if (rowCount >= 4 && copying && !(has(tag, "</TR>") && rowCount == 4)) writeTag(tag);
        if (has(tag, "<TABLE ") && started) writeTag(tag);
        if (piece.empty()) return true;
        if (has(text::upper(piece), "PERCENTAGES")) {
            lines.push_back("&nbsp;");
            out.finishedByPercentages = true;
            return false;
        }
        if (has(piece, "#")) headerSeen = true;
        if (rowCount >= 3 && headerSeen) lines.push_back(piece);
        return true;
    });
    if (!out.failure.empty()) return out;
    if (!out.finishedByCount && !out.finishedByPercentages) {
        out.failure = "the odds table never ended";
        return out;
    }
    // The odds reader over the written lines.
    std::string page;
    for (const std::string& l : lines) page += l + "\r\n";
    page = text::replaceAll(page, "&nbsp;", "", false);
    out.rows.assign(static_cast<std::size_t>(std::max(0, runnerCount)), {});
    bool header = false;
    int afterHeader = 0, row = 1, column = 0;
    walkTags(page, [&](const std::string& tag, const std::string& piece) {
        if (has(tag, "</TR>") && header) ++afterHeader;
        if (piece.empty()) return true;
        if (has(text::upper(piece), "QLD PLC")) header = true;
        if (!header || afterHeader < 1) return true;
        if (column <= 11) {
            ++column;
        } else {
            column = 1;
            ++row;
        }
        if (row > runnerCount) return false;
        out.rows[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)] = text::trimSpaces(piece);
        return true;
    });
    return out;
}

// "results.html" of the live results command: the copied tags and texts, one a line. A second
// table start while the page is open keeps the page open (it is not started again).
struct ResultPageScan {
    std::vector<std::string> lines;
    int tableStarts = 0;
    bool ended = false;  // the fifth </table> was reached
};

inline ResultPageScan scanResultPage(const std::string& markup) {
    ResultPageScan out;
    static const char* const kStarts[] = {"<TABLE WIDTH=\"100%\" BORDER=1 CELLPADDING=0>",
                                          "<TABLE WIDTH=\"100%\" BORDER=\"1\" CELLPADDING=0>",
                                          "<TABLE WIDTH=\"100%\" BORDER=\"1\" CELLPADDING=\"0\">",
                                          "<TABLE WIDTH=100% BORDER=1 CELLPADDING=0>", " BORDER=1"};
    bool copying = false;
    int ends = 0;
    walkTags(markup, [&](const std::string& tag, const std::string& piece) {
        if (std::any_of(std::begin(kStarts), std::end(kStarts), [&](const char* s) { return has(tag, s); })) {
            copying = true;
            ++out.tableStarts;
        }
        if (has(tag, "</TABLE>") && copying && ends < 5) ++ends;
        if (!copying) return true;
        out.lines.push_back(lower(tag));
        if (ends == 5) {
            out.ended = true;
            return false;
        }
        if (!piece.empty()) out.lines.push_back(piece);
        return true;
    });
    return out;
}

}  // namespace selvane::standin::test
