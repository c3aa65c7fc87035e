#pragma once

#include <optional>
#include <span>
#include <utility>

namespace selvane {

// Exchanges two values of the same kind.
template <class T>
void swapValues(T& a, T& b) {
    std::swap(a, b);
}

// Despite its name, the slot of the first smallest value among lo..hi; none when hi is not
// above lo.
std::optional<int> maxkey(int lo, int hi, std::span<const double> values);

}  // namespace selvane
