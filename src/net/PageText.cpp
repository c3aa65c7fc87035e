#include "net/PageText.h"

namespace selvane::text {

std::string wireAddress(std::string_view address) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(address.size());
    for (const char ch : address) {
        const auto c = static_cast<unsigned char>(ch);
        // '#' would start a fragment and '%' an escape: texts from the date box or a page are data.
        if (c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' || c == '^' || c == '`' ||
            c == '{' || c == '|' || c == '}' || c == '#' || c == '%') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string fixedWidthPart(std::string_view text, std::size_t from, std::size_t width) {
    std::string part(from < text.size() ? text.substr(from, width) : std::string_view());
    part.resize(width, ' ');
    return part;
}

}  // namespace selvane::text
