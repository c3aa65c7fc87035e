#include "odds/OddsPrices.h"

#include <charconv>
#include <limits>
#include <system_error>

#include "kit/Maxkey.h"
#include "net/HtmlEngine.h"
#include "net/PageText.h"

namespace selvane {
namespace {

constexpr double kNotANumber = -std::numeric_limits<double>::infinity();

// The letters of ISO-8859-1: A-Z and À-Þ (not ×) upper case, a-z and à-þ (not ÷) lower.
unsigned char lowerLatin1(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<unsigned char>(c + 0x20);
    return c;
}

unsigned char upperLatin1(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<unsigned char>(c - 0x20);
    return c;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A plain decimal ("3.50", "-100.0", "12"), compared as a number; anything else sorts below
// every price, so it never becomes the best.
double priceValue(std::string_view text) {
    std::size_t i = text.empty() || text[0] != '-' ? 0 : 1;
    std::size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            ++digits;
        else if (text[i] == '.' && !point)
            point = true;
        else
            return kNotANumber;
    }
    if (digits == 0) return kNotANumber;
    double value = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc::result_out_of_range) {
        // Too many digits: huge when a whole part is there, else as good as nothing.
        const std::size_t whole = text.find_first_of("123456789");
        value = whole < text.find('.') ? std::numeric_limits<double>::max() : 0.0;
        if (text[0] == '-') value = -value;
    }
    return value;
}

}  // namespace

std::string replaceOddsString2Num(std::string_view sData) {
    std::string text(sData);
    for (char& c : text) c = text::lowerAscii(c);
    if (text.find("n/a") != std::string::npos) return text::replaceAll(text, "n/a", "-100.0");
    if (text.find("scr") != std::string::npos) return text::replaceAll(text, "scr", "-10.0");
    return text;
}

std::string bestOdds(const OddsCells& cells) {
    // Slots 1..7, largest first after the exchanges: maxkey finds the smallest of 1..j, which
    // then changes places with slot j.
    std::array<std::string, 8> slots;
    std::array<double, 8> values{};
    for (std::size_t k = 0; k < kPriceCells.size(); ++k) {
        slots[k + 1] = replaceOddsString2Num(cells[kPriceCells[k] - 1]);
        values[k + 1] = priceValue(slots[k + 1]);
    }
    for (int j = 7; j >= 2; --j) {
        const int m = *maxkey(1, j, values);
        swapValues(values[m], values[j]);
        swapValues(slots[m], slots[j]);
    }
    if (values[1] == kNotANumber) return {};
    return text::replaceAll(slots[1], "-10.0", "scr");
}

std::string properCase(std::string_view text) {
    // Shown as UTF-8 where the bytes are that, else as Latin-1: the case rule follows the reading.
    const bool utf8 = isValidUtf8(text);
    std::string out(text);
    bool wordStart = true;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (utf8 && c == 0xC3 && i + 1 < out.size()) {
            // U+00C0..U+00FF: the second byte is the Latin-1 letter less 0x40.
            const auto letter = static_cast<unsigned char>(out[i + 1] + 0x40);
            out[i + 1] = static_cast<char>((wordStart ? upperLatin1(letter) : lowerLatin1(letter)) - 0x40);
            ++i;
        } else if (!utf8 || c < 0x80) {
            out[i] = static_cast<char>(wordStart ? upperLatin1(c) : lowerLatin1(c));
            wordStart = isBlank(out[i]);
            continue;
        }
        wordStart = false;
    }
    // Latin-1 bytes that would now read as UTF-8 would show other letters: only ASCII changes then.
    if (!utf8 && isValidUtf8(out)) {
        out.assign(text);
        wordStart = true;
        for (char& c : out) {
            c = wordStart ? text::upperAscii(c) : text::lowerAscii(c);
            wordStart = isBlank(c);
        }
    }
    return out;
}

std::vector<OddsRow> oddsRows(const OddsTable& table) {
    std::vector<OddsRow> rows;
    rows.reserve(table.size());
    for (const OddsCells& cells : table) {
        OddsRow row{cells[0], properCase(cells[1]), bestOdds(cells), {}};
        for (std::size_t k = 0; k < kPriceCells.size(); ++k) row.prices[k] = cells[kPriceCells[k] - 1];
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace selvane
