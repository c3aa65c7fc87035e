#include "net/HtmlEngine.h"

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>

namespace selvane {
namespace {

}  // namespace

bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || i + extra >= s.size()) return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 0x2) return false;
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

// The engine writes bare LF; the parsers expect the page's breaks as CR LF.
std::string toCrLf(const char* data, std::size_t size) {
    std::string out;
    out.reserve(size + size / 16);
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < size && data[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
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

    if (xmlNode* root = xmlDocGetRootElement(doc.get())) {
        std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(xmlBufferCreate(), xmlBufferFree);
        std::unique_ptr<xmlOutputBuffer, decltype(&xmlOutputBufferClose)> out(
            xmlOutputBufferCreateBuffer(buffer.get(), xmlFindCharEncodingHandler("HTML")), xmlOutputBufferClose);
        htmlNodeDumpFormatOutput(out.get(), doc.get(), root, "HTML", 0);
        xmlOutputBufferFlush(out.get());
        page.markup = toCrLf(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                             static_cast<std::size_t>(xmlBufferLength(buffer.get())));
    }
    if (const xmlNode* title = findTitle(xmlDocGetRootElement(doc.get()), 0)) {
        std::unique_ptr<xmlChar, decltype(xmlFree)> text(xmlNodeGetContent(title), xmlFree);
        if (text) page.title = reinterpret_cast<const char*>(text.get());
    }
    return page;
}

}  // namespace selvane
