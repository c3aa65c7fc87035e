#include "form/FormText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace selvane::formtext {
namespace {

TEST(FormText, LeadingNumber) {
    const std::vector<std::pair<std::string, double>> cases = {
        {"", 0},      {"5", 5},        {" 12)", 12},  {"-3", -3},    {"+7", 7},     {"1.5e2", 150},
        {"1e", 1},    {".5", 0.5},     {"x1", 0},     {"1d2", 100},  {"2 3", 2},    {"\t4", 4},
        {"-", 0},     {"(5)", 0},      {"05", 5},     {"1.2.3", 1.2},
    };
    for (const auto& [text, want] : cases) EXPECT_EQ(leadingNumber(text), want) << text;
    EXPECT_TRUE(std::isinf(leadingNumber("1e400")));
}

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
    EXPECT_EQ(trimSpaces("\t a \t"), "\t a \t");
    EXPECT_EQ(trimSpaces("  a b  "), "a b");
}

}  // namespace
}  // namespace selvane::formtext
