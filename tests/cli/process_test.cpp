// selvane-cli as its own process, where the exit status a script sees depends on the process:
// a watch ended by a signal, and output that cannot be written (a full disk, a closed pipe).
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "CliRun.h"

namespace selvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The program with words against the stand-in, stdout on fd out, stderr into errFile, its
// temporary folder under tmp.
pid_t start(std::vector<std::string> words, const Services& s, int out, const std::string& errFile,
            const std::string& tmp, std::vector<std::string> env = {}) {
    words.insert(words.begin(), SELVANE_CLI_PROGRAM);
    words.insert(words.end(), {"--form-guide", s.formGuide, "--results-site", s.resultsSiteRoot});
    env.push_back("TMPDIR=" + tmp);
    if (const char* path = std::getenv("PATH")) env.push_back("PATH=" + std::string(path));
    std::vector<char*> argv, envp;
    for (std::string& w : words) argv.push_back(w.data());
    for (std::string& e : env) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        // Only async-signal-safe calls before exec: the test process has threads.
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        ::signal(SIGPIPE, SIG_DFL);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    return child;
}

// "exit N" or "signal N"; a child still running after 20 s is killed and reads "hung".
std::string ending(pid_t child) {
    for (int i = 0; i < 4000; ++i) {
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) ? "exit " + std::to_string(WEXITSTATUS(status))
                                     : "signal " + std::to_string(WTERMSIG(status));
        std::this_thread::sleep_for(5ms);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return "hung";
}

long asked(const standin::Server& server, const std::string& prefix) {
    const std::vector<std::string> log = server.requestLog();
    return std::count_if(log.begin(), log.end(), [&](const std::string& t) { return t.starts_with(prefix); });
}

struct Process : ::testing::Test {
    test::StandinFixture web;
    test::TempDir tmp, logs;
    std::string err() const { return test::readFile(logs.file("err")); }
    long leftInTmp() const { return std::distance(fs::directory_iterator(tmp.path()), {}); }
};

// Ctrl-C ends a watch at its next wait with the last fetch's outcome; SIGTERM ends it at once,
// also while a fetch waits on a stalled site.
TEST_F(Process, AWatchEndsWithItsLastFetchOrAtOnceOnSigterm) {
    const struct {
        int sig;
        standin::Fault fault;
        std::string end;
    } cases[] = {
        {SIGINT, standin::Fault::None, "exit 0"},
        {SIGINT, standin::Fault::ServerError, "exit 1"},
        {SIGTERM, standin::Fault::Stall, "signal 15"},
    };
    const int null = ::open("/dev/null", O_WRONLY);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.end);
        const long before = asked(web.server, "/tote/");
        web.server.setFault(c.fault, "/tote/");
        const pid_t child = start({"results", "scone", "--watch", "--every", "5", "--timeout", "3600"}, web.services(),
                                  null, logs.file("err"), tmp.path().string());
        for (int i = 0; i < 4000 && asked(web.server, "/tote/") == before; ++i) std::this_thread::sleep_for(5ms);
        ::kill(child, c.sig);
        EXPECT_EQ(ending(child), c.end);
        EXPECT_EQ(err(), "");
        EXPECT_EQ(leftInTmp(), 0);
    }
    ::close(null);
}

// Ctrl-C stops a review between pages: the page in flight ends, the command says how far it got
// and exits 130 rather than dying by the signal.
TEST_F(Process, CtrlCStopsAReviewBetweenPages) {
    web.server.setFault(standin::Fault::Slow, "/tote/");
    const int null = ::open("/dev/null", O_WRONLY);
    const pid_t child = start({"review", "--from", "05/12/2026", "--to", "05/12/2026", "--track", "cranbourne",
                               "--record", logs.file("record.sqlite")},
                              web.services(), null, logs.file("err"), tmp.path().string());
    for (int i = 0; i < 4000 && asked(web.server, "/tote/") == 0; ++i) std::this_thread::sleep_for(5ms);
    ::kill(child, SIGINT);
    EXPECT_EQ(ending(child), "exit 130");
    EXPECT_EQ(err(), "selvane-cli review: stopped after 0 of 6 races; run it again to go on from what the record "
                     "keeps\n");
    EXPECT_EQ(asked(web.server, "/tote/"), 1);
    ::close(null);
}

// Output that cannot be written fails the command; a reader that has gone is not told so.
TEST_F(Process, OutputThatCannotBeWrittenFails) {
    const struct {
        std::vector<std::string> words;
        bool closedPipe;  // else /dev/full
        std::string err;
    } cases[] = {
        {{"meetings", "--json"}, false, "selvane-cli meetings: cannot write output: No space left on device\n"},
        {{"normalise", test::dataFile("odds/devonport_r5/rto.html")}, false,
         "selvane-cli normalise: cannot write output: No space left on device\n"},
        {{"meetings"}, true, ""},
        {{"results", "scone", "--watch", "--every", "5"}, true, ""},  // the watch ends too
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words[0] + (c.closedPipe ? " | closed" : " > /dev/full"));
        int out = -1;
        if (c.closedPipe) {
            int fds[2];
            ASSERT_EQ(::pipe(fds), 0);
            ::close(fds[0]);
            out = fds[1];
        } else {
            out = ::open("/dev/full", O_WRONLY);
        }
        const pid_t child = start(c.words, web.services(), out, logs.file("err"), tmp.path().string());
        ::close(out);
        EXPECT_EQ(ending(child), "exit 1");
        EXPECT_EQ(err(), c.err);
        EXPECT_EQ(leftInTmp(), 0);
    }
}

// A machine whose SQLite cannot be loaded: the command does its job and says once that nothing
// was recorded, and why.
TEST_F(Process, WithoutSqliteACommandStillWorksUnrecorded) {
    test::TempDir libs;
    std::ofstream(libs.file("libsqlite3.so.0")) << "not a library";
    const std::string record = logs.file("record.sqlite");
    const int out = ::open(logs.file("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const pid_t child = start({"race", "scone", "3", "--record", record}, web.services(), out, logs.file("err"),
                              tmp.path().string(), {"LD_LIBRARY_PATH=" + libs.path().string()});
    ::close(out);
    EXPECT_EQ(ending(child), "exit 0");
    EXPECT_NE(test::readFile(logs.file("out")).find("Tip"), std::string::npos);
    const std::string said = err();
    EXPECT_TRUE(said.starts_with("selvane-cli: not recorded: " + record + ": cannot load SQLite: ")) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_FALSE(fs::exists(record));
}

}  // namespace
}  // namespace selvane
