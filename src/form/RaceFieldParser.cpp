#include "form/RaceFieldParser.h"

#include "kit/Controls.h"
#include "form/FormText.h"
#include "net/PageText.h"

namespace selvane {

using text::trimSpaces;
using text::upperInto;
namespace {

bool has(std::string_view haystack, std::string_view needle) { return haystack.find(needle) != std::string_view::npos; }

bool containsStakes(std::string_view text) {
    static constexpr std::string_view kWord = "STAKES";
    for (std::size_t i = 0; i + kWord.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < kWord.size() && (text[i + k] & ~0x20) == kWord[k]) ++k;
        if (k == kWord.size()) return true;
    }
    return false;
}

// What a tag does to the walk; only the first matching test applies.
void actOnTag(RunnerTable& t, std::string_view tag) {
    if (has(tag, "<HR>") || has(tag, "<HR ")) {
        if (t.ruleCounter <= 1) ++t.ruleCounter;
        if (!t.headerSeen) t.cellColumn = 1;
    } else if (has(tag, "<TABLE ") || has(tag, "<TABLE>")) {
        ++t.tableCounter;
    } else if (has(tag, "</TABLE>") || has(tag, "<TR>") || has(tag, "<TR ")) {
    } else if (has(tag, "</TR>")) {
        if (t.headerSeen) {
            ++t.runnerRowCount;
            t.cellColumn = 1;
        }
    } else if (has(tag, "<TD>") || has(tag, "<TD ")) {
    } else if (has(tag, "</TD>")) {
        if (t.headerSeen) {
            ++t.cellColumn;
            t.inLink = false;
        }
    } else if (has(tag, "</A>")) {
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
    std::string tag;  // the current tag, upper-cased; one buffer for the whole walk
    std::size_t open = text.find('<');
    while (open != std::string_view::npos) {
        const std::size_t close = text.find('>', open);
        if (close == std::string_view::npos) return FieldParseEnd::UnclosedTag;
        upperInto(tag, text.substr(open, close - open + 1));
        actOnTag(t, tag);

        const std::size_t next = text.find('<', close + 1);
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
            if (tag == "</A>" && t.inLink) {
                filed = storeCell(t, t.tableCounter, trimSpaces(t.linkText), t.cellColumn);
                t.linkText.clear();
                t.inLink = false;
            } else {
                filed = storeCell(t, t.tableCounter, trimSpaces(inner), t.cellColumn);
            }
            if (!filed) return FieldParseEnd::RowLimit;
            // Before the header, columns advance per text piece.
            if (!t.headerSeen && t.ruleCounter <= 1 && t.cellColumn <= 11) ++t.cellColumn;
            if (containsStakes(inner)) t.headerSeen = true;
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
