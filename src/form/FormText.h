#pragma once

#include <string>
#include <string_view>

namespace selvane::formtext {

// The shortest text that reads back as v ("1.5", "1e-10"); a whole number a float holds exactly
// is its digits, without a point ("5", "100000").
std::string shortestDecimal(float v);

// v as "%.2f" prints it ("3.33", "-0.00"), appended to line.
void appendTwoDecimals(std::string& line, float v);

// The text up to the first "(", trimmed: a runner's name from its horse cell.
std::string_view nameBeforeBracket(std::string_view horse);

}  // namespace selvane::formtext
