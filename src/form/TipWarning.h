#pragma once

#include <string>

namespace selvane {

struct MainWindow;

enum class TipWarning { None, InsufficientForm, DataError };

// What the race form reports after a tipping run: "Race's Data Error" when the runner list or
// the tip list is empty, else "Insufficient Form" when at least a third of the field (whole
// part) has no form.
TipWarning tipWarning(int runnerCount, int tipCount, int insufficientFormCount);
TipWarning tipWarning(const MainWindow& w);

// The message box title of a warning; empty for none.
std::string warningTitle(TipWarning warning);

inline constexpr const char* kInsufficientFormText = "No bets should be made due to insufficient form data";

// The tip list and grid rows shown instead of tips when the race has no usable data.
void writePlaceholderTips(MainWindow& w);

// The report after a tipping run: writes the placeholder rows when the race has no usable
// data and returns the warning whose message box the caller shows.
TipWarning reportTipOutcome(MainWindow& w);

}  // namespace selvane
