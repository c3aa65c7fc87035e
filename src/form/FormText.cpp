#include "form/FormText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include <locale.h>
#include <stdlib.h>

namespace selvane::formtext {

std::string_view trimSpaces(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipDigits(std::string_view s, std::size_t i) {
    while (i < s.size() && isDigit(s[i])) ++i;
    return i;
}

}  // namespace

double leadingNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n')) ++i;
    std::string text;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) text += s[i++];
    std::size_t end = skipDigits(s, i);
    bool anyDigit = end > i;
    text.append(s.substr(i, end - i));
    i = end;
    if (i < s.size() && s[i] == '.') {
        end = skipDigits(s, i + 1);
        anyDigit = anyDigit || end > i + 1;
        text.append(s.substr(i, end - i));
        i = end;
    }
    if (!anyDigit) return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        end = skipDigits(s, j);
        if (end > j) {
            text += 'e';
            text.append(s.substr(i + 1, end - i - 1));
        }
    }
    // The C locale's point whatever the desktop's locale; ±inf past the double range, which
    // the callers check against the range they need.
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(text.c_str(), nullptr, cLocale);
}

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
    return trimSpaces(horse.substr(0, horse.find('(')));
}

}  // namespace selvane::formtext
