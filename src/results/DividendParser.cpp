#include "results/DividendParser.h"

#include <algorithm>
#include <string>

#include "net/PageText.h"

namespace selvane {
namespace {

using std::string_view;

constexpr Cents kMaxAmount = 1'000'000'000;  // $10,000,000 per unit
constexpr int kMaxRunner = 999;

constexpr std::pair<string_view, Pool> kPoolNames[] = {
    {"QUINELLA", Pool::Quinella},
    {"EXACTA", Pool::Exacta},
    {"TRIFECTA", Pool::Trifecta},
    {"FIRST FOUR", Pool::FirstFour},
};

constexpr std::pair<string_view, ResultStatus> kStatusWords[] = {
    {"OFFICIAL", ResultStatus::Official}, {"INTERIM", ResultStatus::Interim}, {"CLOSED", ResultStatus::Closed},
    {"ABANDONED", ResultStatus::Abandoned}, {"ABND", ResultStatus::Abandoned},
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

string_view trimBlanks(string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// A runner number: one to three digits, not 0.
std::optional<int> runnerNumber(string_view s) {
    s = trimBlanks(s);
    if (s.empty() || s.size() > 3 || !std::all_of(s.begin(), s.end(), isDigit)) return std::nullopt;
    int n = 0;
    for (char c : s) n = n * 10 + (c - '0');
    if (n < 1 || n > kMaxRunner) return std::nullopt;
    return n;
}

enum class AmountRead { Blank, Bad, Amount };

// "$1,234.50": an optional dollar sign, whole dollars (commas between groups of three), then
// one or two decimals.
AmountRead readAmount(string_view s, Cents& out) {
    s = trimBlanks(s);
    if (s.empty()) return AmountRead::Blank;
    if (s.front() == '$') s.remove_prefix(1);
    const std::size_t dot = s.find('.');
    const string_view whole = s.substr(0, dot);
    const string_view decimals = dot == string_view::npos ? string_view() : s.substr(dot + 1);
    if (whole.empty() || (dot != string_view::npos && (decimals.empty() || decimals.size() > 2)) ||
        !std::all_of(decimals.begin(), decimals.end(), isDigit))
        return AmountRead::Bad;
    Cents dollars = 0;
    const bool grouped = whole.find(',') != string_view::npos;
    std::size_t groupStart = 0;
    for (int group = 0; groupStart <= whole.size(); ++group) {
        const std::size_t comma = std::min(whole.find(',', groupStart), whole.size());
        const string_view digits = whole.substr(groupStart, comma - groupStart);
        // With commas: one to three digits first, then groups of exactly three.
        if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isDigit) ||
            (grouped && (group == 0 ? digits.size() > 3 : digits.size() != 3)))
            return AmountRead::Bad;
        for (char c : digits) {
            dollars = dollars * 10 + (c - '0');
            if (dollars > kMaxAmount / 100) return AmountRead::Bad;
        }
        groupStart = comma + 1;
    }
    Cents cents = dollars * 100;
    if (!decimals.empty()) cents += (decimals[0] - '0') * 10 + (decimals.size() > 1 ? decimals[1] - '0' : 0);
    if (cents > kMaxAmount) return AmountRead::Bad;
    out = cents;
    return AmountRead::Amount;
}

// "1st", "=3rd", "2nd DH": the place, or 0 when the cell is no place.
int placeOf(string_view s) {
    if (!s.empty() && s.front() == '=') s.remove_prefix(1);
    std::size_t digits = 0;
    while (digits < s.size() && isDigit(s[digits])) ++digits;
    if (digits == 0 || digits > 2 || s.size() < digits + 2) return 0;
    const std::string suffix = text::upper(s.substr(digits, 2));
    if (suffix != "ST" && suffix != "ND" && suffix != "RD" && suffix != "TH") return 0;
    const string_view rest = trimBlanks(s.substr(digits + 2));
    if (!rest.empty() && !text::equalsNoCase("DH", rest) && !text::equalsNoCase("(DH)", rest)) return 0;
    int place = 0;
    for (std::size_t i = 0; i < digits; ++i) place = place * 10 + (s[i] - '0');
    return place;
}

// Numbers separated by any of `separators`, blanks around them allowed.
bool numberList(string_view s, string_view separators, std::vector<int>& out) {
    out.clear();
    while (true) {
        const std::size_t cut = s.find_first_of(separators);
        const auto n = runnerNumber(s.substr(0, cut));
        if (!n) return false;
        out.push_back(*n);
        if (cut == string_view::npos) return true;
        s.remove_prefix(cut + 1);
    }
}

class DividendScanner {
public:
    explicit DividendScanner(string_view page) : page_(page) {}

    RaceDividends run() {
        std::size_t pos = 0;
        while (pos < page_.size()) {
            const std::size_t open = text::findByte(page_, '<', pos);
            if (inCell_) addText(page_.substr(pos, open == string_view::npos ? string_view::npos : open - pos));
            if (open == string_view::npos) break;
            if (page_.substr(open, 4) == "<!--") {
                const std::size_t end = page_.find("-->", open + 4);
                if (end == string_view::npos) break;
                pos = end + 3;
                continue;
            }
            const std::size_t close = text::findByte(page_, '>', open);
            if (close == string_view::npos) break;
            tag(page_.substr(open, close - open + 1), open);
            pos = close + 1;
        }
        // A row still open lost its end: its last amount may be cut, so none of it counts. A page
        // without its end may have lost whole rows (a placing, the scratchings) between tables.
        if (inRow_ || !sawPageEnd_) out_.issues.push_back({DividendProblem::CutShort, page_.size()});
        return std::move(out_);
    }

private:
    enum class Tag { Other, Row, RowEnd, Cell, CellEnd, Table, PageEnd };

    static Tag kindOf(string_view tag) {
        std::size_t i = 1;
        const bool closing = i < tag.size() && tag[i] == '/';
        if (closing) ++i;
        std::size_t end = i;
        while (end < tag.size() && text::lowerAscii(tag[end]) >= 'a' && text::lowerAscii(tag[end]) <= 'z') ++end;
        const string_view name = tag.substr(i, end - i);
        if (text::equalsNoCase("TR", name)) return closing ? Tag::RowEnd : Tag::Row;
        if (text::equalsNoCase("TD", name) || text::equalsNoCase("TH", name)) return closing ? Tag::CellEnd : Tag::Cell;
        if (text::equalsNoCase("TABLE", name)) return Tag::Table;
        if (closing && (text::equalsNoCase("BODY", name) || text::equalsNoCase("HTML", name))) return Tag::PageEnd;
        return Tag::Other;
    }

    void tag(string_view tag, std::size_t at) {
        switch (kindOf(tag)) {
            case Tag::Row:
                endRow();
                startRow(at);
                break;
            case Tag::RowEnd:
            case Tag::Table:
                endRow();
                break;
            case Tag::PageEnd:
                endRow();
                sawPageEnd_ = true;
                break;
            case Tag::Cell:
                // A cell outside any row opens one, as a browser would.
                if (!inRow_) startRow(at);
                if (cellCount_ == cells_.size()) cells_.emplace_back();
                cells_[cellCount_++].clear();
                inCell_ = true;
                break;
            case Tag::CellEnd: inCell_ = false; break;
            case Tag::Other: break;
        }
    }

    // Entities and no-break spaces a blank cell is written with read as blanks.
    void addText(string_view s) {
        std::string& cell = cells_[cellCount_ - 1];
        for (std::size_t i = 0; i < s.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(s[i]);
            if (c == '&' && text::startsNoCase(s.substr(i), "&NBSP;")) {
                cell += ' ';
                i += 5;
            } else if (c == '&' && text::startsNoCase(s.substr(i), "&AMP;")) {
                cell += '&';
                i += 4;
            } else if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0xA0) {
                cell += ' ';
                ++i;
            } else {
                cell += c == 0xA0 ? ' ' : s[i];
            }
        }
    }

    void startRow(std::size_t at) {
        inRow_ = true;
        rowAt_ = at;
        cellCount_ = 0;
    }

    void endRow() {
        if (inRow_ && cellCount_ > 0) takeRow();
        inRow_ = inCell_ = false;
        cellCount_ = 0;
    }

    string_view cell(std::size_t i) const { return trimBlanks(cells_[i]); }

    void problem(DividendProblem p) { out_.issues.push_back({p, rowAt_}); }

    void takeRow() {
        const string_view first = cell(0);
        if (const int place = placeOf(first)) return placingRow(place);
        for (const auto& [name, pool] : kPoolNames)
            if (text::equalsNoCase(name, first)) return exoticRow(pool);
        if (text::equalsNoCase("SCRATCHINGS", first)) return scratchingsRow();
        if (text::startsNoCase(first, "RACE ") && runnerNumber(first.substr(5)) && cellCount_ >= 2) {
            out_.status = ResultStatus::Unknown;
            for (const auto& [word, status] : kStatusWords)
                if (text::equalsNoCase(word, cell(cellCount_ - 1))) out_.status = status;
        }
    }

    // Place, number, …, win, place: the dividends are the last two cells.
    void placingRow(int place) {
        const auto runner = cellCount_ >= 4 ? runnerNumber(cell(1)) : std::nullopt;
        if (!runner) return problem(DividendProblem::BadPlace);
        Placing p{place, *runner, std::nullopt, std::nullopt};
        Cents amount = 0;
        const std::pair<std::size_t, std::optional<Cents>*> amounts[] = {{cellCount_ - 2, &p.winDividend},
                                                                          {cellCount_ - 1, &p.placeDividend}};
        for (const auto& [index, into] : amounts) {
            const AmountRead read = readAmount(cell(index), amount);
            if (read == AmountRead::Bad) return problem(DividendProblem::BadAmount);
            if (read == AmountRead::Amount) *into = amount;
        }
        out_.placings.push_back(p);
    }

    void exoticRow(Pool pool) {
        std::vector<int> runners;
        if (cellCount_ < 3 || !numberList(cell(1), "-/", runners) ||
            static_cast<int>(runners.size()) != poolRunners(pool))
            return problem(DividendProblem::BadCombination);
        std::vector<int> sorted = runners;
        std::sort(sorted.begin(), sorted.end());
        if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
            return problem(DividendProblem::BadCombination);
        Cents amount = 0;
        const AmountRead read = readAmount(cell(cellCount_ - 1), amount);
        if (read == AmountRead::Bad) return problem(DividendProblem::BadAmount);
        // A blank amount declares nothing: no dividend for this combination.
        if (read == AmountRead::Amount)
            out_.exotics[static_cast<std::size_t>(pool)].push_back({std::move(runners), amount});
    }

    void scratchingsRow() {
        const string_view list = cellCount_ >= 2 ? cell(1) : string_view();
        if (list.empty() || text::equalsNoCase("NIL", list)) return;
        std::vector<int> numbers;
        if (!numberList(list, ",", numbers)) return problem(DividendProblem::BadScratchings);
        out_.scratchings.insert(out_.scratchings.end(), numbers.begin(), numbers.end());
    }

    string_view page_;
    std::vector<std::string> cells_;  // reused from row to row
    std::size_t cellCount_ = 0;
    std::size_t rowAt_ = 0;
    bool inRow_ = false;
    bool inCell_ = false;
    bool sawPageEnd_ = false;
    RaceDividends out_;
};

}  // namespace

RaceDividends parseDividends(std::string_view page) { return DividendScanner(page).run(); }

}  // namespace selvane
