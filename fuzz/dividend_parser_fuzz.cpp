#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "results/DividendParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const selvane::RaceDividends d = selvane::parseDividends(page);
    // What the settlement relies on: each combination names its pool's count of runners, and
    // every amount is within the reader's bounds.
    for (std::size_t p = 0; p < selvane::kPools; ++p)
        for (const selvane::ExoticDividend& e : d.exotics[p])
            if (static_cast<int>(e.runners.size()) != selvane::poolRunners(static_cast<selvane::Pool>(p)) ||
                e.amount < 0 || e.amount > 1'000'000'000)
                std::abort();
    for (const selvane::DividendIssue& i : d.issues)
        if (i.offset > size) std::abort();
    return 0;
}
