#include "kit/ShellOpen.h"

namespace selvane {
namespace {

// s starts with lowerPrefix, letter case ignored (a scheme's is).
bool startsNoCase(std::string_view s, std::string_view lowerPrefix) {
    if (s.size() < lowerPrefix.size()) return false;
    for (std::size_t i = 0; i < lowerPrefix.size(); ++i) {
        const char c = s[i] >= 'A' && s[i] <= 'Z' ? static_cast<char>(s[i] - 'A' + 'a') : s[i];
        if (c != lowerPrefix[i]) return false;
    }
    return true;
}

}  // namespace

void shellOpen(ShellPort* shell, std::string& target) {
    const int code = shell ? shell->open(target) : kShellNoAssociation;
    target = std::to_string(code);
}

bool isBrowserAddress(std::string_view address) {
    for (char c : address)
        if (static_cast<unsigned char>(c) <= ' ' || c == '\x7F') return false;
    std::size_t rest = 0;
    for (std::string_view scheme : {"http://", "https://"})
        if (startsNoCase(address, scheme)) rest = scheme.size();
    if (rest == 0) return false;
    // The authority runs to the path, query or fragment; its host follows any user part.
    std::string_view authority = address.substr(rest, address.find_first_of("/?#", rest) - rest);
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    return !authority.empty() && authority.front() != ':';
}

bool openClickedLink(ShellPort* shell, std::string_view address) {
    if (!shell || !isBrowserAddress(address)) return false;
    shell->open(std::string(address));
    return true;
}

}  // namespace selvane
