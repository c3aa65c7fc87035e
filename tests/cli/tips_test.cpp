// tips from a runner file: the tables in characters whatever the page bytes, the working of
// --explain, the boxes and each-way terms of --stake; and the CSV field rule.
#include <nlohmann/json.hpp>

#include <sstream>

#include "CliRun.h"
#include "Csv.h"

namespace selvane {
namespace {

std::string runnerFile(const test::TempDir& dir, const std::string& runners) {
    test::writeFile(dir.file("field.txt"), runners);
    return dir.file("field.txt");
}

// The same texts written as Latin-1 bytes and as UTF-8 print alike; bytes that only look like
// UTF-8 are read as Latin-1, so --json always prints a document.
TEST(Tips, NamesAreReadAsUtf8OrLatin1AndColumnsCountCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"CAF\xC3\x89", "CAF\xC3\x89"},
        {"CAF\xC9", "CAF\xC3\x89"},
        {"A\xC0\xAF", "A\xC3\x80\xC2\xAF"},                          // overlong slash
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},                // surrogate
        {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},    // past U+10FFFF
    };
    for (const auto& [bytes, utf8] : cases) {
        SCOPED_TRACE(utf8);
        test::TempDir dir;
        const std::string file = runnerFile(
            dir, "1\t11\t" + bytes + " ROYAL\t1\n2\t12\tB\t2\n3\t13\tC\t3\n4\t14\tD\t4\n5\t15\tE\t5\n6\t16\tF\t6\n");
        const auto doc = nlohmann::json::parse(test::runCli({"tips", file, "--json"}).out);
        EXPECT_EQ(doc["tips"][0]["runner"], " 1.  " + utf8 + " ROYAL");
        if (utf8 != "CAF\xC3\x89") continue;
        const test::CliRun run = test::runCli({"tips", file});
        EXPECT_TRUE(run.out.starts_with("Tips\n"
                                        "  Tip   Horse Name       Win   Barrier\n"
                                        "   1st   1.  CAF\xC3\x89 ROYAL   78%  1\n"
                                        "   2nd   2.  B            61%  2\n"))
            << run.out;
        EXPECT_NE(run.out.find("\nStatus: Tip each way best bet #  1.  CAF\xC3\x89 ROYAL\n"), std::string::npos);
        EXPECT_EQ(run.out.find("Working"), std::string::npos);  // only with --explain
    }
}

TEST(Tips, ExplainAndStakeShowTheWorkingTheBoxesAndTheEachWayTerms) {
    test::TempDir dir;
    const std::string file = runnerFile(dir, "1\t3121\tALPHA\t4\n2\t0x00\tBRAVO\t1\n3\t1111\tCHARLIE\t2\n"
                                             "4\t3331\tDELTA\t5\n5e\t11\tECHO\t3\n6\t21\tFOXTROT\t6\n"
                                             "7\t6\tGOLF\t9\n8\t\tHOTEL\t1\t1\n");
    const test::CliRun run = test::runCli({"tips", file, "--explain", "--stake", "20"});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::size_t at = run.out.find("\nWorking\n");
    ASSERT_NE(at, std::string::npos) << run.out;
    EXPECT_EQ(run.out.substr(at),
              "\nWorking\n"
              "  #.  Working                                                             Rank value\n"
              "  1   form 3 1 2 1 \u2192 mean 1.75 + barrier 4 = 5.75                         5.75\n"
              "  2   zeros only \u2192 the field's worst score 1000.00                        1000.00\n"
              "  3   form 1 1 1 1 \u2192 mean 1.00 + barrier 2 = 3.00                         3.00\n"
              "  4   form 3 3 3 1 \u2192 mean 2.50 + barrier 5 = 7.50                         7.50\n"
              "  5e  form 1 1 \u2192 mean 1.00 + barrier 3 = 4.00, emergency \u2192 rank 10000.00  10000.00\n"
              "  6   form 2 1 \u2192 mean 1.50 + barrier 6 = 7.50                             7.50\n"
              "  7   form 6 \u2192 mean 6.00 + barrier 9 = 15.00                              15.00\n"
              "  8   ticked \u2192 1000.00                                                    1000.00\n"
              "\n"
              "Boxes of the tips, stake $20.00\n"
              "  Bet         Combinations  Cost at 1  Flexi\n"
              "  Quinella    10            $10        200.00%\n"
              "  Exacta      20            $20        100.00%\n"
              "  Trifecta    60            $60        33.33%\n"
              "  First four  120           $120       16.67%\n"
              // Eight runners, one an emergency and one ticked: six starters pay two places.
              "Each way: 6 starters, 2 places\n");
    // A stopped tipping boxes nothing.
    const std::string two = test::runCli({"tips", runnerFile(dir, "1\t1\tA\t1\n2\t2\tB\t2\n"), "--stake", "5"}).out;
    EXPECT_NE(two.find("\nBoxes of the tips, stake $5.00\n  none: no tips\nEach way: 2 starters, win only\n"),
              std::string::npos)
        << two;
}

TEST(Csv, FieldQuotingAndRecords) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"a b", "a b"},
        {"FLEMINGTON, VIC", "\"FLEMINGTON, VIC\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"lf\nonly", "\"lf\nonly\""},
        {"  3.  NAME", "\"  3.  NAME\""},
        {"81% ", "\"81% \""},
        {"CAF\xC9", "CAF\xC3\x89"},  // Latin-1 page bytes
    };
    for (const auto& [field, want] : cases) EXPECT_EQ(cli::csvField(field), want) << field;
    std::ostringstream out;
    cli::writeCsv(out, {{"a", "b,c"}, {"", "d"}});
    EXPECT_EQ(out.str(), "a,\"b,c\"\r\n,d\r\n");
}

}  // namespace
}  // namespace selvane
