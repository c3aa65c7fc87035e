// Settling one race's six bets at the declared dividends, and the totals over a run of races.
#include "review/Settlement.h"

#include <gtest/gtest.h>

#include "review/ReviewTotals.h"

namespace selvane {
namespace {

using Placings = std::vector<Placing>;
using Combos = std::vector<ExoticDividend>;

RaceDividends result(Placings placings, Combos q, Combos e, Combos t, Combos f, std::vector<int> scratched = {5}) {
    RaceDividends r;
    r.status = ResultStatus::Official;
    r.placings = std::move(placings);
    r.exotics = {std::move(q), std::move(e), std::move(t), std::move(f)};
    r.scratchings = std::move(scratched);
    return r;
}

// 3 beat 7, 1 and 9; 5 was scratched.
const RaceDividends kPlain = result({{1, 3, 420, 180}, {2, 7, {}, 250}, {3, 1, {}, 310}, {4, 9, {}, {}}},
                                    {{{3, 7}, 1240}}, {{{3, 7}, 2160}}, {{{3, 7, 1}, 8890}}, {{{3, 7, 1, 9}, 123450}});

RaceBets bets(std::vector<int> tips, int best, int starters, std::vector<int> nonRunners = {}, Cents stake = 100) {
    return {std::move(tips), best, starters, std::move(nonRunners), stake};
}

// "W paid 1.00>4.20 …" per bet type, or "void".
std::string described(const SettledRace& s) {
    if (s.isVoid) return "void";
    static const char* const kOutcomes[] = {"none", "refund", "lost", "paid", "unsettled"};
    static const char* const kTypes[] = {"W", "EW", "Q", "E", "T", "F"};
    std::string out;
    for (std::size_t i = 0; i < kBetTypes; ++i) {
        const BetResult& b = s.bets[i];
        out += std::string(i ? " " : "") + kTypes[i] + " " + kOutcomes[static_cast<int>(b.outcome)];
        if (b.outcome == BetOutcome::Lost || b.outcome == BetOutcome::Paid)
            out += " " + twoDecimals(b.staked) + ">" + twoDecimals(b.returned);
    }
    return out;
}

TEST(Settlement, RulesTable) {
    RaceDividends deadHeatFirst = result({{1, 3, 210, 140}, {1, 7, 300, 160}, {3, 1, {}, 250}, {4, 9, {}, {}}},
                                         {{{3, 7}, 620}}, {{{3, 7}, 500}, {{7, 3}, 600}},
                                         {{{3, 7, 1}, 2000}, {{7, 3, 1}, 2200}},
                                         {{{3, 7, 1, 9}, 10000}, {{7, 3, 1, 9}, 11000}});
    RaceDividends deadHeatThird = result({{1, 3, 420, 180}, {2, 7, {}, 250}, {3, 1, {}, 150}, {3, 9, {}, 170}},
                                         {{{3, 7}, 1240}}, {{{3, 7}, 2160}}, {{{3, 7, 1}, 4000}, {{3, 7, 9}, 4500}},
                                         {{{3, 7, 1, 9}, 30000}, {{3, 7, 9, 1}, 32000}});
    RaceDividends undeclared = result({{1, 3, {}, 180}, {2, 7, {}, {}}, {3, 1, {}, 310}, {4, 9, {}, {}}}, {}, {},
                                      {{{3, 7, 1}, 8890}}, {});
    RaceDividends interim = kPlain, abandoned = kPlain, noPlacings = kPlain, cut = kPlain;
    cut.issues = {{DividendProblem::CutShort, 900}};
    interim.status = ResultStatus::Interim;
    abandoned.status = ResultStatus::Abandoned;
    noPlacings.placings.clear();

    struct Row {
        const char* what;
        RaceBets bets;
        const RaceDividends& result;
        std::string want;
    };
    const Row rows[] = {
        {"every bet hits; flexi boxes pay dividend x stake / combinations, rounded down",
         bets({3, 7, 1, 9, 2}, 1, 12), kPlain,
         "W paid 1.00>4.20 EW paid 2.00>3.10 Q paid 1.00>1.24 E paid 1.00>1.08 T paid 1.00>1.48 F paid 1.00>10.28"},
        {"a stake of $3.07 rounds every return down to the cent",
         bets({3, 7, 1, 9, 2}, 3, 12, {}, 307), kPlain,
         "W paid 3.07>12.89 EW paid 6.14>18.41 Q paid 3.07>3.80 E paid 3.07>3.31 T paid 3.07>4.54 F paid 3.07>31.58"},
        {"third of 7 starters is outside the two places; a box missing the winner loses its stake",
         bets({7, 1, 2, 4, 6}, 1, 7), kPlain,
         "W lost 1.00>0.00 EW lost 2.00>0.00 Q lost 1.00>0.00 E lost 1.00>0.00 T lost 1.00>0.00 F lost 1.00>0.00"},
        {"second of 5 starters is within two places",
         bets({1, 2, 4, 6, 7}, 7, 5), kPlain,
         "W lost 1.00>0.00 EW paid 2.00>2.50 Q lost 1.00>0.00 E lost 1.00>0.00 T lost 1.00>0.00 F lost 1.00>0.00"},
        {"4 starters: each way is win only; the scratched tip's combinations are refunded",
         bets({3, 7, 1, 9, 5}, 3, 4), kPlain,
         "W paid 1.00>4.20 EW paid 1.00>4.20 Q paid 0.60>1.24 E paid 0.60>1.08 T paid 0.40>1.48 F paid 0.20>10.28"},
        {"scratched first tip and best bet are refunded; an emergency without a run too",
         bets({5, 3, 7, 6, 8}, 5, 12, {6, 8}), kPlain,
         "W refund EW refund Q paid 0.10>1.24 E paid 0.10>1.08 T refund F refund"},
        {"3 starters run no first four", bets({3, 7, 1, 9, 2}, 9, 3), kPlain,
         "W paid 1.00>4.20 EW lost 1.00>0.00 Q paid 1.00>1.24 E paid 1.00>1.08 T paid 1.00>1.48 F none"},
        {"no tips, no bets", bets({}, 0, 12), kPlain, "W none EW none Q none E none T none F none"},
        {"dead heat for first: each winner's dividend as declared, a box takes both orders",
         bets({7, 3, 1, 9, 2}, 3, 12), deadHeatFirst,
         "W paid 1.00>3.00 EW paid 2.00>3.50 Q paid 1.00>0.62 E paid 1.00>0.55 T paid 1.00>0.70 F paid 1.00>1.75"},
        {"dead heat for third: the tipped one's place and trifecta pay; the first four needs the other",
         bets({3, 7, 9, 2, 4}, 9, 12), deadHeatThird,
         "W paid 1.00>4.20 EW paid 2.00>1.70 Q paid 1.00>1.24 E paid 1.00>1.08 T paid 1.00>0.75 F lost 1.00>0.00"},
        {"a winner without its dividend is not settled; an undeclared pool the tips missed is lost",
         bets({3, 7, 1, 9, 2}, 3, 12), undeclared,
         "W unsettled EW unsettled Q unsettled E unsettled T paid 1.00>1.48 F unsettled"},
        {"an undeclared pool the box did not cover is lost",
         bets({3, 1, 2, 4, 6}, 1, 12), undeclared,
         "W unsettled EW paid 2.00>3.10 Q lost 1.00>0.00 E lost 1.00>0.00 T lost 1.00>0.00 F lost 1.00>0.00"},
        {"a page cut short settles nothing but its refunds", bets({5, 3, 7, 1, 9}, 3, 12), cut,
         "W refund EW unsettled Q unsettled E unsettled T unsettled F unsettled"},
        {"interim is void", bets({3, 7, 1, 9, 2}, 1, 12), interim, "void"},
        {"abandoned is void", bets({3, 7, 1, 9, 2}, 1, 12), abandoned, "void"},
        {"official without placings is void", bets({3, 7, 1, 9, 2}, 1, 12), noPlacings, "void"},
    };
    for (const Row& row : rows) EXPECT_EQ(described(settleRace(row.bets, row.result)), row.want) << row.what;
}

TEST(ReviewTotals, RunsDrawdownAndRoundedPercentages) {
    auto race = [](BetOutcome o, Cents staked, Cents returned) {
        SettledRace s;
        s.bets[static_cast<std::size_t>(BetType::Trifecta)] = {o, staked, returned};
        return s;
    };
    using O = BetOutcome;
    SettledRace voided;
    voided.isVoid = true;
    ReviewTotals t;
    for (const SettledRace& s : {race(O::Lost, 100, 0), race(O::Lost, 100, 0), race(O::Paid, 100, 350), voided,
                                 race(O::Lost, 100, 0), race(O::Refunded, 0, 0), race(O::Lost, 100, 0),
                                 race(O::Lost, 100, 0), race(O::Unsettled, 0, 0), race(O::Lost, 100, 0),
                                 race(O::Paid, 100, 120)})
        t.add(s);
    const BetTotals& tri = t[BetType::Trifecta];
    // Profit after each bet: -1, -2, +0.50 (the peak), -0.50, -1.50, -2.50, -3.50, -3.30.
    EXPECT_EQ(std::make_tuple(t.races, t.voidRaces, tri.bets, tri.hits, tri.unsettled, tri.staked, tri.returned,
                              tri.profit(), twoDecimals(tri.strikeHundredths()), twoDecimals(tri.roiHundredths()),
                              tri.longestLosingRun, tri.maxDrawdown),
              std::make_tuple(10, 1, 8, 2, 1, Cents{800}, Cents{470}, Cents{-330}, "25.00", "-41.25", 4, Cents{400}));
    EXPECT_EQ(std::make_pair(t[BetType::Win].bets, t[BetType::Win].roiHundredths()),
              std::make_pair(0, std::int64_t{0}));

    // Halves of a hundredth go away from zero.
    auto roi = [&](Cents staked, Cents returned) {
        BetTotals b;
        b.add({O::Paid, staked, returned});
        return twoDecimals(b.roiHundredths());
    };
    EXPECT_EQ((std::vector<std::string>{roi(20000, 20001), roi(20000, 19999), roi(30000, 29999), roi(300, 400)}),
              (std::vector<std::string>{"0.01", "-0.01", "0.00", "33.33"}));
}

}  // namespace
}  // namespace selvane
