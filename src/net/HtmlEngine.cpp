#include "net/HtmlEngine.h"

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>
#include <string>
#include <utility>

namespace selvane {

bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        // The second byte's range is what rules out overlong forms, surrogates and code points
        // past U+10FFFF.
        std::size_t extra = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            if (c == 0xE0) low = 0xA0;
            if (c == 0xED) high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (s.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if (b < low || b > high) return false;
            low = 0x80;
            high = 0xBF;
        }
        i += extra + 1;
    }
    return true;
}

namespace {

// The first <title> element's text, depth-first; deep nesting is cut off rather than recursed.
const xmlNode* findTitle(const xmlNode* node, int depth) {
    for (; node && depth < 256; node = node->next) {
        if (node->type == XML_ELEMENT_NODE && xmlStrcasecmp(node->name, BAD_CAST "title") == 0) return node;
        if (const xmlNode* found = findTitle(node->children, depth + 1)) return found;
    }
    return nullptr;
}

bool namesCharsetItself(std::string_view bytes) {
    // Only the head matters; a page that declares its charset is left to the parser.
    std::string head(bytes.substr(0, 4096));
    std::transform(head.begin(), head.end(), head.begin(), [](unsigned char c) { return std::tolower(c); });
    return head.find("charset=") != std::string::npos || head.find("<?xml") != std::string::npos;
}

// The code point of the UTF-8 sequence at data[i] and its length; a malformed byte is taken
// as itself, one byte long.
std::pair<unsigned, std::size_t> decodeAt(const unsigned char* data, std::size_t size, std::size_t i) {
    const unsigned c = data[i];
    const std::size_t extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (c < 0x80 || extra == 0 || size - i <= extra) return {c, 1};
    unsigned code = c & (0x3Fu >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        if ((data[i + k] & 0xC0) != 0x80) return {c, 1};
        code = (code << 6) | (data[i + k] & 0x3F);
    }
    return {code, extra + 1};
}

// The engine writes UTF-8 with bare LF; work files hold the page in its 8-bit form (Latin-1,
// a character past it as a numeric entity) with CR LF breaks. A no-break space stays the
// entity the parsers look for.
std::string toWorkFileForm(const char* text, std::size_t size) {
    const auto* data = reinterpret_cast<const unsigned char*>(text);
    std::string out;
    out.reserve(size + size / 16);
    for (std::size_t i = 0; i < size;) {
        // Plain ASCII without line breaks goes over as it is, a run at a time.
        std::size_t run = i;
        while (run < size && data[run] < 0x80 && data[run] != '\r' && data[run] != '\n') ++run;
        if (run > i) {
            out.append(text + i, run - i);
            i = run;
            continue;
        }
        const auto [code, length] = decodeAt(data, size, i);
        if (code == '\r') {
            out += "\r\n";
            if (i + 1 < size && data[i + 1] == '\n') ++i;
        } else if (code == '\n') {
            out += "\r\n";
        } else if (code == 0xA0) {
            out += "&nbsp;";
        } else if (code <= 0xFF) {
            out += static_cast<char>(code);
        } else {
            out += "&#" + std::to_string(code) + ";";
        }
        i += length;
    }
    return out;
}

}  // namespace

NormalisedPage normalisePage(std::string_view bytes, const std::string& charset) {
    NormalisedPage page;
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return page;

    const char* encoding = nullptr;
    if (!charset.empty()) encoding = charset.c_str();
    else if (!namesCharsetItself(bytes)) encoding = isValidUtf8(bytes) ? "UTF-8" : "ISO-8859-1";

    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET |
                        HTML_PARSE_NODEFDTD | XML_PARSE_HUGE;
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        htmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "page.html", encoding, options), xmlFreeDoc);
    if (!doc && encoding && !charset.empty()) {
        // An unknown charset name: fall back to guessing from the bytes.
        encoding = isValidUtf8(bytes) ? "UTF-8" : "ISO-8859-1";
        doc.reset(htmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "page.html", encoding, options));
    }
    if (!doc) return page;

    // The dump is sized for the page up front, and the tree goes before the dump is converted,
    // so the tree, the dump and the work-file form are never all held at once.
    std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(nullptr, xmlBufferFree);
    if (xmlNode* root = xmlDocGetRootElement(doc.get())) {
        buffer.reset(xmlBufferCreateSize(bytes.size() + bytes.size() / 8 + 64));
        if (!buffer) return page;
        std::unique_ptr<xmlOutputBuffer, decltype(&xmlOutputBufferClose)> out(
            xmlOutputBufferCreateBuffer(buffer.get(), nullptr), xmlOutputBufferClose);
        htmlNodeDumpFormatOutput(out.get(), doc.get(), root, "UTF-8", 0);
        xmlOutputBufferFlush(out.get());
    }
    if (const xmlNode* title = findTitle(xmlDocGetRootElement(doc.get()), 0)) {
        std::unique_ptr<xmlChar, decltype(xmlFree)> text(xmlNodeGetContent(title), xmlFree);
        if (text) page.title = reinterpret_cast<const char*>(text.get());
    }
    doc.reset();
    if (buffer)
        page.markup = toWorkFileForm(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                                     static_cast<std::size_t>(xmlBufferLength(buffer.get())));
    return page;
}

}  // namespace selvane
