#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "kit/MainWindow.h"
#include "form/RunnerList.h"
#include "form/RunnerTable.h"
#include "form/TipWarning.h"
#include "form/Tipping.h"

namespace selvane::cli {

// What the window shows after a tipping run and its report: the tip list, the grid rows below
// the header, status panel 2, the insufficient-form count, the warning and the stop reason.
struct ShownTips {
    std::vector<TipRow> tips;
    std::vector<TipRow> grid;
    std::string status;
    int insufficientForm = 0;
    TipWarning warning = TipWarning::None;
    std::string error;  // empty unless the tipping stopped
};

// Runs the tipping on the window's runner list and reports as the race selection does.
ShownTips tipAndReport(MainWindow& w);
// The tip list, grid rows, status line and count as the window holds them now.
ShownTips readShownTips(const MainWindow& w);

nlohmann::json shownTipsJson(const ShownTips& shown);
void printShownTips(std::ostream& out, const ShownTips& shown);

// The tipping's working per runner of `field`, in list order; empty when the run stopped before
// every runner was ranked.
nlohmann::json explainJson(const TipOutcome& o, const std::vector<TipInput>& field);
void printExplain(std::ostream& out, const TipOutcome& o, const std::vector<TipInput>& field);

// --stake AMOUNT in cents, or nothing without the option; a usage error for a bad amount.
std::optional<long long> stakeOption(const std::optional<std::string>& value);
// The boxes of the published tips at the stake and the each-way terms of the field:
// {boxes: [{bet, combinations, flexiPercent}], eachWay: {starters, places}}.
nlohmann::json stakeJson(const TipOutcome& o, long long stakeCents);
void printStake(std::ostream& out, const TipOutcome& o, long long stakeCents);

nlohmann::json runnerRowsJson(const RunnerTable& table);
nlohmann::json runnerEntriesJson(const std::vector<RunnerEntry>& entries);
void printRunnerEntries(std::ostream& out, const std::vector<RunnerEntry>& entries);

}  // namespace selvane::cli
