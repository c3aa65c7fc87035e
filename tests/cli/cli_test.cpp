// Argument and input errors: exit status and the one stderr line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliRun.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

struct ErrorCase {
    std::vector<std::string> words;
    int code;
    std::string err;
};

void expectErrors(const std::vector<ErrorCase>& cases) {
    for (const ErrorCase& c : cases) {
        std::string words;
        for (const std::string& w : c.words) words += w + " ";
        SCOPED_TRACE(words);
        const test::CliRun run = test::runCli(c.words);
        EXPECT_EQ(run.code, c.code);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
}

TEST(Cli, UsageErrors) {
    test::TempDir dir;
    const std::string page = dir.file("mtgraces.html");
    test::writeFile(page, "");
    expectErrors({
        {{"parse", "results", page, "--race", "2"},
         2,
         "selvane-cli parse results: --race needs --track (usage: selvane-cli parse results FILE [--track T] "
         "[--race N])\n"},
        {{"parse", "results", page, "--race", "0"},
         2,
         "selvane-cli parse results: --race needs --track (usage: selvane-cli parse results FILE [--track T] "
         "[--race N])\n"},
        {{"parse", "results", page, "--track", "X", "--race", "x"},
         2,
         "selvane-cli parse results: --race takes a race number (usage: selvane-cli parse results FILE [--track T] "
         "[--race N])\n"},
    });
}

TEST(Cli, InputErrors) {
    test::TempDir dir;
    const std::string missing = dir.file("missing.html");
    const std::string folder = dir.path().string();
    std::string runners;
    for (int i = 1; i <= 101; ++i) runners += std::to_string(i) + "\t1\tA\t1\n";
    const std::string field = dir.file("field.txt");
    test::writeFile(field, runners);
    expectErrors({
        {{"parse", "field", missing}, 1, "selvane-cli parse field: " + missing + ": no such file\n"},
        {{"parse", "meetings", folder}, 1, "selvane-cli parse meetings: " + folder + ": is a folder, not a file\n"},
        {{"tips", folder}, 1, "selvane-cli tips: " + folder + ": is a folder, not a file\n"},
        {{"tips", field}, 1, "selvane-cli tips: " + field + ": more than 100 runners (the runner list holds 100)\n"},
    });
}

}  // namespace
}  // namespace selvane
