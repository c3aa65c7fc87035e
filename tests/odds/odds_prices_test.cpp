#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "odds/OddsPrices.h"

namespace selvane {
namespace {

TEST(OddsPrices, ReplaceOddsString2Num) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"n/a", "-100.0"}, {"N/A", "-100.0"}, {"scr", "-10.0"},          {"SCR", "-10.0"},
        {"Scr", "-10.0"},  {"3.50", "3.50"},  {"n/a scr", "-100.0 scr"},  // n/a first, scr then left
        {"ABC", "abc"},    {"", ""},
    };
    for (const auto& [cell, want] : cases) EXPECT_EQ(replaceOddsString2Num(cell), want) << cell;
}

// A price row with the seven price cells in window order; cells 1..4 and 9 as given.
OddsCells priceRow(const std::array<std::string, 7>& prices, const std::string& cell9 = "n/a") {
    return {"1", "NAME", "4", "58", prices[0], prices[1], prices[2], prices[3], cell9, prices[4], prices[5], prices[6]};
}

TEST(OddsPrices, BestOdds) {
    struct Case {
        std::array<std::string, 7> prices;
        std::string best;
        const char* proves;
    };
    const std::vector<Case> cases = {
        {{"scr", "scr", "scr", "scr", "scr", "scr", "scr"}, "scr", "scratched everywhere"},
        {{"n/a", "scr", "3.50", "n/a", "scr", "n/a", "n/a"}, "3.50", "one price among n/a and scr"},
        {{"N/A", "SCR", "N/A", "2.00", "SCR", "N/A", "N/A"}, "2.00", "upper-case N/A and SCR"},
        {{"n/a", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a"}, "-100.0", "no price anywhere stays -100.0"},
        {{"n/a", "scr", "n/a", "n/a", "n/a", "n/a", "n/a"}, "scr", "scr reads above n/a"},
        {{"9.50", "10.00", "2.10", "n/a", "1.40", "1.20", "1.10"}, "10.00", "numbers, not texts, compared"},
        {{"", "", "4.20", "", "", "", ""}, "4.20", "an empty cell never wins"},
        {{"", "", "", "", "", "", ""}, "", "no number at all: empty"},
        {{"abc", "-", ".", "3.5x", "", "", ""}, "", "texts that are not numbers never win"},
        {{"", "n/a", "", "", "", "", ""}, "-100.0", "an empty cell sorts below n/a"},
        {{"1.80", "1.90", "1.70", "1.90", "1.10", "1.05", "1.10"}, "1.90", "ties: the same price"},
        {{"1" + std::string(400, '0'), "2.00", "", "", "", "", ""},
         "1" + std::string(400, '0'),
         "a price too long for a double still compares as huge"},
    };
    for (const Case& c : cases) EXPECT_EQ(bestOdds(priceRow(c.prices)), c.best) << c.proves;
    // Cell 9 is read but is no price column.
    EXPECT_EQ(bestOdds(priceRow({"2.00", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a"}, "99.00")), "2.00");
}

TEST(OddsPrices, ProperCase) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"SECRET GLORY", "Secret Glory"},
        {"o'reilly's LAD", "O'reilly's Lad"},
        {"MC-GREGOR", "Mc-gregor"},
        {"  TWO  SPACES", "  Two  Spaces"},
        {"", ""},
        {"\xC9LAN", "\xC9lan"},
    };
    for (const auto& [name, want] : cases) EXPECT_EQ(properCase(name), want) << name;
}

}  // namespace
}  // namespace selvane
