#pragma once

#include <string>
#include <string_view>

namespace selvane::formtext {

// Blanks (spaces only, not tabs) cut from both ends, as the form texts are trimmed.
std::string_view trimSpaces(std::string_view s);

// The number a text starts with: blanks, an optional sign, digits, a decimal point, an
// exponent ("2", " 12)", "-3", "1.5e2"); 0 when it starts with anything else.
double leadingNumber(std::string_view s);

// The shortest text that reads back as v ("1.5", "1e-10"); a whole number a float holds exactly
// is its digits, without a point ("5", "100000").
std::string shortestDecimal(float v);

// The text up to the first "(", trimmed: a runner's name from its horse cell.
std::string_view nameBeforeBracket(std::string_view horse);

}  // namespace selvane::formtext
