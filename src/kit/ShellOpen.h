#pragma once

#include <string>

namespace selvane {

struct App;

// Hands target (a web address or a document path) to the desktop's opener and replaces it
// with the opener's result code as decimal text; above 32 means it was opened.
void shellOpen(App& app, std::string& target);

}  // namespace selvane
