#include "results/ResultParser.h"

#include <limits>

#include "net/PageText.h"

namespace selvane {
namespace {

// Thirteen header cells and meeting starts together open the field phase.
constexpr int kHeaderCells = 13;

constexpr std::string_view kRowHeaderTag = "<TH CLASS=\"ROWHDR\"";
constexpr std::string_view kLocationTag = " CLASS='LOCATION";
constexpr std::string_view kLinkTag = "<A HREF=";

void startMeeting(ResultTables& t) {
    ++t.resultMeetingIndex;
    t.resultRaceSlot = 1;
    const std::size_t entries = static_cast<std::size_t>(t.resultMeetingIndex) + 1;
    // Entries of this parse keep their contents; the new one (and so the first of a parse
    // over an older page's tables) starts empty.
    t.resultMeetingNames.resize(entries);
    t.resultRaceCounts.resize(entries, 0);
    t.resultRecords.resize(entries);
    t.resultMeetingNames.back().clear();
    t.resultRaceCounts.back() = 0;
    t.resultRecords.back() = ResultRecord{};
}

// What the walk needs of a tag, letter case ignored, from one scan of its "<"s and quotes.
struct TagMarks {
    bool rowHeader = false;
    bool location = false;
    bool link = false;
    std::size_t linkAt = 0;  // where the first link spelling starts
};

TagMarks marksOf(std::string_view tag) {
    TagMarks m;
    text::forEachOpening(tag, [&](const text::TagOpening& o) {
        if (o.closing || o.after != ' ') return true;
        const std::string_view from = tag.substr(o.at);
        if (!m.rowHeader && text::startsNoCase(from, kRowHeaderTag)) m.rowHeader = true;
        if (!m.link && text::startsNoCase(from, kLinkTag)) {
            m.link = true;
            m.linkAt = o.at;
        }
        return true;
    });
    // The location spelling has its quote seven characters in.
    constexpr std::size_t kQuote = 7;
    for (std::size_t q = tag.find('\''); q != std::string_view::npos && !m.location; q = tag.find('\'', q + 1))
        if (q >= kQuote && text::startsNoCase(tag.substr(q - kQuote), kLocationTag)) m.location = true;
    return m;
}

// The address of a link tag, or nothing when it has no closing quote or is empty.
std::string_view linkAddress(std::string_view tag, std::size_t linkAt) {
    const std::size_t start = linkAt + kLinkTag.size() + 1;  // past the opening quote
    if (start >= tag.size()) return {};
    const std::size_t close = tag.find('"', start);
    if (close == std::string_view::npos) return {};
    return tag.substr(start, close - start);
}

// The two characters a meeting code is compared by, upper-cased as the tag is read.
std::string codePart(std::string_view address) {
    std::string part(address.substr(0, 2));
    for (char& c : part) c = text::upperAscii(c);
    return part;
}

// RACES opens the horse section and TROTS ends it, in any letter case.
struct SectionWords {
    bool races = false;
    bool trots = false;
};

SectionWords sectionWordsIn(std::string_view cell) {
    SectionWords w;
    for (std::size_t i = 0; i + 5 <= cell.size(); ++i) {
        const char c = text::upperAscii(cell[i]);
        if (c == 'R' && !w.races && text::startsNoCase(cell.substr(i), "RACES")) w.races = true;
        if (c == 'T' && !w.trots && text::startsNoCase(cell.substr(i), "TROTS")) w.trots = true;
    }
    return w;
}

// A name cell or a race cell of the current meeting's row.
void fieldCell(ResultTables& t, std::string& currentCode, std::string_view tag, const TagMarks& marks,
               std::string_view cell) {
    const std::string_view trimmed = text::trimSpaces(cell);
    if (text::equalsNoCase("FIELDS", trimmed) || trimmed == "\\~" || trimmed == std::string_view("\0", 1)) return;
    if (!marks.link) return;
    const std::string_view address = linkAddress(tag, marks.linkAt);
    if (address.empty()) return;

    // Cells met before any meeting start of this parse have no entry to go to.
    const int m = t.resultMeetingIndex;
    const bool stored = m >= 1 && m <= t.storedMeetings();
    if (codePart(address) != currentCode) {
        // A name cell past the last race slot belongs to no slot: the meeting keeps its name and code.
        if (t.resultRaceSlot > ResultRecord::kSlots) return;
        currentCode = meetingCodeOf(cell);
        if (!stored) return;
        t.resultMeetingNames[m] = std::string(cell);
        t.resultRecords[m].setCode(t.resultRaceSlot, currentCode);
        return;
    }
    if (stored && t.resultRecords[m].setResult(t.resultRaceSlot, std::string(cell)))
        t.resultRaceCounts[m] = t.resultRaceSlot;
    if (t.resultRaceSlot < std::numeric_limits<std::int16_t>::max()) ++t.resultRaceSlot;
}

}  // namespace

std::string meetingCodeOf(std::string_view nameCell) {
    if (nameCell.size() >= 3) return std::string(nameCell.substr(nameCell.size() - 3, 2));
    return std::string(nameCell.substr(0, nameCell.empty() ? 0 : nameCell.size() - 1));
}

std::string parseResultMeetings(ResultTables& t, std::string& pageText) {
    pageText = text::rewritePageTags(pageText);
    const std::string_view page(pageText);

    bool inSection = false;
    int headerCount = 0;
    std::string currentCode;
    std::size_t pos = 0;

    for (std::size_t turn = 0; turn < page.size(); ++turn) {
        const std::size_t open = text::findByte(page, '<', pos);
        if (open == std::string_view::npos) break;
        const std::size_t close = text::findByte(page, '>', open);
        if (close == std::string_view::npos) break;
        const std::string_view tag = page.substr(open, close - open + 1);
        const std::size_t next = text::findByte(page, '<', close + 1);
        if (next == std::string_view::npos) break;
        const std::string_view cell = page.substr(close + 1, next - close - 1);
        pos = next;
        if (cell.empty()) continue;

        const SectionWords words = sectionWordsIn(cell);
        if (words.races) {
            inSection = true;
        } else if (words.trots) {
            break;
        }
        if (!inSection) continue;

        const TagMarks marks = marksOf(tag);
        if (headerCount <= kHeaderCells) {
            if (marks.rowHeader) {
                ++headerCount;
            } else if (marks.location) {
                // The meeting counter is 16 bits wide; a page with more meetings ends here.
                if (t.resultMeetingIndex == std::numeric_limits<std::int16_t>::max()) break;
                if (headerCount < kHeaderCells) ++headerCount;
                startMeeting(t);
            }
        }
        if (headerCount >= kHeaderCells) fieldCell(t, currentCode, tag, marks, cell);
    }

    // The trotting heading ends the horse meetings; a page that never reaches it still counts
    // what it found, so an older page's meetings are never matched against this one.
    t.resultMeetingCount = t.resultMeetingIndex;
    return {};
}

std::string formatResultText(const std::string& text) {
    if (text.find(',') != std::string::npos) return text::replaceAll(text, ",", " - ", false);
    if (text.find(':') != std::string::npos || text::containsNoCase(text, "m")) return "N/A";
    return "not available";
}

}  // namespace selvane
