#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// The small text rules every page reader shares: ASCII letter case, blank trimming,
// replacement, the leading number of a text, the tag rewrite before a page walk, and the
// address and date parts built from page texts.
namespace selvane::text {

inline char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
inline char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// out becomes s upper-cased; a parser reuses one buffer for every tag.
inline void upperInto(std::string& out, std::string_view s) {
    out.assign(s);
    for (char& c : out) c = upperAscii(c);
}

inline std::string upper(std::string_view s) {
    std::string out;
    upperInto(out, s);
    return out;
}

inline std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

std::size_t findNoCase(std::string_view hay, std::string_view needle, std::size_t from = 0);

inline bool containsNoCase(std::string_view hay, std::string_view needle) {
    return findNoCase(hay, needle) != std::string_view::npos;
}

// A mask with the high bit of every byte of word that equals c (exact: no borrow between bytes).
inline std::uint64_t bytesEqual(std::uint64_t word, char c) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t x = word ^ (0x0101010101010101ULL * static_cast<unsigned char>(c));
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// The first c in s at or after from, or npos; eight bytes a step, as tags and texts are short
// and a call into memchr costs more than it saves there.
inline std::size_t findByte(std::string_view s, char c, std::size_t from) {
    std::size_t i = from;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (const std::uint64_t m = bytesEqual(word, c)) return i + static_cast<std::size_t>(std::countr_zero(m) / 8);
    }
    for (; i < s.size(); ++i)
        if (s[i] == c) return i;
    return std::string_view::npos;
}

// s equals upperWord (upper-case) with letter case ignored.
inline bool equalsNoCase(std::string_view upperWord, std::string_view s) {
    if (s.size() != upperWord.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (upperAscii(s[i]) != upperWord[i]) return false;
    return true;
}

// s starts with upperWord (upper-case) with letter case ignored.
inline bool startsNoCase(std::string_view s, std::string_view upperWord) {
    return s.size() >= upperWord.size() && equalsNoCase(upperWord, s.substr(0, upperWord.size()));
}

// One "<" inside a tag: where it is, whether "/" follows, the letters after it (at most eight)
// and the character after those ('\0' at the tag's end). Tag tests look at these instead of
// searching the whole tag once per spelling.
struct TagOpening {
    std::size_t at;
    bool closing;
    std::string_view name;
    char after;
};

// Calls f(TagOpening) for every "<" in tag, left to right; f returns false to stop.
template <class F>
void forEachOpening(std::string_view tag, F&& f) {
    for (std::size_t i = findByte(tag, '<', 0); i != std::string_view::npos; i = findByte(tag, '<', i + 1)) {
        std::size_t j = i + 1;
        const bool closing = j < tag.size() && tag[j] == '/';
        if (closing) ++j;
        const std::size_t nameStart = j;
        while (j < tag.size() && j - nameStart < 8 && lowerAscii(tag[j]) >= 'a' && lowerAscii(tag[j]) <= 'z') ++j;
        if (!f(TagOpening{i, closing, tag.substr(nameStart, j - nameStart), j < tag.size() ? tag[j] : '\0'})) return;
    }
}

// Spaces only are trimmed, as the platform's trim does (tabs and line breaks stay).
inline std::string_view trimSpaces(std::string_view s) {
    const std::size_t a = s.find_first_not_of(' ');
    if (a == std::string_view::npos) return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// Every occurrence of what, left to right, replaced by with.
std::string replaceAll(std::string_view s, std::string_view what, std::string_view with, bool ignoreCase = false);

// The number a text starts with, as the platform's number reading takes it: blanks, tabs and
// line breaks skipped, an optional sign, digits, a decimal point, an exponent (e, E, d or D);
// 0 when it starts with anything else, ±inf past the double range.
double leadingNumber(std::string_view s);

// A race number as page names and headings write it: a "0" before one below 10 ("7" gives "07").
inline std::string paddedRaceNumber(std::string_view raceNumber) {
    return (leadingNumber(raceNumber) < 10 ? "0" : "") + std::string(raceNumber);
}

// The rewrite a page walk starts with: <STRONG>, </STRONG>, <EM>, </EM> become <B>, </B>,
// <I>, </I> and each CR LF pair goes, in one pass.
std::string rewriteTagsAndBreaks(std::string_view page);

// Every "&nbsp;" replaced, in place, by with (at most six characters).
void replaceNbsp(std::string& page, std::string_view with);

// The parsers' rewrite: rewriteTagsAndBreaks, then "&nbsp;" becomes "\~" (also one that a
// CR LF had split).
std::string rewritePageTags(std::string_view page);

// A text from a page or the date box as one part of an address (a path step or a query): every
// byte outside A-Z a-z 0-9 - _ . percent-encoded, so "/", "?" and "%" stay data. A part that is
// "." or ".." comes out as it is; the fetcher refuses an address with such a path step.
std::string addressPart(std::string_view part);

// Characters from..from+width-1 (0-based) of text, padded with blanks to width: a fixed-width
// field such as the day, month and year of a dd/mm/yyyy date.
std::string fixedWidthPart(std::string_view text, std::size_t from, std::size_t width);

// Page bytes as UTF-8: valid UTF-8 as it is, anything else read as Latin-1.
std::string toUtf8(std::string_view bytes);
// UTF-8 text with its control characters (C0, DEL, C1) written as \xNN or \uNNNN escapes, so
// that page bytes cannot drive a terminal or break a record; LF kept when lineBreaks.
std::string escapeControls(const std::string& utf8, bool lineBreaks);

// One field as a spreadsheet reads it back: quoted when it holds a comma, a quote or blanks at
// either end (so that they survive), quotes doubled; page bytes as UTF-8. Control characters
// (line breaks too) are escaped, so that a record is one line.
std::string csvField(std::string_view bytes);
// Records ended by CR LF, the first one the header.
std::string csvText(const std::vector<std::vector<std::string>>& records);

}  // namespace selvane::text
