#pragma once

#include <vector>

#include "form/RunnerList.h"
#include "form/Tipping.h"
#include "review/Settlement.h"

namespace selvane {

// A parsed race page's runners as the tipping engine takes them: none ticked.
std::vector<TipInput> tipInputsOf(const std::vector<RunnerEntry>& runners);

// The bets a review lays on a tipped race: the tips and the each-way best bet as runner numbers
// (from the number texts: "15e" is 15), the starters (runners that are not emergencies, less the
// result's scratchings), and the emergencies as non-runners unless the result places them. A
// run that published no tips lays no bets.
RaceBets betsOnTips(const std::vector<TipInput>& field, const TipOutcome& tips, const RaceDividends& result,
                    Cents stake);

}  // namespace selvane
