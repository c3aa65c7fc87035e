#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace selvane {

// One exotic bet boxed over the tips: every ordered (or, for the quinella, unordered) choice.
struct BoxBet {
    std::string bet;   // "quinella", "exacta", "trifecta", "firstFour"
    std::string name;  // "Quinella", ... "First four"
    long long combinations = 0;
};

// The four boxes over `tips` runners; a box that needs more runners than there are has none.
std::vector<BoxBet> boxBets(int tips);

// An amount in cents: digits with at most two decimals, more than 0 and at most 1,000,000.
std::optional<long long> parseStake(std::string_view text);

// stake ÷ combinations × 100 in hundredths of a percent, halves rounded up; 0 without combinations.
long long flexiHundredths(long long stakeCents, long long combinations);
// hundredths as "33.33".
std::string twoPlaces(long long hundredths);

// Places paid each way by the number of starters: none up to 4, two up to 7, else three.
int eachWayPlaces(int starters);

// Status panel 2's tooltip: the boxes' cost at a unit of 1 and the each-way terms.
std::string betTermsLine(int tips, int starters);

}  // namespace selvane
