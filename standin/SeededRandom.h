#pragma once

// The stand-in's random numbers: a day's generation and its price walk draw from the same day seed.

#include <cstdint>
#include <string_view>
#include <vector>

#include "standin/RaceDates.h"

namespace selvane::standin {

// splitmix64: the same numbers on every platform and library, unlike std's distributions.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return uniform() < p; }
    template <typename T>
    const T& pick(const std::vector<T>& v) { return v[static_cast<std::size_t>(below(static_cast<int>(v.size())))]; }

private:
    std::uint64_t state_;
};

inline std::uint64_t mix(std::uint64_t a, std::uint64_t b) {
    Rng r(a * 0x100000001B3ull ^ (b + 0x632BE59BD9B4E019ull));
    r.next();
    return r.next();
}

inline std::uint64_t hashText(std::string_view s) {
    std::uint64_t h = 0xCBF29CE484222325ull;
    for (unsigned char c : s) h = (h ^ c) * 0x100000001B3ull;
    return h;
}

inline std::uint64_t daySeed(const Date& d, std::uint32_t seed) {
    return mix(static_cast<std::uint64_t>(daysFromCivil(d) + 1'000'000), seed);
}

}  // namespace selvane::standin
