#pragma once

#include <string>

#include "kit/Ports.h"

namespace selvane {

// Hands target (a web address or a document path) to the desktop's opener and replaces it
// with the opener's result code as decimal text; above 32 means it was opened.
void shellOpen(ShellPort* shell, std::string& target);

}  // namespace selvane
