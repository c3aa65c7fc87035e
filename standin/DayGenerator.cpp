#include "standin/DayGenerator.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <numeric>
#include <set>

#include "standin/Decimal.h"
#include "standin/RaceModel.h"
#include "standin/SeededRandom.h"

namespace selvane::standin {
namespace {

struct Track {
    const char* name;
    const char* track;
    const char* state;
    const char* letters;
    const char* tote;
};

const std::vector<Track>& tracks() {
    static const std::vector<Track> all = {
        {"RANDWICK", "RANDWICK", "NSW", "ran", "RA"},
        {"ROSEHILL", "ROSEHILL", "NSW", "ros", "RH"},
        {"WARWICK FARM", "WARWICK FARM", "NSW", "war", "WF"},
        {"CANTERBURY", "CANTERBURY", "NSW", "can", "CB"},
        {"KEMBLA GRANGE", "KEMBLA GRANGE", "NSW", "kem", "KG"},
        {"NEWCASTLE", "NEWCASTLE", "NSW", "new", "NC"},
        {"GOSFORD", "GOSFORD", "NSW", "gos", "GF"},
        {"WYONG", "WYONG", "NSW", "wyo", "WY"},
        {"HAWKESBURY", "HAWKESBURY", "NSW", "haw", "HK"},
        {"SCONE", "SCONE", "NSW", "sco", "SC"},
        {"TAMWORTH", "TAMWORTH", "NSW", "tam", "TW"},
        {"DUBBO", "DUBBO", "NSW", "dub", "DB"},
        {"BATHURST", "BATHURST", "NSW", "bat", "BT"},
        {"WAGGA", "WAGGA", "NSW", "wag", "WG"},
        {"GOULBURN", "GOULBURN", "NSW", "gou", "GB"},
        {"CANBERRA", "CANBERRA", "ACT", "cbr", "CA"},
        {"GRAFTON", "GRAFTON", "NSW", "gra", "GN"},
        {"LISMORE", "LISMORE", "NSW", "lis", "LS"},
        {"FLEMINGTON", "FLEMINGTON", "VIC", "fle", "FL"},
        {"CAULFIELD", "CAULFIELD", "VIC", "cau", "CF"},
        {"MOONEE VALLEY", "MOONEE VALLEY", "VIC", "moo", "MV"},
        {"BALLARAT", "BALLARAT", "VIC", "bal", "BR"},
        {"BENDIGO", "BENDIGO", "VIC", "ben", "BN"},
        {"GEELONG", "GEELONG", "VIC", "gee", "GE"},
        {"MORNINGTON", "MORNINGTON", "VIC", "mor", "MT"},
        {"PAKENHAM", "PAKENHAM", "VIC", "pak", "PK"},
        {"CRANBOURNE", "CRANBOURNE", "VIC", "cra", "CR"},
        {"WARRNAMBOOL", "WARRNAMBOOL", "VIC", "wbl", "WB"},
        {"SALE", "SALE", "VIC", "sal", "SL"},
        {"SEYMOUR", "SEYMOUR", "VIC", "sey", "SY"},
        {"KILMORE", "KILMORE", "VIC", "kil", "KM"},
        {"WANGARATTA", "WANGARATTA", "VIC", "wan", "WN"},
        {"SWAN HILL", "SWAN HILL", "VIC", "swa", "SH"},
        {"ECHUCA", "ECHUCA", "VIC", "ech", "EC"},
        {"KYNETON", "KYNETON", "VIC", "kyn", "KY"},
        {"EAGLE FARM", "EAGLE FARM", "QLD", "eag", "EF"},
        {"DOOMBEN", "DOOMBEN", "QLD", "doo", "DM"},
        {"GOLD COAST", "GOLD COAST", "QLD", "gol", "GC"},
        {"SUNSHINE COAST", "SUNSHINE COAST", "QLD", "sun", "SS"},
        {"IPSWICH", "IPSWICH", "QLD", "ips", "IP"},
        {"TOOWOOMBA", "TOOWOOMBA", "QLD", "too", "TB"},
        {"ROCKHAMPTON", "ROCKHAMPTON", "QLD", "roc", "RK"},
        {"TOWNSVILLE", "TOWNSVILLE", "QLD", "tow", "TV"},
        {"CAIRNS", "CAIRNS", "QLD", "cai", "CN"},
        {"MACKAY", "MACKAY", "QLD", "mac", "MK"},
        {"MORPHETTVILLE", "MORPHETTVILLE", "SA", "mph", "MP"},
        {"MURRAY BRIDGE", "MURRAY BRIDGE", "SA", "mur", "MB"},
        {"GAWLER", "GAWLER", "SA", "gaw", "GW"},
        {"BALAKLAVA", "BALAKLAVA", "SA", "bak", "BK"},
        {"OAKBANK", "OAKBANK", "SA", "oak", "OK"},
        {"ASCOT", "ASCOT", "WA", "asc", "AS"},
        {"BELMONT", "BELMONT", "WA", "bel", "BL"},
        {"PINJARRA", "PINJARRA", "WA", "pin", "PJ"},
        {"BUNBURY", "BUNBURY", "WA", "bun", "BY"},
        {"NORTHAM", "NORTHAM", "WA", "nor", "NH"},
        {"KALGOORLIE", "KALGOORLIE", "WA", "kal", "KL"},
        {"HOBART", "HOBART", "TAS", "hob", "HB"},
        {"LAUNCESTON", "LAUNCESTON", "TAS", "lau", "LC"},
        {"DEVONPORT", "DEVONPORT", "TAS", "dev", "DP"},
        {"DARWIN", "DARWIN", "NT", "dar", "DW"},
        {"ALICE SPRINGS", "ALICE SPRINGS", "NT", "ali", "AL"},
    };
    return all;
}

const Track kSandown = {"SANDOWN-HILLSIDE", "SANDOWN", "VIC", "san", "MS"};

const std::vector<OtherMeeting>& trotTracks() {
    static const std::vector<OtherMeeting> all = {
        {"MENANGLE (HM)", "HM", {}},    {"MELTON (HL)", "HL", {}},     {"ALBION PARK (HA)", "HA", {}},
        {"GLOUCESTER PARK (HG)", "HG", {}}, {"REDCLIFFE (HR)", "HR", {}}, {"GLOBE DERBY (HD)", "HD", {}},
    };
    return all;
}

const std::vector<OtherMeeting>& dogTracks() {
    static const std::vector<OtherMeeting> all = {
        {"WENTWORTH PARK (QW)", "QW", {}}, {"THE MEADOWS (QM)", "QM", {}}, {"ANGLE PARK (QN)", "QN", {}},
        {"CANNINGTON (QC)", "QC", {}},     {"IPSWICH DOGS (QI)", "QI", {}}, {"HEALESVILLE (QH)", "QH", {}},
    };
    return all;
}

const std::vector<std::string> kHorseWords1 = {
    "MIDNIGHT", "SOUTHERN", "GOLDEN", "SILVER", "RUSTY",  "LUCKY",  "WILD",   "QUIET",  "ROYAL",   "BOLD",
    "FLYING",   "DARK",     "NORTHERN", "RED", "BLUE",   "COUNTRY", "RIVER", "STORM",  "SUMMER",  "WINTER",
    "DESERT",   "OCEAN",    "MISTER",  "LADY", "SIR",    "CAPTAIN", "LITTLE", "BIG",    "SWEET",   "SECRET",
    "HIGH",     "DOUBLE",   "MAGIC",   "IRON", "SHADOW", "BRIGHT",  "DUSTY",  "STONY",  "COPPER",  "HAPPY"};
const std::vector<std::string> kHorseWords2 = {
    "EXPRESS", "STAR",    "ARROW",  "DANCER", "LEGEND",  "PRINCE", "PRINCESS", "WARRIOR", "BANDIT", "ECHO",
    "THUNDER", "RAIN",    "BREEZE", "FLAME",  "JEWEL",   "SPIRIT", "ROVER",    "CHARM",   "HARBOUR", "MOON",
    "RANGER",  "MELODY",  "CREEK",  "GAMBLE", "MISSION", "STORY",  "VENTURE",  "DREAMER", "GLORY",   "BLAZE",
    "SPARROW", "CASCADE", "RIDGE",  "QUEST",  "TEMPEST", "ROMANCE", "DOLLAR",  "SUNRISE", "RHYTHM",  "TIDE"};
const std::vector<std::string> kJockeyInitials = {"A.", "B.", "C.", "D.", "E.", "G.", "J.", "K.", "L.", "M.",
                                                  "N.", "P.", "R.", "S.", "T.", "W."};
const std::vector<std::string> kJockeySurnames = {
    "Avery",  "Brennan", "Calder",   "Doyle",   "Ellison", "Fenwick", "Galloway", "Hartley", "Irwin",   "Jessop",
    "Keating", "Lachlan", "Merriman", "Norcott", "Oakley",  "Prentice", "Quinlan", "Rowe",    "Sturt",   "Tully",
    "Upton",  "Varley",  "Whitlock", "Yates",   "Ashby",   "Bramwell", "Coutts",  "Dunmore", "Eastwood", "Finch"};
const std::vector<std::string> kSponsors = {"CITY HOTEL",   "RIVERSIDE BAKERY", "COUNTRY MOTORS", "HARBOUR VIEW",
                                            "VALLEY FARMS", "MAIN STREET",      "SUNSET TRAVEL",  "HILLTOP TIMBER"};
const std::vector<std::string> kClasses = {"MAIDEN PLATE", "MAIDEN HCP", "CLASS 1 HCP", "CLASS 2 HCP",
                                           "CLASS 3 HCP",  "BM58 HCP",   "BM64 HCP",    "BM70 HCP",
                                           "BM78 HCP",     "3YO HCP",    "2YO PLATE",   "QUALITY HCP",
                                           "OPEN HCP",     "RESTRICTED HCP", "SPRINT HCP", "MILE HCP"};
const std::vector<int> kDistances = {1000, 1100, 1200, 1300, 1400, 1500, 1600, 1800, 2000, 2200, 2400};
const std::vector<std::string> kGoings = {"GOOD 3", "GOOD 4", "SOFT 5", "SOFT 6", "SOFT 7", "HEAVY 8", "GOOD 4"};
const std::vector<std::string> kRails = {"True", "Out 3m", "Out 4m entire circuit", "Out 6m", "True entire circuit"};

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string firstWord(std::string_view s) {
    const auto sp = s.find(' ');
    return std::string(sp == std::string_view::npos ? s : s.substr(0, sp));
}

// The results name a meeting's track-box word is looked for in, as the results check reads it.
std::string matchName(const std::string& resultsName) {
    std::string u = upper(resultsName);
    if (u.find("SANDOWN") != std::string::npos) {
        std::string out;
        for (std::size_t i = 0; i < u.size();) {
            if (u.compare(i, 7, "SANDOWN") == 0) {
                out += "SANDOWN-HILLSIDE";
                i += 7;
            } else {
                out += u[i++];
            }
        }
        return out;
    }
    return u;
}

std::string withCommas(long value) {
    std::string digits = std::to_string(value);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string money(long value) { return "$" + withCommas(value); }

std::string makeForm(Rng& rng) {
    static const std::string figures = "1234567890x";
    const int n = rng.between(1, 5);
    std::string form;
    for (int i = 0; i < n; ++i) {
        // Low figures and the odd spell or unplaced run, like a real form line.
        const int r = rng.below(100);
        char c;
        if (r < 8) c = 'x';
        else if (r < 18) c = '0';
        else c = figures[static_cast<std::size_t>(rng.below(9))];
        form += c;
    }
    return form;
}

Runner makeRunner(Rng& rng, int num, bool emergency, bool maiden, std::set<std::string>& names) {
    Runner r;
    r.num = num;
    r.emergency = emergency;
    r.number = std::to_string(num) + (emergency ? "e" : "");
    for (int tries = 0; tries < 50; ++tries) {
        std::string name = rng.pick(kHorseWords1) + " " + rng.pick(kHorseWords2);
        if (names.insert(name).second) {
            r.name = name;
            break;
        }
    }
    if (r.name.empty()) r.name = "RUNNER " + std::to_string(num);
    r.jockey = rng.pick(kJockeyInitials) + " " + rng.pick(kJockeySurnames);
    const double weight = std::max(54.0, 60.0 - 0.5 * (num - 1) - 0.5 * rng.below(2));
    r.weight = fixed(weight, 1);
    const bool firstStarter = rng.chance(maiden ? 0.35 : 0.04);
    if (!firstStarter) {
        r.form = makeForm(rng);
        const int starts = static_cast<int>(r.form.size()) + rng.between(0, 20);
        for (char c : r.form) {
            if (c == '1') ++r.wins;
            else if (c == '2' || c == '3') ++r.places;
        }
        if (maiden) r.wins = 0;
        else r.wins += rng.below(3);
        r.places += rng.below(4);
        const long stakes = (r.wins * rng.between(8, 40) + r.places * rng.between(2, 8)) * 1000L + rng.between(0, 9) * 100L;
        r.stakes = money(stakes);
        r.api = std::to_string(stakes / std::max(1, starts));
    } else {
        r.stakes = money(0);
        r.api = "0";
    }
    r.ability = rng.uniform();
    return r;
}

std::string makeTrackWords(Rng& rng, const Meeting& m, int raceNumber, bool ampersand) {
    if (ampersand) return rng.chance(0.5) ? "FILLIES & MARES HCP" : rng.pick(kSponsors) + " F & M HCP";
    const int r = rng.below(10);
    if (raceNumber >= 7 && r == 0) return firstWord(m.track) + " CUP";
    const std::string& cls = rng.pick(kClasses);
    if (r < 4) return rng.pick(kSponsors) + " " + cls;
    return cls;
}

Race makeRace(Rng& rng, const Meeting& m, int number, int start, int fieldSize, bool ampersand) {
    Race race;
    race.number = number;
    race.startMinutes = start;
    race.trackWords = makeTrackWords(rng, m, number, ampersand);
    race.distance = rng.pick(kDistances);
    const bool maiden = race.trackWords.find("MAIDEN") != std::string::npos ||
                        race.trackWords.find("2YO") != std::string::npos;
    race.prizemoney = money(rng.between(2, 25) * 5000L);
    const int emergencies = fieldSize >= 14 ? rng.between(1, 2) : 0;
    std::set<std::string> names;
    for (int i = 1; i <= fieldSize + emergencies; ++i) race.runners.push_back(makeRunner(rng, i, i > fieldSize, maiden, names));
    // Barriers are drawn among every runner, emergencies included.
    std::vector<int> barriers(race.runners.size());
    std::iota(barriers.begin(), barriers.end(), 1);
    for (std::size_t i = barriers.size(); i > 1; --i) std::swap(barriers[i - 1], barriers[static_cast<std::size_t>(rng.below(static_cast<int>(i)))]);
    for (std::size_t i = 0; i < race.runners.size(); ++i) race.runners[i].barrier = barriers[i];
    if (fieldSize >= 5) {
        for (int i = 0; i < fieldSize; ++i)
            if (rng.chance(0.07)) race.runners[static_cast<std::size_t>(i)].scratched = true;
    }
    for (Runner& r : race.runners) r.strength = chanceWeight(r.form, r.barrier, r.ability);
    // The result comes from a stream of its own, so the model can change without moving the fields.
    // The day's stream moves on by the draws an earlier result took (one per place, at most three),
    // which keeps every later field as it was.
    const RaceChances chances = raceChances(race);
    const std::uint64_t resultSeed = rng.next();
    for (std::size_t k = 1; k < std::min<std::size_t>(3, chances.runners.size()); ++k) rng.next();
    race.finish = drawFinish(chances, resultSeed);
    race.placings.assign(race.finish.begin(),
                         race.finish.begin() + std::min<std::ptrdiff_t>(3, std::ssize(race.finish)));
    return race;
}

bool firstWordsApart(const std::vector<const Track*>& chosen, const Track* candidate) {
    auto resultsName = [](const Track* t) { return std::string(t->track) + " (" + t->tote + ")"; };
    const std::string word = upper(firstWord(candidate->name));
    const std::string candidateName = matchName(resultsName(candidate));
    for (const Track* t : chosen) {
        if (matchName(resultsName(t)).find(word) != std::string::npos) return false;
        if (candidateName.find(upper(firstWord(t->name))) != std::string::npos) return false;
    }
    return true;
}

}  // namespace

std::string Race::startTime() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", startMinutes / 60, startMinutes % 60);
    return buf;
}

std::string Race::toteTime() const {
    const int h = startMinutes / 60;
    const int h12 = h % 12 == 0 ? 12 : h % 12;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d:%02d%s", h12, startMinutes % 60, h < 12 ? "AM" : "PM");
    return buf;
}

std::string Race::lengthText() const { return std::to_string(distance) + "m"; }

std::vector<const Runner*> Race::starters() const {
    std::vector<const Runner*> out;
    for (const Runner& r : runners)
        if (!r.emergency) out.push_back(&r);
    return out;
}

namespace {
bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}
}  // namespace

const Meeting* RaceDay::findByFormCode(std::string_view code) const {
    for (const Meeting& m : meetings)
        if (equalsNoCase(m.formCode, code)) return &m;
    return nullptr;
}

const Meeting* RaceDay::findByToteCode(std::string_view code) const {
    for (const Meeting& m : meetings)
        if (equalsNoCase(m.toteCode, code)) return &m;
    return nullptr;
}

bool isSandownDay(const Date& date, std::uint32_t seed) {
    const long v = (daysFromCivil(date) + 5 - static_cast<long>(seed % 4)) % 4;
    return v == 0;
}

RaceDay generateRaceDay(int year, int month, int day, std::uint32_t seed) {
    return generateRaceDay(Date{year, month, day}, seed);
}

RaceDay generateRaceDay(const Date& date, std::uint32_t seed) {
    RaceDay out;
    out.date = date;
    out.seed = seed;
    if (!isValidDate(date) || (date.month == 12 && date.day == 25)) return out;
    Rng rng(daySeed(date, seed));

    const int meetingCount = rng.between(6, 10);
    std::vector<const Track*> chosen;
    if (isSandownDay(date, seed)) chosen.push_back(&kSandown);
    std::vector<const Track*> pool;
    for (const Track& t : tracks()) pool.push_back(&t);
    while (static_cast<int>(chosen.size()) < meetingCount && !pool.empty()) {
        const std::size_t i = static_cast<std::size_t>(rng.below(static_cast<int>(pool.size())));
        const Track* t = pool[i];
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(i));
        if (firstWordsApart(chosen, t)) chosen.push_back(t);
    }
    // Metropolitan-sized states first, the way the services list them; stable within a state.
    static const std::vector<std::string> stateOrder = {"NSW", "ACT", "VIC", "QLD", "SA", "WA", "TAS", "NT"};
    std::stable_sort(chosen.begin(), chosen.end(), [&](const Track* a, const Track* b) {
        return std::find(stateOrder.begin(), stateOrder.end(), a->state) <
               std::find(stateOrder.begin(), stateOrder.end(), b->state);
    });

    const std::size_t smallMeeting = static_cast<std::size_t>(rng.below(static_cast<int>(chosen.size())));
    const std::size_t ampMeeting = static_cast<std::size_t>(rng.below(static_cast<int>(chosen.size())));
    const bool abandonDay = rng.chance(1.0 / 3.0);
    const std::size_t abandonMeeting = static_cast<std::size_t>(rng.below(static_cast<int>(chosen.size())));

    for (std::size_t mi = 0; mi < chosen.size(); ++mi) {
        const Track& t = *chosen[mi];
        Meeting m;
        m.name = t.name;
        m.track = t.track;
        m.state = t.state;
        m.formCode = formCodeFor(t.letters, date);
        m.toteCode = t.tote;
        m.resultsName = std::string(t.track) + " (" + t.tote + ")";
        m.going = rng.pick(kGoings);
        m.rail = rng.pick(kRails);
        for (std::size_t c = 0; c < 7; ++c) m.columnOpen[c] = true;
        // A small pool is not run by every tote: some meetings have no prices in one state's columns.
        if (rng.chance(0.3)) {
            const std::size_t closed = static_cast<std::size_t>(rng.between(1, 3));
            m.columnOpen[closed] = false;
            m.columnOpen[closed + 3] = false;
        }
        const int raceCount = rng.between(6, 10);
        int start = 11 * 60 + 50 + 5 * rng.below(20);
        const int gap = 30 + 5 * rng.below(2);
        const int smallRace = rng.between(1, raceCount);
        const int ampRace = rng.between(1, raceCount);
        for (int r = 1; r <= raceCount; ++r) {
            const bool tiny = mi == smallMeeting && r == smallRace;
            const int field = tiny ? rng.between(3, 4) : rng.between(5, 18);
            m.races.push_back(makeRace(rng, m, r, start, field, mi == ampMeeting && r == ampRace));
            start += gap;
        }
        if (abandonDay && mi == abandonMeeting) m.races.back().abandoned = true;
        out.meetings.push_back(std::move(m));
    }

    auto others = [&](const std::vector<OtherMeeting>& from, std::vector<OtherMeeting>& into) {
        std::vector<OtherMeeting> pool2 = from;
        const int n = rng.between(2, 4);
        for (int i = 0; i < n && !pool2.empty(); ++i) {
            const std::size_t k = static_cast<std::size_t>(rng.below(static_cast<int>(pool2.size())));
            OtherMeeting o = pool2[k];
            pool2.erase(pool2.begin() + static_cast<std::ptrdiff_t>(k));
            int start = 18 * 60 + 5 * rng.below(12);
            for (int r = rng.between(8, 12); r > 0; --r, start += 17) o.startMinutes.push_back(start);
            into.push_back(std::move(o));
        }
    };
    others(trotTracks(), out.trots);
    others(dogTracks(), out.greyhounds);
    return out;
}

}  // namespace selvane::standin
