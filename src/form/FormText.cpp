#include "form/FormText.h"

#include "net/PageText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include <locale.h>
#include <stdlib.h>

namespace selvane::formtext {

std::string shortestDecimal(float v) {
    if (v == 0.0f) v = 0.0f;  // no "-0"
    char buffer[64];
    // A whole number the float holds exactly is its digits ("100000", not "1e+05"); anything
    // else is the shortest text that reads back as v ("1e-10", "1.1", "1e+20").
    constexpr float kExactWhole = 16777216.0f;  // 2^24
    const bool whole = std::trunc(v) == v && std::fabs(v) <= kExactWhole;
    const auto [end, ec] = whole ? std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed)
                                 : std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc{} ? std::string(buffer, end) : std::string();
}

std::string_view nameBeforeBracket(std::string_view horse) {
    return text::trimSpaces(horse.substr(0, horse.find('(')));
}

}  // namespace selvane::formtext
