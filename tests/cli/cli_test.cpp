// Argument and input errors: exit status and the one stderr line.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "CliRun.h"
#include "standin/Server.h"
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

// A limit the fetcher cannot keep (none at all, or one that rounds to "no limit") is refused.
TEST(Cli, TimeoutTakesATenthOfASecondToAnHour) {
    test::TempDir dir;
    const std::string missing = dir.file("missing.html");
    const std::string refused =
        "selvane-cli parse dates: --timeout takes 0.1 to 3600 seconds (usage: selvane-cli parse dates FILE)\n";
    const std::string accepted = "selvane-cli parse dates: " + missing + ": no such file\n";
    struct Case {
        std::string seconds;
        bool ok;
    } cases[] = {
        {"0.1", true},  {"10", true},     {"3600", true},   {"1e3", true},    {"0.0004", false}, {"0.09", false},
        {"0", false},   {"-5", false},    {"3601", false},  {"1e300", false}, {"inf", false},    {"nan", false},
        {"", false},    {"10s", false},   {" 10", false},   {"0x10", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        const test::CliRun run = test::runCli({"parse", "dates", missing, "--timeout", c.seconds});
        EXPECT_EQ(run.code, c.ok ? 1 : 2);
        EXPECT_EQ(run.err, c.ok ? accepted : refused);
    }
}

// selvane-cli as its own process, stopped by a signal while it waits on a stalled service:
// its temporary work folder goes with it.
TEST(Cli, ASignalDuringAFetchRemovesTheTemporaryWorkFolder) {
    namespace fs = std::filesystem;
    standin::Options o;
    o.now = "2026-12-06T14:00";
    o.fault = standin::Fault::Stall;
    standin::Server server(o);
    server.start();
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sig);
        test::TempDir tmp;
        // Everything the child needs is made before the fork: after it, only exec.
        std::vector<std::string> words = {SELVANE_CLI_PROGRAM, "meetings", "--form-guide", server.formGuideUrl(),
                                          "--timeout", "60"};
        std::vector<std::string> env = {"TMPDIR=" + tmp.path().string()};
        for (char** e = environ; *e; ++e)
            if (std::string_view(*e).rfind("TMPDIR=", 0) != 0) env.push_back(*e);
        auto pointers = [](std::vector<std::string>& texts) {
            std::vector<char*> p;
            for (std::string& t : texts) p.push_back(t.data());
            p.push_back(nullptr);
            return p;
        };
        std::vector<char*> argv = pointers(words), envp = pointers(env);
        const std::size_t requestsBefore = server.requestCount();
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        // Once the request has come, the work folder exists and the fetch is waiting.
        for (int i = 0; i < 6000 && server.requestCount() == requestsBefore; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(server.requestCount(), requestsBefore + 1);
        EXPECT_EQ(std::distance(fs::directory_iterator(tmp.path()), fs::directory_iterator()), 1);
        ::kill(child, sig);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(WIFSIGNALED(status), true);
        EXPECT_EQ(WTERMSIG(status), sig);
        EXPECT_EQ(std::distance(fs::directory_iterator(tmp.path()), fs::directory_iterator()), 0);
    }
}

}  // namespace
}  // namespace selvane
