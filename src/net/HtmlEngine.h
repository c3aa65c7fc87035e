#pragma once

#include <string>
#include <string_view>

namespace selvane {

struct NormalisedPage {
    std::string title;   // the document's title text (UTF-8)
    std::string markup;  // the root element's outer HTML, every line break as CR LF
};

// Parses a page as a browser-like engine would and writes the document back out. The parsers
// of race, price and result pages are written against this serialisation: named entities
// (&nbsp; stays &nbsp;), attribute values as sent, CR LF line breaks. charset may be empty.
bool isValidUtf8(std::string_view bytes);

NormalisedPage normalisePage(std::string_view bytes, const std::string& charset = {});

}  // namespace selvane
