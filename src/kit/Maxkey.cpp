#include "kit/Maxkey.h"

namespace selvane {

std::optional<int> maxkey(int lo, int hi, std::span<const double> values) {
    if (hi <= lo || lo < 0 || static_cast<std::size_t>(hi) >= values.size()) return std::nullopt;
    int k = lo;
    for (int i = lo + 1; i <= hi; ++i)
        if (values[i] < values[k]) k = i;
    return k;
}

}  // namespace selvane
