#include "form/BetTerms.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

TEST(BetTerms, BoxesOfFiveTips) {
    const std::vector<BoxBet> boxes = boxBets(5);
    ASSERT_EQ(boxes.size(), 4u);
    const std::vector<std::pair<std::string, long long>> want = {
        {"quinella", 10}, {"exacta", 20}, {"trifecta", 60}, {"firstFour", 120}};
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(boxes[i].bet, want[i].first);
        EXPECT_EQ(boxes[i].combinations, want[i].second);
    }
    // Three tips box no first four.
    EXPECT_EQ(boxBets(3)[3].combinations, 0);
    EXPECT_EQ(boxBets(3)[0].combinations, 3);
}

TEST(BetTerms, FlexiPercentIsStakeOverCombinationsInHundredths) {
    struct Case {
        const char* stake;
        long long combinations;
        const char* percent;
    };
    const Case cases[] = {
        {"20", 10, "200.00"},  {"20", 20, "100.00"},  {"20", 60, "33.33"},   {"20", 120, "16.67"},
        {"1", 120, "0.83"},    {"0.01", 120, "0.01"},  {"0.01", 300, "0.00"},  {"12.5", 60, "20.83"},
        {"2.50", 120, "2.08"}, {"0.05", 10, "0.50"},   {"1000000", 120, "833333.33"},
        {"10", 0, "0.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.stake) + " / " + std::to_string(c.combinations));
        const auto cents = parseStake(c.stake);
        ASSERT_TRUE(cents.has_value());
        EXPECT_EQ(twoPlaces(flexiHundredths(*cents, c.combinations)), c.percent);
    }
}

TEST(BetTerms, StakeText) {
    const std::pair<const char*, std::optional<long long>> cases[] = {
        {"20", 2000}, {"0.5", 50}, {"3.07", 307}, {"1000000", 100000000},
        {"0", std::nullopt}, {"0.00", std::nullopt}, {"1000000.01", std::nullopt}, {"-5", std::nullopt},
        {"5.", std::nullopt}, {".5", std::nullopt}, {"1.234", std::nullopt}, {"", std::nullopt},
        {"1e3", std::nullopt}, {"20 ", std::nullopt}, {"99999999999999999999", std::nullopt},
    };
    for (const auto& [text, cents] : cases) EXPECT_EQ(parseStake(text), cents) << text;
}

TEST(BetTerms, EachWayPlacesByStarters) {
    const std::pair<int, int> cases[] = {{0, 0}, {1, 0}, {4, 0}, {5, 2}, {7, 2}, {8, 3}, {24, 3}};
    for (const auto& [starters, places] : cases) EXPECT_EQ(eachWayPlaces(starters), places) << starters;
}

TEST(BetTerms, StatusTooltipLine) {
    EXPECT_EQ(betTermsLine(5, 8),
              "Boxed at a unit of 1: Quinella 10 combinations $10, Exacta 20 combinations $20, Trifecta 60 "
              "combinations $60, First four 120 combinations $120. Each way with 8 starters: 3 places");
    EXPECT_EQ(betTermsLine(5, 4).substr(betTermsLine(5, 4).find(". Each")), ". Each way with 4 starters: win only");
}

}  // namespace
}  // namespace selvane
