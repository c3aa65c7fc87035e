// selvane-cli's work folder: its files are written whole or not at all, never through a link,
// by one program at a time, and a folder that takes no file is named before any fetch.
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <thread>

#include "CliRun.h"
#include "kit/SingleInstance.h"

namespace selvane {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

struct WorkFolder : test::StandinCli {
    // The command with --work folder.
    test::CliRun run(Words words, const fs::path& folder) const {
        words.insert(words.end(), {"--work", folder.string()});
        return cli(std::move(words));
    }
};

// The disk fills up in the middle of the meeting page: every command fails naming the file, and
// no part of the page is read as meetings.
TEST_F(WorkFolder, AFullDiskFailsTheCommandNamingTheFile) {
    test::SmallDisk disk(4096);
    for (const Words& words : {Words{"meetings"}, Words{"meetings", "--json"}, Words{"race", "scone", "3"}}) {
        const test::CliRun r = run(words, disk.path());
        const std::string cause = "cannot write access.html: " + disk.reason();
        const std::string json = "{\n  \"error\": \"" + cause + "\",\n  \"warnings\": []\n}\n";
        EXPECT_EQ(std::make_tuple(r.code, r.err, r.out),
                  std::make_tuple(1, "selvane-cli " + words[0] + ": " + cause + "\n",
                                  words.back() == "--json" ? json : std::string()));
        EXPECT_FALSE(fs::exists(disk.path() / "access.html"));
    }
}

// A page the program writes itself (the odds page) that cannot be written fails the command too.
TEST_F(WorkFolder, AGeneratedPageThatCannotBeWrittenFailsTheCommand) {
    test::TempDir work;
    fs::create_directory(work.path() / "realodds.html");
    const test::CliRun r = run({"odds", "scone", "3"}, work.path());
    EXPECT_EQ(std::make_pair(r.code, r.err),
              std::make_pair(1, std::string("selvane-cli odds: cannot write realodds.html: Is a directory\n")));
}

// --work takes the desktop program's lock: while another holds the folder a run waits, then fails
// without having fetched anything; a folder let go meanwhile lets it run.
TEST_F(WorkFolder, ARunWaitsForAFolderInUse) {
    test::TempDir work;
    std::optional<InstanceLock> held(InstanceLock::acquire(instanceLockFile(work.path())));
    ASSERT_TRUE(*held);
    const std::size_t requests = web.server.requestCount();
    const test::CliRun busy = run({"meetings", "--timeout", "0.3"}, work.path());
    EXPECT_EQ(std::make_pair(busy.code, busy.err),
              std::make_pair(1, "selvane-cli meetings: work folder " + work.path().string() + " is in use\n"));
    EXPECT_EQ(web.server.requestCount(), requests);
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        held.reset();
    });
    const test::CliRun waited = run({"meetings"}, work.path());
    release.join();
    EXPECT_EQ(std::make_pair(waited.code, waited.err), std::make_pair(0, std::string()));
}

// Two programs started together on one folder, each on its own date, each print their own day.
TEST_F(WorkFolder, TwoProgramsOnOneFolderEachPrintTheirOwnDay) {
    test::TempDir work;
    const Words dates = {"05/12/2026", "06/12/2026"};
    std::vector<std::string> alone;
    for (const std::string& date : dates) alone.push_back(cli({"meetings", "--date", date}).out);
    ASSERT_NE(alone[0], alone[1]);
    for (int round = 0; round < 4; ++round) {
        std::vector<FILE*> programs;
        for (const std::string& date : dates) {
            const std::string command = std::string(SELVANE_CLI_PROGRAM) + " meetings --date " + date + " --work " +
                                        work.path().string() + " --form-guide " + web.services().formGuide;
            programs.push_back(::popen(command.c_str(), "r"));
        }
        for (std::size_t i = 0; i < programs.size(); ++i) {
            std::string out;
            char buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, programs[i])) > 0;) out.append(buffer, n);
            EXPECT_EQ(::pclose(programs[i]), 0);
            EXPECT_EQ(out, alone[i]) << dates[i];
        }
    }
}

// Links planted under the work files' names (and a lock file that is a link) are never followed.
TEST_F(WorkFolder, LinksInTheFolderAreReplacedNeverWrittenThrough) {
    test::TempDir work, outside;
    const Words names = {"access.html", "test.html", "mtgraces.html", "rto.html", "realodds.html"};
    for (const std::string& name : names) {
        test::writeFile(outside.file(name), "theirs");
        ASSERT_EQ(::symlink(outside.file(name).c_str(), (work.path() / name).c_str()), 0);
    }
    EXPECT_EQ(run({"odds", "scone", "3"}, work.path()).code, 0);
    for (const std::string& name : names) {
        EXPECT_EQ(test::readFile(outside.file(name)), "theirs") << name;
        EXPECT_FALSE(fs::is_symlink(work.path() / name)) << name;
    }
    const fs::path lock = instanceLockFile(work.path());
    fs::remove(lock);
    fs::create_symlink(outside.file("lock"), lock);
    const test::CliRun r = run({"meetings"}, work.path());
    EXPECT_EQ(std::make_pair(r.code, r.err),
              std::make_pair(1, "selvane-cli meetings: cannot lock " + lock.string() + ": it is a symbolic link\n"));
    EXPECT_FALSE(fs::exists(outside.file("lock")));
}

// A folder no file can be made in is named, with the reason, before anything is fetched.
TEST_F(WorkFolder, AFolderThatTakesNoFileIsNamedBeforeAnyFetch) {
    test::TempDir dir;
    test::writeFile(dir.file("file"), "");
    const std::pair<std::string, std::string> cases[] = {
        {"/proc/self", "No such file or directory"},
        {dir.file("file"), "Not a directory"},
    };
    const std::size_t requests = web.server.requestCount();
    for (const auto& [folder, reason] : cases) {
        const test::CliRun r = run({"meetings"}, folder);
        EXPECT_EQ(std::make_pair(r.code, r.err),
                  std::make_pair(1, "selvane-cli meetings: cannot write to " + folder + ": " + reason + "\n"));
    }
    EXPECT_EQ(web.server.requestCount(), requests);
}

}  // namespace
}  // namespace selvane
