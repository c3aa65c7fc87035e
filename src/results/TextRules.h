#pragma once

#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

// Small text rules the results code shares: ASCII letter case, space trimming, plain and
// case-blind replacement, and the leading-number reading of a text.
namespace selvane::text {

inline char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline void upperInto(std::string& out, std::string_view s) {
    out.assign(s);
    for (char& c : out) c = upperAscii(c);
}

inline std::string upper(std::string_view s) {
    std::string out;
    upperInto(out, s);
    return out;
}

inline std::size_t findNoCase(std::string_view hay, std::string_view needle, std::size_t from = 0) {
    if (needle.empty()) return from <= hay.size() ? from : std::string_view::npos;
    for (std::size_t i = from; i + needle.size() <= hay.size(); ++i) {
        std::size_t k = 0;
        while (k < needle.size() && upperAscii(hay[i + k]) == upperAscii(needle[k])) ++k;
        if (k == needle.size()) return i;
    }
    return std::string_view::npos;
}

inline bool containsNoCase(std::string_view hay, std::string_view needle) {
    return findNoCase(hay, needle) != std::string_view::npos;
}

// Trims spaces only, as the platform's trim does (tabs and line breaks stay).
inline std::string_view trimSpaces(std::string_view s) {
    const std::size_t a = s.find_first_not_of(' ');
    if (a == std::string_view::npos) return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

inline std::string replaceAll(std::string_view s, std::string_view what, std::string_view with, bool ignoreCase) {
    std::string out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = ignoreCase ? findNoCase(s, what, from) : s.find(what, from);
        if (at == std::string_view::npos || what.empty()) break;
        out.append(s.substr(from, at - from));
        out.append(with);
        from = at + what.size();
    }
    out.append(s.substr(from));
    return out;
}

// The numeric value of a text's leading number (blanks skipped, optional sign, digits, one
// point); 0 when there is none.
inline double leadingNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    double value = 0, scale = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '.' && scale == 0) {
            scale = 1;
        } else if (c >= '0' && c <= '9') {
            if (scale == 0) {
                value = value * 10 + (c - '0');
            } else {
                scale /= 10;
                value += (c - '0') * scale;
            }
        } else {
            break;
        }
    }
    return negative ? -value : value;
}

}  // namespace selvane::text
