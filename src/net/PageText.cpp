#include "net/PageText.h"

#include <utility>

namespace selvane {

std::string rewriteTagsJoinLines(std::string_view page) {
    static constexpr std::pair<std::string_view, std::string_view> kTagRewrites[] = {
        {"<STRONG>", "<B>"}, {"</STRONG>", "</B>"}, {"<EM>", "<I>"}, {"</EM>", "</I>"}};
    std::string joined;
    joined.reserve(page.size());
    for (std::size_t i = 0; i < page.size();) {
        const char c = page[i];
        if (c == '\r' && i + 1 < page.size() && page[i + 1] == '\n') {
            i += 2;
            continue;
        }
        if (c == '<') {
            bool rewritten = false;
            for (const auto& [from, to] : kTagRewrites) {
                if (page.substr(i, from.size()) == from) {
                    joined += to;
                    i += from.size();
                    rewritten = true;
                    break;
                }
            }
            if (rewritten) continue;
        }
        joined += c;
        ++i;
    }
    return joined;
}

std::string replaceEach(std::string_view text, std::string_view what, std::string_view with) {
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    while (!what.empty()) {
        const std::size_t at = text.find(what, from);
        if (at == std::string_view::npos) break;
        out.append(text.substr(from, at - from));
        out.append(with);
        from = at + what.size();
    }
    out.append(text.substr(from));
    return out;
}

}  // namespace selvane
