#include "form/FormText.h"

#include "net/PageText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
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
    if (whole) {  // most barriers: plain integer digits, the quickest way
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::int32_t>(v));
        return std::string(buffer, end);
    }
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc{} ? std::string(buffer, end) : std::string();
}

void appendTwoDecimals(std::string& line, float v) {
    // A float times 100 is exact in a double (24 + 7 bits), so rounding it to a whole number,
    // ties to even, rounds as printf does; beyond 2^53 the general conversion takes over.
    const double hundredths = std::fabs(static_cast<double>(v) * 100.0);
    char buffer[64];
    if (!(hundredths < 9007199254740992.0)) {
        const auto [end, ec] =
            std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(v), std::chars_format::fixed, 2);
        if (ec == std::errc{}) line.append(buffer, end);
        return;
    }
    const auto whole = static_cast<std::uint64_t>(std::nearbyint(hundredths));
    if (std::signbit(v)) line += '-';
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, whole / 100);
    line.append(buffer, end);
    line += '.';
    line += static_cast<char>('0' + whole % 100 / 10);
    line += static_cast<char>('0' + whole % 10);
}

std::string_view nameBeforeBracket(std::string_view horse) {
    return text::trimSpaces(horse.substr(0, horse.find('(')));
}

}  // namespace selvane::formtext
