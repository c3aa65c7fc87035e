#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace selvane::cli {

struct Context;

// One field as a spreadsheet reads it back: quoted when it holds a comma, a quote or blanks at
// either end (so that they survive), quotes doubled; page bytes as UTF-8. Control characters
// (line breaks too) are escaped as on the terminal, so that a record is one line and a CSV shown
// on a terminal cannot drive it; --json keeps the exact texts.
std::string csvField(std::string_view bytes);
// Records ended by CR LF, the first one the header.
void writeCsv(std::ostream& out, const std::vector<std::vector<std::string>>& records);

// --csv given; a usage error beside --json.
bool csvWanted(const Context& ctx);

}  // namespace selvane::cli
