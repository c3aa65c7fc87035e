#pragma once

#include <string>
#include <string_view>

#include "form/RunnerTable.h"

namespace selvane {

class ProgressBar;

// How a walk of the race page ended.
enum class FieldParseEnd {
    EndOfPage,     // no further tag or text piece
    SecondRule,    // the end of the race data
    RowLimit,      // a 101st runner row: slots 1..100 hold the first hundred
    UnclosedTag,   // a "<" with no ">" after it
};

// Normalises page in place, then walks its tags and files every cell text into table.
// When the walk reaches the second horizontal rule the progress bar, if given, is completed
// and hidden.
FieldParseEnd parseRaceField(RunnerTable& table, std::string& page, ProgressBar* pgBar = nullptr);

// Files one cell text under the current row (table.runnerRowCount). Returns false when the
// row is past the last slot, which ends the parse.
bool storeCell(RunnerTable& table, int tableNumber, std::string_view text, int column);

}  // namespace selvane
