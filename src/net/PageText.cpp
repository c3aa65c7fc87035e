#include "net/PageText.h"

#include <cstdio>
#include <cstring>

#include <locale.h>
#include <stdlib.h>

#include "net/HtmlEngine.h"

namespace selvane::text {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipDigits(std::string_view s, std::size_t i) {
    while (i < s.size() && isDigit(s[i])) ++i;
    return i;
}

}  // namespace

std::size_t findNoCase(std::string_view hay, std::string_view needle, std::size_t from) {
    if (needle.empty()) return from <= hay.size() ? from : std::string_view::npos;
    for (std::size_t i = from; i + needle.size() <= hay.size(); ++i) {
        std::size_t k = 0;
        while (k < needle.size() && upperAscii(hay[i + k]) == upperAscii(needle[k])) ++k;
        if (k == needle.size()) return i;
    }
    return std::string_view::npos;
}

std::string replaceAll(std::string_view s, std::string_view what, std::string_view with, bool ignoreCase) {
    std::string out;
    out.reserve(s.size());
    std::size_t from = 0;
    while (!what.empty()) {
        const std::size_t at = ignoreCase ? findNoCase(s, what, from) : s.find(what, from);
        if (at == std::string_view::npos) break;
        out.append(s.substr(from, at - from));
        out.append(with);
        from = at + what.size();
    }
    out.append(s.substr(from));
    return out;
}

double leadingNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n')) ++i;
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
    std::size_t end = skipDigits(s, i);
    bool anyDigit = end > i;
    // Whole numbers of up to 15 digits (every barrier, weight and race number) are exact in a
    // double: no need for strtod.
    const bool fraction = end < s.size() && (s[end] == '.' || s[end] == 'e' || s[end] == 'E' || s[end] == 'd' || s[end] == 'D');
    if (anyDigit && !fraction && end - i <= 15) {
        double whole = 0.0;
        for (std::size_t k = i; k < end; ++k) whole = whole * 10.0 + (s[k] - '0');
        return number == "-" ? -whole : whole;
    }
    number.append(s.substr(i, end - i));
    i = end;
    if (i < s.size() && s[i] == '.') {
        end = skipDigits(s, i + 1);
        anyDigit = anyDigit || end > i + 1;
        number.append(s.substr(i, end - i));
        i = end;
    }
    if (!anyDigit) return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        end = skipDigits(s, j);
        if (end > j) {
            number += 'e';
            number.append(s.substr(i + 1, end - i - 1));
        }
    }
    // The C locale's point whatever the desktop's locale.
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(number.c_str(), nullptr, cLocale);
}

std::string rewriteTagsAndBreaks(std::string_view page) {
    struct Rewrite {
        std::string_view from, to;
    };
    static constexpr Rewrite kTags[] = {{"<STRONG>", "<B>"}, {"</STRONG>", "</B>"}, {"<EM>", "<I>"}, {"</EM>", "</I>"}};
    // The tag rewrites and the CR LF removal cannot make or break each other's matches, so one
    // pass does both, eight bytes a step; the text between two changes goes out in one piece.
    std::string out;
    out.reserve(page.size());
    std::size_t copied = 0;  // page[copied..] is not in out yet
    auto at = [&](std::size_t i) {
        if (i < copied) return;  // inside a tag already rewritten
        if (page[i] == '\r') {
            if (i + 1 < page.size() && page[i + 1] == '\n') {
                out.append(page.substr(copied, i - copied));
                copied = i + 2;
            }
            return;
        }
        const char second = i + 1 < page.size() ? page[i + 1] : '\0';
        if (second != 'S' && second != 'E' && second != '/') return;
        for (const Rewrite& r : kTags) {
            if (page.substr(i, r.from.size()) != r.from) continue;
            out.append(page.substr(copied, i - copied));
            out.append(r.to);
            copied = i + r.from.size();
            return;
        }
    };
    std::size_t i = 0;
    for (; i + 8 <= page.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, page.data() + i, 8);
        for (std::uint64_t m = bytesEqual(word, '<') | bytesEqual(word, '\r'); m; m &= m - 1)
            at(i + static_cast<std::size_t>(std::countr_zero(m) / 8));
    }
    for (; i < page.size(); ++i)
        if (page[i] == '<' || page[i] == '\r') at(i);
    out.append(page.substr(copied));
    return out;
}

void replaceNbsp(std::string& page, std::string_view with) {
    constexpr std::string_view kNbsp = "&nbsp;";
    std::size_t read = page.find(kNbsp);
    if (read == std::string::npos) return;
    // with is shorter than what it replaces, so writing never overtakes reading; the text
    // between two "&" moves in one piece.
    char* const data = page.data();
    const std::size_t size = page.size();
    std::size_t write = read;
    while (read < size) {
        if (std::string_view(data + read, size - read).starts_with(kNbsp)) {
            std::memcpy(data + write, with.data(), with.size());
            write += with.size();
            read += kNbsp.size();
            continue;
        }
        const void* amp = std::memchr(data + read + 1, '&', size - read - 1);
        const std::size_t stop = amp ? static_cast<std::size_t>(static_cast<const char*>(amp) - data) : size;
        std::memmove(data + write, data + read, stop - read);
        write += stop - read;
        read = stop;
    }
    page.resize(write);
}

std::string rewritePageTags(std::string_view page) {
    std::string out = rewriteTagsAndBreaks(page);
    replaceNbsp(out, "\\~");
    return out;
}

namespace {

template <typename Keep>
std::string percentEncoded(std::string_view text, Keep keep) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (keep(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

}  // namespace

std::string addressPart(std::string_view part) {
    return percentEncoded(part, [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
               c == '.';
    });
}

std::string fixedWidthPart(std::string_view text, std::size_t from, std::size_t width) {
    std::string part(from < text.size() ? text.substr(from, width) : std::string_view());
    part.resize(width, ' ');
    return part;
}

std::string toUtf8(std::string_view bytes) {
    if (isValidUtf8(bytes)) return std::string(bytes);
    std::string out;
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string escapeControls(const std::string& utf8, bool lineBreaks) {
    std::string out;
    out.reserve(utf8.size());
    char escape[8];
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if ((c < 0x20 && c != '\t' && !(lineBreaks && c == '\n')) || c == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            out += escape;
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            std::snprintf(escape, sizeof escape, "\\u%04x", next);
            out += escape;
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string csvField(std::string_view bytes) {
    const std::string text = escapeControls(toUtf8(bytes), false);
    const bool quoted = text.find_first_of(",\"") != std::string::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' ' || text.front() == '\t' ||
                                           text.back() == '\t'));
    if (!quoted) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string csvText(const std::vector<std::vector<std::string>>& records) {
    std::string out;
    for (const auto& record : records) {
        for (std::size_t i = 0; i < record.size(); ++i) out += (i ? "," : "") + csvField(record[i]);
        out += "\r\n";
    }
    return out;
}

}  // namespace selvane::text
