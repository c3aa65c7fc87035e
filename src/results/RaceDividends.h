#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace selvane {

// Money in whole cents. Dividends are cents returned per $1 unit ("$13.40" is 1340).
using Cents = std::int64_t;

// The race row's state word: only an official result is settled.
enum class ResultStatus { Unknown, Closed, Interim, Official, Abandoned };

struct Placing {
    int place = 0;   // 1 for first; runners in a dead heat share a place
    int runner = 0;  // saddle-cloth number
    std::optional<Cents> winDividend;    // as declared; none when the cell is blank
    std::optional<Cents> placeDividend;
    bool operator==(const Placing&) const = default;
};

enum class Pool { Quinella, Exacta, Trifecta, FirstFour };
inline constexpr std::size_t kPools = 4;
// How many runners a pool's combination names: 2, 2, 3, 4.
inline constexpr int poolRunners(Pool p) { return p == Pool::Trifecta ? 3 : p == Pool::FirstFour ? 4 : 2; }

// One declared combination: runners as the page writes them ("1/3/6"), its dividend per $1.
struct ExoticDividend {
    std::vector<int> runners;
    Cents amount = 0;
    bool operator==(const ExoticDividend&) const = default;
};

// What a row the reader could not take was; the row adds nothing else.
enum class DividendProblem {
    BadPlace,        // a placing row without a readable place or runner number
    BadAmount,       // a dividend that is neither blank nor an amount
    BadCombination,  // runners that are not the pool's count of distinct numbers
    BadScratchings,  // a scratchings list that is not "Nil" or numbers
    CutShort,        // the page ended inside a row, or before its </body> or </html>
};

struct DividendIssue {
    DividendProblem problem;
    std::size_t offset;  // of the row (its <tr>, else its first cell), or where the page ended
    bool operator==(const DividendIssue&) const = default;
};

struct RaceDividends {
    ResultStatus status = ResultStatus::Unknown;
    std::vector<Placing> placings;  // page order
    std::array<std::vector<ExoticDividend>, kPools> exotics;  // by Pool; a dead heat declares several
    std::vector<int> scratchings;
    std::vector<DividendIssue> issues;

    const std::vector<ExoticDividend>& pool(Pool p) const { return exotics[static_cast<std::size_t>(p)]; }
    bool operator==(const RaceDividends&) const = default;
};

}  // namespace selvane
