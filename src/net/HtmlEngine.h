#pragma once

#include <string>
#include <string_view>

namespace selvane {

struct NormalisedPage {
    std::string title;   // the document's title text (UTF-8)
    std::string markup;  // the root element's outer HTML, every line break as CR LF
};

// Strict UTF-8: no overlong form, no surrogate, nothing past U+10FFFF.
bool isValidUtf8(std::string_view bytes);

// Parses a page as a browser-like engine would and writes the document back out. The parsers
// of race, price and result pages are written against this serialisation: "&nbsp;", "&amp;",
// "&lt;" and "&gt;" as entities, every other character as itself in Latin-1 (one past Latin-1
// as "&#8364;"), attribute values as sent, CR LF line breaks. charset may be empty.

NormalisedPage normalisePage(std::string_view bytes, const std::string& charset = {});

}  // namespace selvane
