#include "kit/Entry.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "kit/SingleInstance.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

TEST(Entry, FirstStartPumpsOnceShowsTheWindowAndReturnsTheLoopsCode) {
    test::TempDir dir;
    std::vector<std::string> steps;
    StartUp s;
    s.programFolder = dir.path();
    const auto lockFile = instanceLockFile(dir.path());
    s.initialise = [&] { steps.push_back("initialise"); };
    s.pumpEvents = [&] { steps.push_back("pump"); };
    s.showFirstWindow = [&] { steps.push_back("show"); };
    s.runEventLoop = [&] {
        steps.push_back("loop");
        // While running, the lock is held.
        EXPECT_EQ(InstanceLock::acquire(lockFile).has_value(), false);
        return 7;
    };
    EXPECT_EQ(runEntry(s), 7);
    EXPECT_EQ(steps, (std::vector<std::string>{"initialise", "pump", "show", "loop"}));
    // Ended: the next start runs.
    EXPECT_EQ(InstanceLock::acquire(lockFile).has_value(), true);
}

// A second process over the same work folder ends at once with code 0, whatever its
// environment; over another folder it starts (initialise ends it here with code 3).
TEST(Entry, ASecondProcessOverTheSameFolderEndsAtOnceWithCodeZero) {
    test::TempDir folder, other, runtime;
    struct Case {
        const char* what;
        const char* variable;  // set to another folder in the second process
        bool sameFolder;
        int code;
    } cases[] = {
        {"same environment", nullptr, true, 0},
        {"another runtime folder", "XDG_RUNTIME_DIR", true, 0},
        {"another temporary folder", "TMPDIR", true, 0},
        {"another work folder", nullptr, false, 3},
    };
    StartUp first;
    first.programFolder = folder.path();
    first.runEventLoop = [&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            const pid_t child = ::fork();
            EXPECT_NE(child, -1);
            if (child == 0) {
                if (c.variable) ::setenv(c.variable, runtime.path().c_str(), 1);
                StartUp s;
                s.programFolder = c.sameFolder ? folder.path() : other.path();
                // Any step reached would be a second running instance: end with a code the parent sees.
                s.initialise = [] { ::_exit(3); };
                s.pumpEvents = [] { ::_exit(4); };
                s.showFirstWindow = [] { ::_exit(5); };
                s.runEventLoop = [] { return 6; };
                ::_exit(runEntry(s));
            }
            int status = 0;
            EXPECT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_EQ(WIFEXITED(status), true);
            EXPECT_EQ(WEXITSTATUS(status), c.code);
        }
        return 0;
    };
    runEntry(first);
}

TEST(Entry, TheLockGoesWithTheProcessThatHeldIt) {
    test::TempDir dir;
    const auto lockFile = instanceLockFile(dir.path());
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        auto lock = InstanceLock::acquire(lockFile);
        ::_exit(lock ? 0 : 1);  // ends without running any destructor
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(InstanceLock::acquire(lockFile).has_value(), true);
}

TEST(Entry, AnUnusableLockFileDoesNotKeepTheProgramFromStarting) {
    StartUp s;
    s.programFolder = "/no/such/folder";
    bool shown = false;
    s.showFirstWindow = [&] { shown = true; };
    EXPECT_EQ(runEntry(s), 0);
    EXPECT_EQ(shown, true);
}

}  // namespace
}  // namespace selvane
