#pragma once

#include <string>
#include <vector>

#include "kit/FakePorts.h"
#include "odds/OddsCommand.h"
#include "record/RecordValues.h"

namespace selvane {

struct App;

// What the program state holds after a punter's command, as the record's values: the meetings of
// the date, the chosen race's field and tips (with the warning the tipping showed, if any), the
// meeting's result states and, given, the prices. at is when it was fetched; empty: now.
record::Batch fetchedBatch(const App& app, const std::string& warning, const LiveOddsRun* odds = nullptr,
                           std::string at = {});

// The tip warning among the message boxes shown ("Insufficient Form", "Race's Data Error"); empty
// when none was.
std::string shownWarning(const std::vector<ShownMessage>& messages);

// The clock's now as the record keeps times: "2026-12-06T03:00:05Z".
std::string recordTime();

// "06/12/2026" as "2026-12-06"; empty when it is no such date text.
std::string isoDate(const std::string& ddmmyyyy);

}  // namespace selvane
