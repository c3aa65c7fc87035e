#include "form/RaceFieldParser.h"

#include "kit/Controls.h"
#include "form/FormText.h"
#include "net/PageText.h"

namespace selvane {

using text::equalsNoCase;
using text::trimSpaces;
namespace {

bool containsStakes(std::string_view text) {
    static constexpr std::string_view kWord = "STAKES";
    for (std::size_t i = 0; i + kWord.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < kWord.size() && (text[i + k] & ~0x20) == kWord[k]) ++k;
        if (k == kWord.size()) return true;
    }
    return false;
}

// The tag spellings a walk reacts to, as bits: "<HR>" and "<HR " are one kind, and so on.
enum TagKind : unsigned {
    kRule = 1,         // <HR> <HR
    kTable = 2,        // <TABLE> <TABLE
    kOther = 4,        // </TABLE> <TR> <TR
    kRowEnd = 8,       // </TR>
    kCell = 16,        // <TD> <TD
    kCellEnd = 32,     // </TD>
    kLinkEnd = 64,     // </A>
};

// Every spelling the tag contains anywhere (a "<" inside a tag starts another candidate).
unsigned kindsIn(std::string_view tag) {
    unsigned kinds = 0;
    text::forEachOpening(tag, [&kinds](const text::TagOpening& o) {
        const bool open = !o.closing && (o.after == '>' || o.after == ' ');
        const bool shut = o.closing && o.after == '>';
        if (!open && !shut) return true;
        if (equalsNoCase("HR", o.name)) {
            if (open) kinds |= kRule;
        } else if (equalsNoCase("TABLE", o.name)) {
            kinds |= open ? kTable : kOther;
        } else if (equalsNoCase("TR", o.name)) {
            kinds |= open ? kOther : kRowEnd;
        } else if (equalsNoCase("TD", o.name)) {
            kinds |= open ? kCell : kCellEnd;
        } else if (equalsNoCase("A", o.name)) {
            if (shut) kinds |= kLinkEnd;
        }
        return true;
    });
    return kinds;
}

// What a tag does to the walk; only the first matching test applies.
void actOnTag(RunnerTable& t, unsigned kinds) {
    if (kinds & kRule) {
        if (t.ruleCounter <= 1) ++t.ruleCounter;
        if (!t.headerSeen) t.cellColumn = 1;
    } else if (kinds & kTable) {
        ++t.tableCounter;
    } else if (kinds & kOther) {
    } else if (kinds & kRowEnd) {
        if (t.headerSeen) {
            ++t.runnerRowCount;
            t.cellColumn = 1;
        }
    } else if (kinds & kCell) {
    } else if (kinds & kCellEnd) {
        if (t.headerSeen) {
            ++t.cellColumn;
            t.inLink = false;
        }
    } else if (kinds & kLinkEnd) {
        t.inLink = true;
    }
}

}  // namespace

bool storeCell(RunnerTable& table, int tableNumber, std::string_view text, int column) {
    if (column == 0) return true;
    if (tableNumber == 2) {
        std::string* field = table.runnerRows[0].field(column);
        if (!field) return true;
        if (table.runnerRowCount < 0 || table.runnerRowCount > RunnerTable::kLastSlot) return false;
        table.runnerRows[table.runnerRowCount].field(column)->assign(text);
    } else if (tableNumber == 1) {
        // Kept as text: nothing reads these, and a details cell that is not a number must not
        // cost the race its runners.
        if (column >= 1 && column <= 11) table.raceDetails[column].assign(text);
    }
    return true;
}

FieldParseEnd parseRaceField(RunnerTable& t, std::string& page, ProgressBar* pgBar) {
    page = text::rewritePageTags(page);
    t.runnerRowCount = 0;
    t.tableCounter = 0;
    t.ruleCounter = 0;
    t.cellColumn = 0;
    t.headerSeen = false;
    t.inLink = false;

    const std::string_view text(page);
    std::size_t open = text::findByte(text, '<', 0);
    while (open != std::string_view::npos) {
        const std::size_t close = text::findByte(text, '>', open);
        if (close == std::string_view::npos) return FieldParseEnd::UnclosedTag;
        const std::string_view tag = text.substr(open, close - open + 1);
        actOnTag(t, kindsIn(tag));

        const std::size_t next = text::findByte(text, '<', close + 1);
        if (next == std::string_view::npos) return FieldParseEnd::EndOfPage;
        const std::string_view inner = text.substr(close + 1, next - close - 1);
        if (!inner.empty()) {
            if (t.inLink) {
                t.linkText += ' ';
                t.linkText.append(inner);
            } else {
                t.linkText.assign(inner);
            }
            bool filed;
            if (t.inLink && equalsNoCase("</A>", tag)) {
                filed = storeCell(t, t.tableCounter, trimSpaces(t.linkText), t.cellColumn);
                t.linkText.clear();
                t.inLink = false;
            } else {
                filed = storeCell(t, t.tableCounter, trimSpaces(inner), t.cellColumn);
            }
            if (!filed) return FieldParseEnd::RowLimit;
            // Before the header, columns advance per text piece.
            if (!t.headerSeen && t.ruleCounter <= 1 && t.cellColumn <= 11) ++t.cellColumn;
            if (!t.headerSeen && containsStakes(inner)) t.headerSeen = true;
        }
        if (t.ruleCounter >= 2) {
            if (pgBar) {
                pgBar->setValue(pgBar->max());
                pgBar->setVisible(false);
            }
            return FieldParseEnd::SecondRule;
        }
        open = next;
    }
    return FieldParseEnd::EndOfPage;
}

}  // namespace selvane
