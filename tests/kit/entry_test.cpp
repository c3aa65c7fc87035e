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
    s.lockFile = dir.path() / "selvane.lock";
    s.initialise = [&] { steps.push_back("initialise"); };
    s.pumpEvents = [&] { steps.push_back("pump"); };
    s.showFirstWindow = [&] { steps.push_back("show"); };
    s.runEventLoop = [&] {
        steps.push_back("loop");
        // While running, the lock is held.
        EXPECT_EQ(InstanceLock::acquire(s.lockFile).has_value(), false);
        return 7;
    };
    EXPECT_EQ(runEntry(s), 7);
    EXPECT_EQ(steps, (std::vector<std::string>{"initialise", "pump", "show", "loop"}));
    // Ended: the next start runs.
    EXPECT_EQ(InstanceLock::acquire(s.lockFile).has_value(), true);
}

TEST(Entry, ASecondProcessEndsAtOnceWithCodeZero) {
    test::TempDir dir;
    const auto lockFile = dir.path() / "selvane.lock";
    auto held = InstanceLock::acquire(lockFile);
    ASSERT_EQ(held.has_value(), true);

    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        StartUp s;
        s.lockFile = lockFile;
        // Any step reached would be a second running instance: end with a code the parent sees.
        s.initialise = [] { ::_exit(3); };
        s.pumpEvents = [] { ::_exit(4); };
        s.showFirstWindow = [] { ::_exit(5); };
        s.runEventLoop = [] { return 6; };
        ::_exit(runEntry(s));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WIFEXITED(status), true);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(Entry, TheLockGoesWithTheProcessThatHeldIt) {
    test::TempDir dir;
    const auto lockFile = dir.path() / "selvane.lock";
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
    s.lockFile = "/no/such/folder/selvane.lock";
    bool shown = false;
    s.showFirstWindow = [&] { shown = true; };
    EXPECT_EQ(runEntry(s), 0);
    EXPECT_EQ(shown, true);
}

}  // namespace
}  // namespace selvane
