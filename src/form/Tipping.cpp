#include "form/Tipping.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <variant>

#include "kit/MainWindow.h"
#include "kit/Maxkey.h"
#include "form/TipGrid.h"
#include "form/BetTerms.h"
#include "form/FormText.h"
#include "net/PageText.h"

namespace selvane {

using text::leadingNumber;
using formtext::appendTwoDecimals;
using formtext::nameBeforeBracket;
using formtext::shortestDecimal;
using text::trimSpaces;
namespace {

constexpr float kNoForm = 1000.0f;
constexpr float kEmergencyRank = 10000.0f;
constexpr std::size_t kFormSlots = 5;
constexpr int kTips = 5;

bool isEmergencyNumber(std::string_view number) { return number.find_first_of("eE") != std::string_view::npos; }

// A whole number that fits the 16-bit slots the tips keep, halves to even.
std::optional<std::int16_t> toInt16(double v) {
    const double whole = std::nearbyint(v);
    if (!(whole >= -32768.0 && whole <= 32767.0)) return std::nullopt;
    return static_cast<std::int16_t>(whole);
}

std::optional<std::int16_t> barrierSlot(std::string_view barrierText) {
    return toInt16(leadingNumber(trimSpaces(barrierText)));
}

// The percentage as a whole number, halves away from zero.
std::string winNumber(float percent) {
    double whole = std::round(static_cast<double>(percent));
    if (whole == 0.0) whole = 0.0;
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", whole);
    return buffer;
}

std::string joinCells(const TipRow& row) {
    return row.label + '\t' + row.runner + '\t' + row.win + '\t' + row.barrier;
}

// Why a run stops; empty while it goes on.
struct Stop {
    TipStop stop = TipStop::None;
    std::string error;
    explicit operator bool() const { return stop != TipStop::None; }
};

TipOutcome stopped(TipOutcome o, Stop why) {
    o.stop = why.stop;
    o.error = std::move(why.error);
    o.tips.clear();
    o.insufficientFormCount = 0;
    return o;
}

std::string runnerLabel(std::size_t i) { return "Runner " + std::to_string(i + 1); }

// Each runner's form score, barrier and why, in list order. A stop leaves the runners after the
// one that stopped it unscored.
struct FieldScores {
    std::vector<float> formScore, barrierValue, formMean;
    std::vector<std::string> formDigits;
    std::vector<TipReason> reason;
    int starters = 0;
    Stop stop;
};

// The form's placings from the back; with a placing above 0 the score is their mean plus the
// barrier, else their sum (0, or the score of zeros only).
float formScoreOf(std::string_view form, float barrier, std::string& digitsShown, float& mean) {
    float score = 0.0f;
    int digits = 0;
    for (auto c = form.rbegin(); c != form.rend(); ++c) {
        if (*c < '0' || *c > '9') continue;
        score += static_cast<float>(*c - '0');
        if (*c > '0') {
            ++digits;
            digitsShown.insert(digitsShown.begin(), *c);
        }
    }
    if (score >= 1.0f && digits >= 1) {
        mean = score / static_cast<float>(digits);
        score = mean + barrier;
    }
    return score;
}

FieldScores scoreField(const std::vector<TipInput>& field) {
    const std::size_t n = field.size();
    FieldScores s;
    s.formScore.assign(n, 0.0f);
    s.barrierValue.assign(n, 0.0f);
    s.formDigits.assign(n, {});
    s.formMean.assign(n, 0.0f);
    s.reason.assign(n, TipReason::None);
    for (std::size_t i = 0; i < n; ++i) {
        const TipInput& runner = field[i];
        const std::string_view form = trimSpaces(runner.form);
        const bool scored = !runner.ticked && !form.empty();
        if (scored && form.size() > kFormSlots) {
            s.stop = {TipStop::FormTooLong, runnerLabel(i) + "'s form has more than five characters"};
            return s;
        }
        const double barrier = leadingNumber(runner.barrier);
        if (!(std::fabs(barrier) <= FLT_MAX)) {
            s.stop = {TipStop::OutOfRange, runnerLabel(i) + "'s barrier is out of range"};
            return s;
        }
        s.barrierValue[i] = static_cast<float>(barrier);

        if (!isEmergencyNumber(runner.number) && !runner.ticked) ++s.starters;
        if (!scored) {
            s.formScore[i] = kNoForm;
            s.reason[i] = runner.ticked ? TipReason::Ticked : TipReason::NoForm;
            continue;
        }
        s.formScore[i] = formScoreOf(form, s.barrierValue[i], s.formDigits[i], s.formMean[i]);
    }
    return s;
}

// The rank values: a score of 0 (zeros only) takes the field's worst score, at least 1, and an
// emergency ranks behind every starter. formScore and reason come back changed accordingly.
struct Ranking {
    float maxScore = 1.0f;
    std::vector<float> formScore, rankValue;
    std::vector<TipReason> reason;
};

Ranking rankField(const std::vector<TipInput>& field, std::vector<float> formScore, std::vector<TipReason> reason) {
    Ranking r{1.0f, std::move(formScore), std::vector<float>(field.size(), 0.0f), std::move(reason)};
    for (float score : r.formScore)
        if (score > r.maxScore) r.maxScore = score;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (r.formScore[i] == 0.0f) {
            r.formScore[i] = r.maxScore;
            r.reason[i] = TipReason::ZerosOnly;
        }
        r.rankValue[i] = isEmergencyNumber(field[i].number) ? kEmergencyRank : r.formScore[i];
        if (r.rankValue[i] == kEmergencyRank && r.reason[i] == TipReason::None) r.reason[i] = TipReason::Emergency;
    }
    return r;
}

// Positions best first: ascending rank value, and among equal values the runner further down the
// list first (the order of taking the worst runner left, first in the list on a tie, from the back).
std::vector<int> tipOrderOf(const std::vector<float>& rankValue) {
    const std::size_t n = rankValue.size();
    std::vector<int> order(n);
    for (std::size_t s = 0; s < n; ++s) order[s] = static_cast<int>(n - s);
    std::stable_sort(order.begin(), order.end(),
                     [&rankValue](int a, int b) { return rankValue[a - 1] < rankValue[b - 1]; });
    return order;
}

// The fifth tip's rank value plus one, which the win percentages are taken of.
std::variant<std::int16_t, Stop> winBaseOf(const std::vector<float>& rankValue, const std::vector<int>& tipOrder) {
    const std::size_t n = rankValue.size();
    if (n < static_cast<std::size_t>(kTips))
        return Stop{TipStop::TooFewRunners,
                    "Only " + std::to_string(n) + (n == 1 ? " runner" : " runners") + ": the tips need at least five"};
    const auto winBase = toInt16(rankValue[tipOrder[kTips - 1] - 1] + 1.0f);
    if (!winBase) return Stop{TipStop::OutOfRange, "The win base is out of range"};
    if (*winBase == 0) return Stop{TipStop::OutOfRange, "The win base works out at 0"};
    return *winBase;
}

// The five tips as the tip list shows them, with each tip's barrier slot and grid sort value.
struct Tips {
    std::vector<TipRow> rows;
    std::array<double, 6> scores{};          // slots 1..5
    std::array<std::int16_t, 6> barriers{};  // slots 1..5, in tip order
    Stop stop;
};

Tips tipRows(const std::vector<TipInput>& field, const TipOutcome& o) {
    Tips t;
    for (int k = 1; k <= kTips; ++k) {
        const int position = o.tipOrder[k - 1];
        const std::size_t r = static_cast<std::size_t>(position - 1);
        const float rank = o.rankValue[r];
        const float percent = 100.0f - (rank / static_cast<float>(o.winBase)) * 100.0f;
        TipRow tip{labelNumber(k) + ordinalSuffix(static_cast<std::int16_t>(k)),
                   " " + std::to_string(position) + ".  " + std::string(nameBeforeBracket(field[r].name)),
                   " " + winNumber(percent) + "%", shortestDecimal(o.barrierValue[r])};
        const auto slot = barrierSlot(tip.barrier);
        if (!slot) {
            t.stop = {TipStop::OutOfRange, runnerLabel(r) + "'s barrier is out of range"};
            return t;
        }
        t.barriers[k] = *slot;
        t.scores[k] = static_cast<double>(rank) + static_cast<double>(o.barrierValue[r]) / 1000.0;
        t.rows.push_back(std::move(tip));
    }
    return t;
}

// The grid's rows in the order of the tips' sort values, the each-way best bet (the first row
// with the lowest barrier) marked, and the status line that names it.
struct GridRows {
    std::vector<std::int32_t> order;
    std::vector<TipRow> rows;
    std::array<std::int16_t, 6> sortedBarriers{};
    int bestBetRow = 0;
    std::string status;
};

GridRows gridRows(const std::vector<TipRow>& tips, const std::array<double, 6>& scores,
                  std::array<std::int16_t, 6> barriers) {
    GridRows g;
    g.order = tipGridOrder(scores, 1, kTips);
    std::vector<std::string> barrierCells;
    for (int row = 1; row <= kTips; ++row) {
        g.rows.push_back(gridRow(row, tips[g.order[row] - 1]));
        barrierCells.push_back(g.rows.back().barrier);
    }
    sortIntegers(barriers, kTips);
    g.sortedBarriers = barriers;
    g.bestBetRow = bestBetRowOf(barrierCells, barriers[1]);
    g.status = kBestBetStatus;
    if (g.bestBetRow > 0) {
        g.rows[g.bestBetRow - 1].highlight = true;
        g.status += g.rows[g.bestBetRow - 1].runner;
    }
    return g;
}

// Runners left in the field without form.
std::int16_t insufficientFormOf(const std::vector<TipInput>& field, const std::vector<float>& formScore) {
    std::int16_t count = 0;
    for (std::size_t i = 0; i < field.size(); ++i)
        if (!field[i].ticked && formScore[i] == kNoForm) ++count;
    return count;
}

}  // namespace

TipOutcome computeTips(const std::vector<TipInput>& field) {
    TipOutcome o;
    if (field.empty()) return stopped(std::move(o), {TipStop::EmptyField, "The runner list is empty"});

    FieldScores scores = scoreField(field);
    o.formScore = std::move(scores.formScore);
    o.barrierValue = std::move(scores.barrierValue);
    o.formDigits = std::move(scores.formDigits);
    o.formMean = std::move(scores.formMean);
    o.reason = std::move(scores.reason);
    o.starters = scores.starters;
    o.rankValue.assign(field.size(), 0.0f);
    if (scores.stop) return stopped(std::move(o), std::move(scores.stop));

    Ranking ranking = rankField(field, std::move(o.formScore), std::move(o.reason));
    o.maxScore = ranking.maxScore;
    o.formScore = std::move(ranking.formScore);
    o.rankValue = std::move(ranking.rankValue);
    o.reason = std::move(ranking.reason);
    o.ranked = true;
    o.tipOrder = tipOrderOf(o.rankValue);

    auto winBase = winBaseOf(o.rankValue, o.tipOrder);
    if (Stop* why = std::get_if<Stop>(&winBase)) return stopped(std::move(o), std::move(*why));
    o.winBase = std::get<std::int16_t>(winBase);

    Tips tips = tipRows(field, o);
    o.tips = std::move(tips.rows);
    o.tipScores = tips.scores;
    o.tipBarriers = tips.barriers;
    if (tips.stop) return stopped(std::move(o), std::move(tips.stop));

    GridRows grid = gridRows(o.tips, o.tipScores, o.tipBarriers);
    o.gridOrder = std::move(grid.order);
    o.grid = std::move(grid.rows);
    o.tipBarriers = grid.sortedBarriers;
    o.bestBetRow = grid.bestBetRow;
    o.status = std::move(grid.status);

    o.insufficientFormCount = insufficientFormOf(field, o.formScore);
    return o;
}

const char* reasonText(TipReason r) {
    switch (r) {
        case TipReason::NoForm:
            return "no form";
        case TipReason::Ticked:
            return "ticked";
        case TipReason::Emergency:
            return "emergency";
        case TipReason::ZerosOnly:
            return "zeros only";
        case TipReason::None:
            break;
    }
    return "";
}

// Built in one buffer: the window asks for one line per runner every time it tips a field.
std::string explainLine(const TipOutcome& o, std::size_t i) {
    if (!o.ranked || i >= o.formScore.size()) return {};
    std::string line;
    line.reserve(96);
    if (o.reason[i] == TipReason::Ticked || o.reason[i] == TipReason::NoForm) {
        line += reasonText(o.reason[i]);
        line += " \u2192 ";
    } else if (o.reason[i] == TipReason::ZerosOnly) {
        line += "zeros only \u2192 the field's worst score ";
    } else {
        line += "form";
        for (char d : o.formDigits[i]) (line += ' ') += d;
        line += " \u2192 mean ";
        appendTwoDecimals(line, o.formMean[i]);
        line += " + barrier ";
        line += shortestDecimal(o.barrierValue[i]);
        line += " = ";
    }
    appendTwoDecimals(line, o.formScore[i]);
    // An emergency's rank is not its score.
    if (o.rankValue[i] != o.formScore[i]) {
        line += ", emergency \u2192 rank ";
        appendTwoDecimals(line, o.rankValue[i]);
    }
    return line;
}

std::vector<TipInput> tipInputs(const MainWindow& w) {
    std::vector<TipInput> field;
    field.reserve(static_cast<std::size_t>(w.lstRaces.count()));
    for (int i = 0; i < w.lstRaces.count(); ++i)
        field.push_back(TipInput{w.lstRaces.row(i).text, w.lstRaces.subItem(i, 1), w.lstRaces.subItem(i, 2),
                                 w.lstRaces.subItem(i, 5), w.lstRaces.row(i).checked});
    return field;
}

void renderTips(MainWindow& w, const TipOutcome& o) {
    w.tipBarriers = o.tipBarriers;
    for (int i = 0; i < w.lstRaces.count(); ++i) w.lstRaces.setTooltip(i, explainLine(o, static_cast<std::size_t>(i)));
    if (w.lstTips.count() > 0) w.lstTips.clear();
    for (std::size_t k = 0; k < o.tips.size(); ++k) {
        const TipRow& tip = o.tips[k];
        const int row = w.lstTips.addRow(tip.label, {tip.runner, tip.win, tip.barrier});
        // A tip's working is its runner's, already on the runner's row.
        const int runner = o.tipOrder[k] - 1;
        w.lstTips.setTooltip(row, runner < w.lstRaces.count() ? w.lstRaces.row(runner).tooltip
                                                              : explainLine(o, static_cast<std::size_t>(runner)));
    }

    Grid& g = w.msfResults;
    if (g.cols() < 4) g.setCols(4);
    // Each row replaces the grid from its own row down, so the reset's sixth row goes too.
    for (std::size_t r = 1; r <= o.grid.size(); ++r) {
        g.setRowCount(static_cast<int>(r));
        g.addItem(joinCells(o.grid[r - 1]));
    }
    if (g.rowCount() > 1) {
        if (o.bestBetRow > 0) {
            g.setCellBackColour(o.bestBetRow, 1, kBestBetColour);
            g.setCellBackColour(o.bestBetRow, 2, kBestBetColour);
        }
        w.stBar.setPanel(2, o.status);
        w.stBar.setPanelTooltip(2, betTermsLine(static_cast<int>(o.tips.size()), o.starters));
    }
    w.insufficientFormCount = o.insufficientFormCount;
}

TipRun workoutPlaces(MainWindow& w) {
    const TipOutcome o = computeTips(tipInputs(w));
    if (o.stop == TipStop::EmptyField) return {o.stop, o.error};
    if (o.stop != TipStop::None) {
        w.insufficientFormCount = 0;
        return {o.stop, o.error};
    }
    renderTips(w, o);
    return {};
}

std::vector<std::int32_t> tipGridOrder(std::span<const double> values, int lo, int hi) {
    std::vector<std::int32_t> p(static_cast<std::size_t>(std::max(hi + 1, 0)), 0);
    if (lo < 0 || hi < lo || static_cast<std::size_t>(hi) >= values.size()) return p;
    std::vector<double> t(values.begin(), values.begin() + hi + 1);
    for (int i = lo; i <= hi; ++i) p[i] = i;
    for (int i = hi; i >= lo; --i)
        for (int j = lo + 1; j <= i; ++j)
            if (t[j - 1] > t[i]) {
                swapValues(t[j - 1], t[i]);
                swapValues(p[j - 1], p[i]);
            }
    return p;
}

TipRow gridRow(int row, const TipRow& tip) {
    return TipRow{labelNumber(row) + ordinalSuffix(static_cast<std::int16_t>(row)), " " + tip.runner, " " + tip.win,
                  " " + tip.barrier};
}

int bestBetRowOf(const std::vector<std::string>& barrierCells, std::int16_t lowestBarrier) {
    for (std::size_t r = 0; r < barrierCells.size() && r < static_cast<std::size_t>(kTips); ++r)
        if (leadingNumber(trimSpaces(barrierCells[r])) == lowestBarrier) return static_cast<int>(r) + 1;
    return 0;
}

void sortIntegers(std::span<std::int16_t> values, int n) {
    if (static_cast<std::size_t>(n) >= values.size()) n = static_cast<int>(values.size()) - 1;
    for (int i = 1; i < n; ++i) {
        int smallest = i + 1;
        for (int j = i + 2; j <= n; ++j)
            if (values[j] < values[smallest]) smallest = j;
        if (values[i] > values[smallest]) swapValues(values[i], values[smallest]);
    }
}

}  // namespace selvane
