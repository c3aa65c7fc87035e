// page results: the bytes of results.html from a saved race result page.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "CliRun.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

TEST(PageResults, PrintsTheBytesWrittenToResultsHtml) {
    const std::string input = test::dataFile("results/BL02_test.html");
    const std::string golden = test::readFile(test::dataFile("results/BL02_results.html"));

    const test::CliRun text = test::runCli({"page", "results", input});
    EXPECT_EQ(text.code, 0);
    EXPECT_EQ(text.out, golden);

    const test::CliRun json = test::runCli({"page", "results", input, "--json"});
    EXPECT_EQ(json.code, 0);
    EXPECT_EQ(nlohmann::json::parse(json.out), (nlohmann::json{{"page", golden}}));
}

TEST(PageResults, APageWithoutResultTablesGivesAnEmptyPageNotAnEarlierOne) {
    test::TempDir dir;
    const std::string input = dir.file("closed.html");
    test::writeFile(input, "<html><body><p>Betting closed</p></body></html>");
    test::writeFile(dir.file("results.html"), "an earlier race");

    const test::CliRun json = test::runCli({"page", "results", input, "--json", "--work", dir.path().string()});
    EXPECT_EQ(json.code, 0);
    EXPECT_EQ(json.out, "{\n  \"page\": \"\"\n}\n");
    EXPECT_EQ(json.err, "");

    const test::CliRun text = test::runCli({"page", "results", input});
    EXPECT_EQ(text.code, 0);
    EXPECT_EQ(text.out, "");
    EXPECT_EQ(text.err, "selvane-cli page results: no result tables on the page; results.html is not written\n");
}

}  // namespace
}  // namespace selvane
