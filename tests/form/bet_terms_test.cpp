#include "form/BetTerms.h"

#include <gtest/gtest.h>

#include "form/RunnerFile.h"
#include "form/TipWarning.h"

namespace selvane {
namespace {

TEST(BetTerms, Arithmetic) {
    auto boxes = [](int tips) {
        std::string s;
        for (const BoxBet& b : boxBets(tips)) s += b.bet + ' ' + std::to_string(b.combinations) + ' ';
        return s;
    };
    auto stake = [](const char* text) { return parseStake(text) ? std::to_string(*parseStake(text)) : "refused"; };
    auto flexi = [](const char* stake, long long n) { return twoPlaces(flexiHundredths(*parseStake(stake), n)); };
    auto eachWay = [](int starters) { return std::to_string(eachWayPlaces(starters)); };
    auto terms = [](int starters) { return betTermsLine(5, starters).substr(betTermsLine(5, starters).find(". Each")); };
    const std::pair<std::string, const char*> rows[] = {
        {boxes(5), "quinella 10 exacta 20 trifecta 60 firstFour 120 "},
        {boxes(3), "quinella 3 exacta 6 trifecta 6 firstFour 0 "},
        {stake("20"), "2000"}, {stake("0.5"), "50"}, {stake("3.07"), "307"}, {stake("1000000"), "100000000"},
        {stake("0"), "refused"}, {stake("0.00"), "refused"}, {stake("1000000.01"), "refused"}, {stake("-5"), "refused"},
        {stake("5."), "refused"}, {stake(".5"), "refused"}, {stake("1.234"), "refused"}, {stake(""), "refused"},
        {stake("1e3"), "refused"}, {stake("20 "), "refused"}, {stake("99999999999999999999"), "refused"},
        {flexi("20", 10), "200.00"}, {flexi("20", 60), "33.33"}, {flexi("20", 120), "16.67"},
        {flexi("0.01", 120), "0.01"}, {flexi("0.01", 300), "0.00"}, {flexi("0.05", 10), "0.50"},
        {flexi("1000000", 120), "833333.33"}, {flexi("10", 0), "0.00"},
        {eachWay(0), "0"}, {eachWay(4), "0"}, {eachWay(5), "2"}, {eachWay(7), "2"}, {eachWay(8), "3"},
        {terms(8), ". Each way with 8 starters: 3 places"}, {terms(1), ". Each way with 1 starter: win only"},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
}

// A third or more of the runners without form warns; no runners or no tips is a data error.
TEST(TipWarning, ReportingRule) {
    const std::pair<std::array<int, 3>, TipWarning> cases[] = {
        {{8, 5, 2}, TipWarning::InsufficientForm}, {{8, 5, 1}, TipWarning::None}, {{5, 5, 1}, TipWarning::InsufficientForm},
        {{5, 5, 0}, TipWarning::None}, {{9, 5, 2}, TipWarning::None}, {{0, 5, 0}, TipWarning::DataError},
        {{8, 0, 0}, TipWarning::DataError},
    };
    for (const auto& [c, want] : cases) EXPECT_EQ(tipWarning(c[0], c[1], c[2]), want) << c[0] << "/" << c[1] << "/" << c[2];
}

TEST(RunnerFile, TabbedLinesAndAHundredAtMost) {
    std::string described;
    for (const TipInput& r : parseRunnerFile("1\t3121\tALPHA\t4\t1\r\n2e\t\tBRAVO\t\t0\n3\t0x\tC  (5)\n\n7"))
        described += r.number + "|" + r.form + "|" + r.name + "|" + r.barrier + (r.ticked ? "|t " : "| ");
    EXPECT_EQ(described, "1|3121|ALPHA|4|t 2e||BRAVO|| 3|0x|C  (5)|| |||| 7|||| ");
    std::string text;
    for (int i = 1; i <= 100; ++i) text += std::to_string(i) + "\t1\tA\t1\n";
    EXPECT_EQ(parseRunnerFile(text).size(), 100u);
    EXPECT_THROW(parseRunnerFile(text + "\n"), RunnerFileTooLong);
}

}  // namespace
}  // namespace selvane
