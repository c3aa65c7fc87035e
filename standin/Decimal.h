#pragma once

#include <charconv>
#include <string>

namespace selvane::standin {

inline std::string fixed(double v, int decimals) {
    // Not printf: the prices must not follow a decimal comma of the process's locale.
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals).ptr;
    return std::string(buf, end);
}

}  // namespace selvane::standin
