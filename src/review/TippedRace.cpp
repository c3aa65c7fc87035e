#include "review/TippedRace.h"

#include <algorithm>

#include "net/PageText.h"

namespace selvane {
namespace {

bool isEmergency(const TipInput& r) { return r.number.find_first_of("eE") != std::string::npos; }

int numberOf(const TipInput& r) { return static_cast<int>(text::leadingNumber(r.number)); }

}  // namespace

std::vector<TipInput> tipInputsOf(const std::vector<RunnerEntry>& runners) {
    std::vector<TipInput> field;
    field.reserve(runners.size());
    for (const RunnerEntry& e : runners) field.push_back(TipInput{e.number, e.form, e.name, e.barrier, false});
    return field;
}

RaceBets betsOnTips(const std::vector<TipInput>& field, const TipOutcome& tips, const RaceDividends& result,
                    Cents stake) {
    RaceBets bets;
    bets.stake = stake;
    const auto scratched = [&](int n) {
        return std::find(result.scratchings.begin(), result.scratchings.end(), n) != result.scratchings.end();
    };
    const auto placed = [&](int n) {
        return std::any_of(result.placings.begin(), result.placings.end(),
                           [&](const Placing& p) { return p.runner == n; });
    };
    for (const TipInput& r : field) {
        const int n = numberOf(r);
        if (!isEmergency(r)) bets.starters += scratched(n) ? 0 : 1;
        else if (!placed(n)) bets.nonRunners.push_back(n);
    }
    if (tips.stop != TipStop::None) return bets;
    // Tip order and grid rows hold runner positions, 1 for the list's first.
    const auto runnerAt = [&](int position) { return numberOf(field.at(static_cast<std::size_t>(position - 1))); };
    for (std::size_t k = 0; k < tips.tips.size(); ++k) bets.tips.push_back(runnerAt(tips.tipOrder.at(k)));
    if (tips.bestBetRow > 0)
        bets.bestBet = runnerAt(tips.tipOrder.at(static_cast<std::size_t>(tips.gridOrder.at(tips.bestBetRow) - 1)));
    return bets;
}

}  // namespace selvane
