#pragma once

#include <string>
#include <string_view>

#include "kit/Ports.h"

namespace selvane {

// Hands target (a web address or a document path) to the desktop's opener and replaces it
// with the opener's result code as decimal text; above 32 means it was opened.
void shellOpen(ShellPort* shell, std::string& target);

// An address the user's browser may be handed from a link in a page: http or https with a host,
// no blank or control character in it. Anything else (a file, mailto:, javascript:) is not.
bool isBrowserAddress(std::string_view address);

// A click on a link in one of the program's web views: a browser address goes to the desktop's
// opener; anything else opens nothing. Returns whether the opener was asked.
bool openClickedLink(ShellPort* shell, std::string_view address);

}  // namespace selvane
