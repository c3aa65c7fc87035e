#pragma once

#include <string>
#include <string_view>

namespace selvane::formtext {

// Blanks (spaces only, not tabs) cut from both ends, as the form texts are trimmed.
std::string_view trimSpaces(std::string_view s);

// The number a text starts with: blanks, an optional sign, digits, a decimal point, an
// exponent ("2", " 12)", "-3", "1.5e2"); 0 when it starts with anything else.
double leadingNumber(std::string_view s);

// The shortest decimal text that reads back as v; a whole number has no point ("5").
std::string shortestDecimal(float v);

// The text up to the first "(", trimmed: a runner's name from its horse cell.
std::string_view nameBeforeBracket(std::string_view horse);

}  // namespace selvane::formtext
