#include "form/FormText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace selvane::formtext {
namespace {

TEST(FormText, ShortestDecimalAndNames) {
    const std::vector<std::pair<float, std::string>> numbers = {
        {5.0f, "5"},          {1.5f, "1.5"},         {-0.0f, "0"},          {0.1f, "0.1"},
        {32767.0f, "32767"},  {-12.0f, "-12"},       {0.0f, "0"},           {1e-10f, "1e-10"},
        {100000.0f, "100000"}, {16777216.0f, "16777216"}, {1e20f, "1e+20"}, {1.1f, "1.1"},
        {0.001f, "0.001"},    {-2.5e-7f, "-2.5e-07"}, {3.4028235e38f, "3.4028235e+38"},
    };
    for (const auto& [v, want] : numbers) EXPECT_EQ(shortestDecimal(v), want) << v;

    const std::vector<std::pair<std::string, std::string>> names = {
        {"NAME  (5)", "NAME"}, {"NO BRACKET", "NO BRACKET"}, {"  (5)", ""}, {" A (B) (C)", "A"}, {"", ""},
    };
    for (const auto& [horse, want] : names) EXPECT_EQ(nameBeforeBracket(horse), want) << horse;
}

}  // namespace
}  // namespace selvane::formtext
