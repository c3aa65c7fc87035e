#pragma once

#include <string>
#include <string_view>

namespace selvane {

// The first rewrites every table scanner makes of a page: "<STRONG>", "</STRONG>", "<EM>",
// "</EM>" to "<B>", "</B>", "<I>", "</I>" (exact case), then every CR LF pair removed. Each rule
// runs over the whole text in that order; one pass gives the same text, since none of them can
// make or break another's match.
std::string rewriteTagsJoinLines(std::string_view page);

// Every occurrence of what (exact case, left to right, the result not searched again).
std::string replaceEach(std::string_view text, std::string_view what, std::string_view with);

}  // namespace selvane
