#include "review/Settlement.h"

#include <algorithm>

#include "form/BetTerms.h"

namespace selvane {
namespace {

// stake × dividend ÷ (100 × units), rounded down: the tote pays no fraction of a cent.
Cents paid(Cents stake, Cents dividend, Cents units = 1) { return stake * dividend / (100 * units); }

bool contains(const std::vector<int>& v, int x) { return std::find(v.begin(), v.end(), x) != v.end(); }

struct Field {
    const RaceBets& race;
    const RaceDividends& result;

    bool ran(int runner) const { return !contains(result.scratchings, runner) && !contains(race.nonRunners, runner); }

    const Placing* placingOf(int runner) const {
        for (const Placing& p : result.placings)
            if (p.runner == runner) return &p;
        return nullptr;
    }

    BetResult lost(Cents staked) const { return {BetOutcome::Lost, staked, 0}; }
    static BetResult without(BetOutcome o) { return {o, 0, 0}; }
};

BetResult winBet(const Field& f) {
    if (f.race.tips.empty()) return Field::without(BetOutcome::NoBet);
    const int tip = f.race.tips.front();
    if (!f.ran(tip)) return Field::without(BetOutcome::Refunded);
    const Placing* p = f.placingOf(tip);
    if (!p || p->place != 1) return f.lost(f.race.stake);
    if (!p->winDividend) return Field::without(BetOutcome::Unsettled);
    return {BetOutcome::Paid, f.race.stake, paid(f.race.stake, *p->winDividend)};
}

// A unit to win and, when the field has places, a unit to place.
BetResult eachWayBet(const Field& f) {
    if (f.race.bestBet == 0) return Field::without(BetOutcome::NoBet);
    if (!f.ran(f.race.bestBet)) return Field::without(BetOutcome::Refunded);
    const int places = eachWayPlaces(f.race.starters);
    const Cents stake = f.race.stake;
    const Cents staked = places > 0 ? 2 * stake : stake;
    const Placing* p = f.placingOf(f.race.bestBet);
    Cents returned = 0;
    bool undeclared = false;
    if (p && p->place == 1) {
        if (p->winDividend) returned += paid(stake, *p->winDividend);
        else undeclared = true;
    }
    if (p && p->place <= places) {
        if (p->placeDividend) returned += paid(stake, *p->placeDividend);
        else undeclared = true;
    }
    if (undeclared) return Field::without(BetOutcome::Unsettled);
    return returned > 0 ? BetResult{BetOutcome::Paid, staked, returned} : f.lost(staked);
}

constexpr std::size_t boxIndex(Pool pool) { return static_cast<std::size_t>(pool); }

// Whether the placings decide the pool, and whether the runners cover a winning combination:
// every runner placed ahead of the k-th, and enough of those who share its place.
enum class Placed { Undecided, Covered, NotCovered };
Placed placingsCover(const std::vector<Placing>& placings, const std::vector<int>& runners, int k) {
    std::vector<Placing> order = placings;
    std::stable_sort(order.begin(), order.end(), [](const Placing& a, const Placing& b) { return a.place < b.place; });
    if (static_cast<int>(order.size()) < k) return Placed::Undecided;
    const int lastPlace = order[static_cast<std::size_t>(k - 1)].place;
    int ahead = 0, sharing = 0;
    for (const Placing& p : order) {
        if (p.place < lastPlace) {
            if (!contains(runners, p.runner)) return Placed::NotCovered;
            ++ahead;
        } else if (p.place == lastPlace && contains(runners, p.runner)) {
            ++sharing;
        }
    }
    return sharing >= k - ahead ? Placed::Covered : Placed::NotCovered;
}

// A flexi box of the stake over every tip: each combination carries stake ÷ combinations, the
// combinations with a scratched tip are refunded, and a covered dividend pays its share.
BetResult boxBet(const Field& f, Pool pool) {
    const int k = poolRunners(pool);
    const std::vector<int>& tips = f.race.tips;
    const Cents combinations = boxBets(static_cast<int>(tips.size()))[boxIndex(pool)].combinations;
    if (combinations == 0 || (f.race.starters > 0 && f.race.starters < k)) return Field::without(BetOutcome::NoBet);
    std::vector<int> live;
    for (int t : tips)
        if (f.ran(t) && !contains(live, t)) live.push_back(t);
    const Cents liveCombinations = boxBets(static_cast<int>(live.size()))[boxIndex(pool)].combinations;
    if (liveCombinations == 0) return Field::without(BetOutcome::Refunded);
    const Cents refund = f.race.stake * (combinations - liveCombinations) / combinations;  // rounded down
    const Cents staked = f.race.stake - refund;

    // A box holds every order of its runners, so a combination is covered when all its runners are.
    Cents dividends = 0;
    for (const ExoticDividend& d : f.result.pool(pool))
        if (std::all_of(d.runners.begin(), d.runners.end(), [&](int r) { return contains(live, r); }))
            dividends += d.amount;
    if (dividends > 0) return {BetOutcome::Paid, staked, paid(f.race.stake, dividends, combinations)};
    if (!f.result.pool(pool).empty()) return f.lost(staked);
    switch (placingsCover(f.result.placings, live, k)) {
        case Placed::NotCovered: return f.lost(staked);
        case Placed::Covered:
        case Placed::Undecided: break;
    }
    return Field::without(BetOutcome::Unsettled);
}

}  // namespace

const char* betName(BetType b) {
    switch (b) {
    case BetType::Win: return "Win";
    case BetType::EachWay: return "Each way";
    case BetType::Quinella: return "Quinella";
    case BetType::Exacta: return "Exacta";
    case BetType::Trifecta: return "Trifecta";
    case BetType::FirstFour: return "First four";
    }
    return "";
}

const char* betKey(BetType t) {
    switch (t) {
        case BetType::Win: return "win";
        case BetType::EachWay: return "eachWay";
        case BetType::Quinella: return "quinella";
        case BetType::Exacta: return "exacta";
        case BetType::Trifecta: return "trifecta";
        case BetType::FirstFour: return "firstFour";
    }
    return "";
}

SettledRace settleRace(const RaceBets& race, const RaceDividends& result) {
    SettledRace out;
    if (result.status != ResultStatus::Official || result.placings.empty()) {
        out.isVoid = true;
        return out;
    }
    const Field f{race, result};
    out.bets = {winBet(f),
                eachWayBet(f),
                boxBet(f, Pool::Quinella),
                boxBet(f, Pool::Exacta),
                boxBet(f, Pool::Trifecta),
                boxBet(f, Pool::FirstFour)};
    // A dropped row may have held a placing, a dividend or a scratching: no bet is known to
    // have lost, or won what it seems to.
    if (!result.issues.empty())
        for (BetResult& b : out.bets)
            if (b.outcome == BetOutcome::Lost || b.outcome == BetOutcome::Paid)
                b = Field::without(BetOutcome::Unsettled);
    return out;
}

}  // namespace selvane
