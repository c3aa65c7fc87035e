#include "standin/RaceModel.h"

#include <algorithm>
#include <cmath>

#include "standin/SeededRandom.h"

namespace selvane::standin {
namespace {

constexpr double kFormWeight = 1.5;
constexpr double kBarrierWeight = 0.4;  // per ten barriers out
constexpr double kAbilityWeight = 2.0;
constexpr std::int64_t kMinimumDividend = 104;
constexpr std::int64_t kMaximumDividend = 100'000'000;  // $1,000,000 per unit

// Recent runs weigh most; a win scores 1, a ninth 1/9, a spell (x) or an unplaced run (0) little.
double formScore(const std::string& form) {
    if (form.empty()) return 0.7;
    double score = 0;
    double weight = 1.0;
    for (auto it = form.rbegin(); it != form.rend(); ++it, weight *= 0.7) {
        const char c = *it;
        double v;
        if (c == 'x') v = 0.3;
        else if (c == '0') v = 0.1;
        else v = (10.0 - (c - '0')) / 9.0;
        score += v * weight;
    }
    return 0.3 + score;
}

}  // namespace

double chanceWeight(const std::string& form, int barrier, double ability) {
    return std::exp(kFormWeight * formScore(form) - kBarrierWeight * (barrier - 1) / 10.0 + kAbilityWeight * ability);
}

int placesPaid(int starters) { return starters <= 4 ? 0 : starters <= 7 ? 2 : 3; }

RaceChances raceChances(const Race& race) {
    RaceChances c;
    double total = 0;
    for (const Runner& r : race.runners) {
        if (r.emergency || r.scratched) continue;
        c.runners.push_back(&r);
        total += r.strength;
    }
    for (const Runner* r : c.runners) c.win.push_back(r->strength / total);
    return c;
}

std::size_t RaceChances::indexOf(int number) const {
    for (std::size_t i = 0; i < runners.size(); ++i)
        if (runners[i]->num == number) return i;
    return runners.size();
}

double RaceChances::orderChance(std::initializer_list<std::size_t> order) const {
    double p = 1, left = 1;
    for (std::size_t i : order) {
        p *= win[i] / left;
        left -= win[i];
    }
    return p;
}

double RaceChances::placeChance(std::size_t i, int places) const {
    // Every way the places ahead of runner i can be filled, one place at a time.
    std::vector<bool> placed(runners.size());
    auto within = [&](auto& self, int placesLeft, double chance, double left) -> double {
        if (placesLeft == 0) return 0;
        double p = chance * win[i] / left;
        for (std::size_t j = 0; j < runners.size(); ++j) {
            if (j == i || placed[j]) continue;
            placed[j] = true;
            p += self(self, placesLeft - 1, chance * win[j] / left, left - win[j]);
            placed[j] = false;
        }
        return p;
    };
    return within(within, places, 1.0, 1.0);
}

std::int64_t toteCents(double chance, double take) {
    const double dollars = (1.0 - take) / std::max(chance, 1e-12);
    const auto tens = static_cast<std::int64_t>(std::floor(std::min(dollars, 1e7) * 10 + 1e-9));
    return std::clamp<std::int64_t>(tens * 10, kMinimumDividend, kMaximumDividend);
}

OfficialDividends officialDividends(const Race& race) {
    const RaceChances c = raceChances(race);
    OfficialDividends d;
    d.order.assign(race.finish.begin(), race.finish.begin() + std::min<std::ptrdiff_t>(4, std::ssize(race.finish)));
    std::vector<std::size_t> at;
    for (int number : d.order) at.push_back(c.indexOf(number));
    if (at.empty()) return d;
    const int places = placesPaid(static_cast<int>(c.runners.size()));
    d.win = toteCents(c.win[at[0]], kWinTake);
    for (std::size_t k = 0; k < at.size(); ++k)
        d.place.push_back(static_cast<int>(k) < places ? toteCents(c.placeChance(at[k], places), kWinTake) : 0);
    if (at.size() >= 2) {
        d.quinella = toteCents(c.orderChance({at[0], at[1]}) + c.orderChance({at[1], at[0]}), kExoticTake);
        d.exacta = toteCents(c.orderChance({at[0], at[1]}), kExoticTake);
    }
    if (at.size() >= 3) d.trifecta = toteCents(c.orderChance({at[0], at[1], at[2]}), kExoticTake);
    if (at.size() >= 4) d.firstFour = toteCents(c.orderChance({at[0], at[1], at[2], at[3]}), kExoticTake);
    return d;
}

std::vector<int> drawFinish(const RaceChances& chances, std::uint64_t seed) {
    Rng rng(seed);
    std::vector<std::size_t> left(chances.runners.size());
    for (std::size_t i = 0; i < left.size(); ++i) left[i] = i;
    std::vector<int> finish;
    while (!left.empty()) {
        double total = 0;
        for (std::size_t i : left) total += chances.win[i];
        double pickAt = rng.uniform() * total;
        std::size_t chosen = left.size() - 1;
        for (std::size_t k = 0; k < left.size(); ++k) {
            pickAt -= chances.win[left[k]];
            if (pickAt <= 0) {
                chosen = k;
                break;
            }
        }
        finish.push_back(chances.runners[left[chosen]]->num);
        left.erase(left.begin() + static_cast<std::ptrdiff_t>(chosen));
    }
    return finish;
}

std::string dollarsText(std::int64_t cents, bool thousands) {
    const std::string digits = std::to_string(cents / 100);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (thousands && i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    const int c = static_cast<int>(cents % 100);
    return out + "." + static_cast<char>('0' + c / 10) + static_cast<char>('0' + c % 10);
}

}  // namespace selvane::standin
