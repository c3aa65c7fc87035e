#pragma once

#include <string>

namespace selvane {

struct App;
class ShellPort;

// Hands target (a web address or a document path) to the desktop's opener and replaces it
// with the opener's result code as decimal text; above 32 means it was opened. No port counts
// as no program to take it.
void shellOpen(ShellPort* shell, std::string& target);

// The same through the app's shell port.
void shellOpen(App& app, std::string& target);

}  // namespace selvane
