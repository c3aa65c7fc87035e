#include "kit/Maxkey.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace selvane {
namespace {

TEST(Maxkey, FirstSmallestOfTheRange) {
    struct Case {
        int lo, hi;
        std::vector<double> values;
        std::optional<int> want;
        const char* proves;
    };
    const Case cases[] = {
        {2, 2, {0, 4, 2, 2}, std::nullopt, "one slot: no position"},
        {1, 3, {0, 4, 2, 2}, 2, "a tie gives the first"},
        {1, 3, {0, 1, 2, 0.5}, 3, "the last slot can win"},
        {1, 9, {0, 1, 2}, std::nullopt, "a range past the values"},
        {1, 3, {0, 5, -1e308, -100.0}, 2, "negative values compare as numbers"},
    };
    for (const Case& c : cases) EXPECT_EQ(maxkey(c.lo, c.hi, c.values), c.want) << c.proves;
}

TEST(Maxkey, SwapValuesOnlyExchangesTheSameKind) {
    int a = 1, b = 2;
    double d = 3.0;
    swapValues(a, b);
    swapValues(a, d);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(d, 3.0);
}

}  // namespace
}  // namespace selvane
