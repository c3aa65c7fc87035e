// Exit status and the one stderr line for bad words and unreadable input, the --timeout range,
// and the temporary work folder removed when a signal ends the program.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "CliRun.h"
#include "standin/Server.h"

namespace selvane {
namespace {

TEST(Cli, UsageAndInputErrors) {
    test::TempDir dir;
    const std::string page = dir.file("page.html"), missing = dir.file("missing.html"), folder = dir.path().string();
    test::writeFile(page, "");
    std::string runners;
    for (int i = 1; i <= 101; ++i) runners += std::to_string(i) + "\t1\tA\t1\n";
    test::writeFile(dir.file("field.txt"), runners);
    const std::string results = " (usage: selvane-cli parse results FILE [--track T] [--race N])\n";
    const std::string odds = " (usage: selvane-cli page odds FILE --runners N)\n";
    const struct {
        std::vector<std::string> words;
        int code;
        std::string err;
    } cases[] = {
        {{"bogus"}, 2, "selvane-cli: unknown command 'bogus' (see selvane-cli --help)\n"},
        {{"parse", "results", page, "--race", "2"}, 2, "selvane-cli parse results: --race needs --track" + results},
        {{"parse", "results", page, "--track", "X", "--race", "x"},
         2,
         "selvane-cli parse results: --race takes a race number" + results},
        {{"page", "odds", page}, 2, "selvane-cli page odds: --runners is required" + odds},
        {{"page", "odds", page, "--runners", "101"},
         2,
         "selvane-cli page odds: --runners takes a runner count from 0 to 100" + odds},
        {{"tips", page, "--stake", "0"},
         2,
         "selvane-cli tips: --stake takes an amount above 0 and up to 1000000, with at most two decimals (usage: "
         "selvane-cli tips FILE [--explain] [--stake AMOUNT])\n"},
        {{"meetings", "--csv", "--json"},
         2,
         "selvane-cli meetings: --csv and --json cannot be used together (usage: selvane-cli meetings [--date "
         "DD/MM/YYYY] [--csv])\n"},
        {{"parse", "field", missing}, 1, "selvane-cli parse field: " + missing + ": no such file\n"},
        {{"parse", "meetings", folder}, 1, "selvane-cli parse meetings: " + folder + ": is a folder, not a file\n"},
        {{"tips", dir.file("field.txt")},
         1,
         "selvane-cli tips: " + dir.file("field.txt") + ": more than 100 runners (the runner list holds 100)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        const test::CliRun run = test::runCli(c.words);
        EXPECT_EQ(run.code, c.code);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
}

// A limit the fetcher cannot keep (none at all, or one that rounds to "no limit") is refused.
TEST(Cli, TimeoutTakesATenthOfASecondToAnHour) {
    const std::string missing = test::TempDir().file("missing.html");
    for (const char* ok : {"0.1", "3600", "1e3"})
        EXPECT_EQ(test::runCli({"parse", "dates", missing, "--timeout", ok}).code, 1) << ok;
    for (const char* bad : {"0.0004", "0.09", "0", "-5", "3601", "1e300", "inf", "nan", "", "10s", " 10", "0x10"}) {
        const test::CliRun run = test::runCli({"parse", "dates", missing, "--timeout", bad});
        EXPECT_EQ(run.code, 2) << bad;
        EXPECT_EQ(run.err, "selvane-cli parse dates: --timeout takes 0.1 to 3600 seconds (usage: selvane-cli parse "
                           "dates FILE)\n")
            << bad;
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
    auto entries = [](const fs::path& p) { return std::distance(fs::directory_iterator(p), {}); };
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sig);
        test::TempDir tmp;
        // Everything the child needs is made before the fork: after it, only exec.
        std::vector<std::string> words = {SELVANE_CLI_PROGRAM, "meetings", "--form-guide", server.formGuideUrl()};
        std::vector<std::string> env = {"TMPDIR=" + tmp.path().string()};
        for (char** e = environ; *e; ++e)
            if (std::string_view(*e).rfind("TMPDIR=", 0) != 0) env.push_back(*e);
        std::vector<char*> argv, envp;
        for (std::string& w : words) argv.push_back(w.data());
        for (std::string& e : env) envp.push_back(e.data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);
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
        EXPECT_EQ(entries(tmp.path()), 1);
        ::kill(child, sig);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(WIFSIGNALED(status) ? WTERMSIG(status) : -1, sig);
        EXPECT_EQ(entries(tmp.path()), 0);
    }
}

}  // namespace
}  // namespace selvane
