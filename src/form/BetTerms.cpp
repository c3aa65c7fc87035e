#include "form/BetTerms.h"

#include <charconv>

namespace selvane {
namespace {

long long permutations(int n, int k) {
    if (k > n) return 0;
    long long p = 1;
    for (int i = 0; i < k; ++i) p *= n - i;
    return p;
}

constexpr long long kMaxStakeCents = 100'000'000;

}  // namespace

std::vector<BoxBet> boxBets(int tips) {
    return {{"quinella", "Quinella", permutations(tips, 2) / 2},
            {"exacta", "Exacta", permutations(tips, 2)},
            {"trifecta", "Trifecta", permutations(tips, 3)},
            {"firstFour", "First four", permutations(tips, 4)}};
}

std::optional<long long> parseStake(std::string_view text) {
    const std::size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view cents = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    const auto digitsOnly = [](std::string_view s) { return s.find_first_not_of("0123456789") == std::string_view::npos; };
    if (whole.empty() || whole.size() > 9 || !digitsOnly(whole) || !digitsOnly(cents) || cents.size() > 2 ||
        (dot != std::string_view::npos && cents.empty()))
        return std::nullopt;
    long long dollars = 0;
    std::from_chars(whole.data(), whole.data() + whole.size(), dollars);
    long long amount = dollars * 100;
    if (!cents.empty()) amount += (cents[0] - '0') * 10 + (cents.size() > 1 ? cents[1] - '0' : 0);
    if (amount <= 0 || amount > kMaxStakeCents) return std::nullopt;
    return amount;
}

long long flexiHundredths(long long stakeCents, long long combinations) {
    if (combinations <= 0) return 0;
    // stake / combinations * 100 % = stakeCents / combinations %, kept in hundredths.
    return (stakeCents * 100 * 2 + combinations) / (2 * combinations);
}

std::string twoPlaces(long long hundredths) {
    std::string cents = std::to_string(hundredths % 100);
    if (cents.size() < 2) cents.insert(0, "0");
    return std::to_string(hundredths / 100) + "." + cents;
}

int eachWayPlaces(int starters) {
    if (starters <= 4) return 0;
    return starters <= 7 ? 2 : 3;
}

std::string betTermsLine(int tips, int starters) {
    std::string line = "Boxed at a unit of 1:";
    const char* separator = " ";
    for (const BoxBet& b : boxBets(tips)) {
        line += separator + b.name + " " + std::to_string(b.combinations) + " combinations $" +
                std::to_string(b.combinations);
        separator = ", ";
    }
    const int places = eachWayPlaces(starters);
    line += ". Each way with " + std::to_string(starters) + (starters == 1 ? " starter: " : " starters: ");
    line += places == 0 ? "win only" : std::to_string(places) + " places";
    return line;
}

}  // namespace selvane
