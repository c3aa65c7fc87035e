// tips --explain and --stake: the tipping's working and the cost of boxing the tips.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CliRun.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

const char* kField =
    "1\t3121\tALPHA\t4\n2\t0x00\tBRAVO\t1\n3\t1111\tCHARLIE\t2\n4\t3331\tDELTA\t5\n"
    "5e\t11\tECHO\t3\n6\t21\tFOXTROT\t6\n7\t6\tGOLF\t9\n8\t\tHOTEL\t1\t1\n";

TEST(TipsExtras, ExplainJsonHoldsEachRunnersWorkingInListOrder) {
    test::TempDir dir;
    test::writeFile(dir.file("field.txt"), kField);
    const test::CliRun run = test::runCli({"tips", dir.file("field.txt"), "--explain", "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["explain"], nlohmann::json::parse(R"([
        {"number": "1", "digits": [3, 1, 2, 1], "mean": 1.75, "barrier": 4, "formScore": 5.75, "rankValue": 5.75, "reason": null},
        {"number": "2", "digits": [], "mean": null, "barrier": 1, "formScore": 1000, "rankValue": 1000, "reason": "zeros only"},
        {"number": "3", "digits": [1, 1, 1, 1], "mean": 1, "barrier": 2, "formScore": 3, "rankValue": 3, "reason": null},
        {"number": "4", "digits": [3, 3, 3, 1], "mean": 2.5, "barrier": 5, "formScore": 7.5, "rankValue": 7.5, "reason": null},
        {"number": "5e", "digits": [1, 1], "mean": 1, "barrier": 3, "formScore": 4, "rankValue": 10000, "reason": "emergency"},
        {"number": "6", "digits": [2, 1], "mean": 1.5, "barrier": 6, "formScore": 7.5, "rankValue": 7.5, "reason": null},
        {"number": "7", "digits": [6], "mean": 6, "barrier": 9, "formScore": 15, "rankValue": 15, "reason": null},
        {"number": "8", "digits": [], "mean": null, "barrier": 1, "formScore": 1000, "rankValue": 1000, "reason": "ticked"}
    ])"));
}

TEST(TipsExtras, ExplainTextShowsTheWorkingLine) {
    test::TempDir dir;
    test::writeFile(dir.file("field.txt"), kField);
    const test::CliRun run = test::runCli({"tips", dir.file("field.txt"), "--explain"});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::size_t at = run.out.find("\nWorking\n");
    ASSERT_NE(at, std::string::npos) << run.out;
    EXPECT_EQ(run.out.substr(at, run.out.find("\n\n", at + 1) - at),
              "\nWorking\n"
              "  #.  Working                                                             Rank value\n"
              "  1   form 3 1 2 1 \u2192 mean 1.75 + barrier 4 = 5.75                         5.75\n"
              "  2   zeros only \u2192 the field's worst score 1000.00                        1000.00\n"
              "  3   form 1 1 1 1 \u2192 mean 1.00 + barrier 2 = 3.00                         3.00\n"
              "  4   form 3 3 3 1 \u2192 mean 2.50 + barrier 5 = 7.50                         7.50\n"
              "  5e  form 1 1 \u2192 mean 1.00 + barrier 3 = 4.00, emergency \u2192 rank 10000.00  10000.00\n"
              "  6   form 2 1 \u2192 mean 1.50 + barrier 6 = 7.50                             7.50\n"
              "  7   form 6 \u2192 mean 6.00 + barrier 9 = 15.00                              15.00\n"
              "  8   ticked \u2192 1000.00                                                    1000.00\n");
}

TEST(TipsExtras, WithoutExplainThereIsNoWorking) {
    test::TempDir dir;
    test::writeFile(dir.file("field.txt"), kField);
    const auto doc = nlohmann::json::parse(test::runCli({"tips", dir.file("field.txt"), "--json"}).out);
    EXPECT_FALSE(doc.contains("explain"));
}

TEST(TipsExtras, StakeGivesTheBoxesAndTheEachWayTerms) {
    test::TempDir dir;
    test::writeFile(dir.file("field.txt"), kField);
    const test::CliRun run = test::runCli({"tips", dir.file("field.txt"), "--stake", "20", "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["boxes"], nlohmann::json::parse(R"([
        {"bet": "quinella", "combinations": 10, "flexiPercent": 200.0},
        {"bet": "exacta", "combinations": 20, "flexiPercent": 100.0},
        {"bet": "trifecta", "combinations": 60, "flexiPercent": 33.33},
        {"bet": "firstFour", "combinations": 120, "flexiPercent": 16.67}
    ])"));
    // Eight runners, one an emergency and one ticked: six starters pay two places.
    EXPECT_EQ(doc["eachWay"], nlohmann::json::parse(R"({"starters": 6, "places": 2})"));

    const test::CliRun text = test::runCli({"tips", dir.file("field.txt"), "--stake", "20"});
    EXPECT_NE(text.out.find("Boxes of the tips, stake $20.00\n"
                            "  Bet         Combinations  Cost at 1  Flexi\n"
                            "  Quinella    10            $10        200.00%\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("Each way: 6 starters, 2 places\n"), std::string::npos);
}

TEST(TipsExtras, AStoppedTippingBoxesNothing) {
    test::TempDir dir;
    test::writeFile(dir.file("field.txt"), "1\t1\tA\t1\n2\t2\tB\t2\n");
    const auto doc = nlohmann::json::parse(test::runCli({"tips", dir.file("field.txt"), "--stake", "5", "--json"}).out);
    EXPECT_EQ(doc["boxes"], nlohmann::json::array());
    EXPECT_EQ(doc["eachWay"], nlohmann::json::parse(R"({"starters": 2, "places": 0})"));
}

TEST(TipsExtras, ABadStakeIsAUsageError) {
    test::TempDir dir;
    test::writeFile(dir.file("field.txt"), kField);
    const test::CliRun run = test::runCli({"tips", dir.file("field.txt"), "--stake", "0"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("--stake takes an amount above 0"), std::string::npos);
}

}  // namespace
}  // namespace selvane
