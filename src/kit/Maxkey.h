#pragma once

#include <optional>
#include <span>
#include <type_traits>
#include <utility>

namespace selvane {

// Exchanges two values of the same kind; values of different kinds stay as they are.
template <class A, class B>
void swapValues(A& a, B& b) {
    if constexpr (std::is_same_v<A, B>) std::swap(a, b);
}

// The slot of the first smallest value among lo..hi; none when hi is not above lo.
std::optional<int> maxkey(int lo, int hi, std::span<const double> values);

}  // namespace selvane
