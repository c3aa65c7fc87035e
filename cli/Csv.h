#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace selvane::cli {

struct Context;

// Records ended by CR LF, the first one the header.
void writeCsv(std::ostream& out, const std::vector<std::vector<std::string>>& records);

// --csv given; a usage error beside --json.
bool csvWanted(const Context& ctx);

}  // namespace selvane::cli
