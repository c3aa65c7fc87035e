#pragma once

#include <string>
#include <string_view>

#include "kit/MainWindow.h"
#include "net/Context.h"
#include "results/ResultTables.h"

namespace selvane {

// The results site's date path of a date box text (dd/mm/yyyy): yyyy/mm/dd, cut as fixed-width
// parts, each encoded as an address part.
std::string resultDatePath(std::string_view dateText);

// The meeting that a track box text names (SANDOWN also answers to SANDOWN-HILLSIDE), 0 if none.
int findResultMeeting(const ResultTables& t, std::string_view trackText);

// One race's part of the ticker caption.
std::string tickerSegment(int race, const std::string& result);

// Shows meeting results in lstResults, the ticker caption and txtResults for the chosen track
// and race number (the race list's "Race #." value).
void fillMeetingResults(MainWindow& w, const ResultTables& t, std::string_view trackText, double raceNumber);

// Fetches the results site's meeting page of the chosen date and shows the chosen meeting's
// result states. No message of its own; without a chosen date nothing happens.
void checkResults(Context& ctx, MainWindow& w, ResultTables& t);

}  // namespace selvane
