#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace selvane::text {

// An address as it goes on the wire: blanks, "#", "%" and other characters a URL cannot carry
// as data are percent-encoded (a short date gives a query of blanks).
std::string wireAddress(std::string_view address);

// Characters from..from+width-1 (0-based) of text, padded with blanks to width: a fixed-width
// field such as the day, month and year of a dd/mm/yyyy date.
std::string fixedWidthPart(std::string_view text, std::size_t from, std::size_t width);

}  // namespace selvane::text
