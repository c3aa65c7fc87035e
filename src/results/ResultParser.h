#pragma once

#include <string>
#include <string_view>

#include "results/ResultTables.h"

namespace selvane {

// Reads the results site's meeting page (as downloadTRACK stored it) into the results tables.
// The page text is rewritten in place (tag spellings, line breaks, &nbsp;). The caller sets the
// parse state (resultMeetingIndex 0, resultRaceSlot 1) first. Returns an empty text.
std::string parseResultMeetings(ResultTables& tables, std::string& pageText);

// A race's state as the results box shows it: placings with " - " between them, "N/A" for a
// start time, "not available" otherwise.
std::string formatResultText(const std::string& text);

// The meeting code of a name cell: the two characters before its last one ("ASHFORD (AF)").
std::string meetingCodeOf(std::string_view nameCell);

}  // namespace selvane
