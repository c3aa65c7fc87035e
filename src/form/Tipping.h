#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "kit/Controls.h"

namespace selvane {

struct MainWindow;

// One runner as the tipping reads it from the runner list.
struct TipInput {
    std::string number;   // "1", "5e" for an emergency
    std::string form;     // "3121", "0x00", "\~"
    std::string name;     // "NAME" or "NAME  (5)"
    std::string barrier;  // "5" or empty
    bool ticked = false;
};

// The four texts of one tip, as the tip list and the grid show them.
struct TipRow {
    std::string label;    // " 1st"
    std::string runner;   // " 3.  NAME" in the tip list, "  3.  NAME" in the grid
    std::string win;      // " 81%" in the tip list, "  81%" in the grid
    std::string barrier;  // "2" in the tip list, " 2" in the grid
    bool highlight = false;  // the each-way best bet's grid row
};

// Why a run published nothing.
enum class TipStop {
    None,          // tips published
    EmptyField,    // no runners: nothing at all changes
    FormTooLong,   // a form of more than five characters
    TooFewRunners, // no fifth runner for the win base
    OutOfRange,    // a win base or a tip's barrier that does not fit a 16-bit integer
};

// Why a runner's rank value is not its form mean plus its barrier.
enum class TipReason {
    None,
    NoForm,     // an empty form
    Ticked,     // ticked off the list
    Emergency,  // ranked behind every starter
    ZerosOnly,  // no placing above 0: the field's worst score
};

// Everything one run works out, as values.
struct TipOutcome {
    TipStop stop = TipStop::None;
    std::string error;  // one line, when stopped

    // Per runner, index 0 = position 1.
    std::vector<float> formScore;
    std::vector<float> rankValue;
    std::vector<float> barrierValue;
    std::vector<std::string> formDigits;  // the placings the mean divides by, in form order
    std::vector<float> formMean;          // 0 when there is none
    std::vector<TipReason> reason;
    bool ranked = false;  // the per-runner values above are complete
    std::vector<int> tipOrder;  // positions, best first
    float maxScore = 1.0f;
    std::int16_t winBase = 0;

    std::vector<TipRow> tips;            // the tip list
    std::array<double, 6> tipScores{};   // slots 1..5
    std::vector<std::int32_t> gridOrder; // tip entry of each grid row, slots 1..5
    std::vector<TipRow> grid;            // grid rows 1..5
    int bestBetRow = 0;                  // grid row of the each-way best bet, 0 when none
    std::string status;                  // status panel 2
    std::array<std::int16_t, 6> tipBarriers{};  // slots 1..5, sorted
    std::int16_t insufficientFormCount = 0;
    int starters = 0;  // runners neither ticked nor emergencies
};

// Raised whenever a change makes computeTips tip some field differently: the record keeps it with
// every tip run, so tips of different engines are never mixed up.
inline constexpr int kTippingEngineVersion = 1;

TipOutcome computeTips(const std::vector<TipInput>& field);

// "no form", "ticked", "emergency", "zeros only"; empty for None.
const char* reasonText(TipReason r);
// Runner i's working as one line: "form 3 1 5 → mean 3.00 + barrier 2 = 5.00".
std::string explainLine(const TipOutcome& o, std::size_t i);

// The runner list's rows as tipping input.
std::vector<TipInput> tipInputs(const MainWindow& w);

struct TipRun {
    TipStop stop = TipStop::None;
    std::string error;
    bool published() const { return stop == TipStop::None; }
};

// Shows a published outcome: the tip list, grid rows 1..5 with the best bet's cells coloured,
// status panel 2, tipBarriers and insufficientFormCount; each runner and tip row's tooltip
// explains its working, status panel 2's gives the box costs and each-way terms.
void renderTips(MainWindow& w, const TipOutcome& o);

// Tips the runner list: the tip list, grid rows 1..5, status panel 2, tipBarriers and
// insufficientFormCount. A stopped run touches none of them but insufficientFormCount (0);
// an empty runner list touches nothing.
TipRun workoutPlaces(MainWindow& w);

// The ascending order of values slots lo..hi (an exchange sort that never swaps equal
// values); result slots lo..hi hold the slot each place came from.
std::vector<std::int32_t> tipGridOrder(std::span<const double> values, int lo, int hi);

// The grid texts of tip entry `tip` in grid row `row`.
TipRow gridRow(int row, const TipRow& tip);

// The first of rows 1..5 whose barrier text reads as lowestBarrier; 0 when none.
int bestBetRowOf(const std::vector<std::string>& barrierCells, std::int16_t lowestBarrier);

inline constexpr const char* kBestBetStatus = "Tip each way best bet #";
inline constexpr Colour kBestBetColour = 0xC0C000;

// Sorts slots 1..n ascending in place.
void sortIntegers(std::span<std::int16_t> values, int n);

}  // namespace selvane
