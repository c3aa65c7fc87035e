#include "app/ExitCleanUp.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/Commands.h"
#include "net/WorkFiles.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

namespace fs = std::filesystem;

TEST(ExitCleanUp, DeletesTheSevenWorkFilesAndLeavesTheOthers) {
    test::TempDir dir;
    for (const char* name : kExitWorkFiles) test::writeFile(dir.path() / name, "x");
    const char* kept[] = {"mtgraces.html", "iFrame_results.html", "blank.html"};
    for (const char* name : kept) test::writeFile(dir.path() / name, "x");

    EXPECT_EQ(exitCleanUp(dir.path()), std::vector<std::string>{});
    for (const char* name : kExitWorkFiles) EXPECT_EQ(fs::exists(dir.path() / name), false) << name;
    for (const char* name : kept) EXPECT_EQ(fs::exists(dir.path() / name), true) << name;
}

TEST(ExitCleanUp, NothingToDeleteAndRepeatedRunsAreQuiet) {
    test::TempDir dir;
    test::writeFile(dir.path() / "rto.html", "x");
    EXPECT_EQ(exitCleanUp(dir.path()), std::vector<std::string>{});
    EXPECT_EQ(exitCleanUp(dir.path()), std::vector<std::string>{});
    EXPECT_EQ(exitCleanUp(dir.path() / "no such folder"), std::vector<std::string>{});
}

TEST(ExitCleanUp, ADirectoryWithAWorkFileNameIsNotTouched) {
    test::TempDir dir;
    fs::create_directory(dir.path() / "test.html");
    EXPECT_EQ(exitCleanUp(dir.path()), std::vector<std::string>{});
    EXPECT_EQ(fs::is_directory(dir.path() / "test.html"), true);
}

// Makes one file undeletable: immutable when we are root (permissions do not stop root),
// otherwise a read-only folder. Undone by the destructor.
class Undeletable {
public:
    Undeletable(const fs::path& folder, const fs::path& file) : folder_(folder), file_(file) {
        if (::geteuid() == 0) {
            fd_ = ::open(file.c_str(), O_RDONLY);
            int flags = 0;
            if (fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
                flags |= FS_IMMUTABLE_FL;
                immutable_ = ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
            }
        } else {
            readOnly_ = ::chmod(folder.c_str(), 0555) == 0;
        }
    }
    ~Undeletable() {
        if (immutable_) {
            int flags = 0;
            ::ioctl(fd_, FS_IOC_GETFLAGS, &flags);
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd_, FS_IOC_SETFLAGS, &flags);
        }
        if (fd_ >= 0) ::close(fd_);
        if (readOnly_) ::chmod(folder_.c_str(), 0755);
    }
    bool works() const {
        std::error_code ec;
        return (immutable_ || readOnly_) && !fs::remove(file_, ec) && fs::exists(file_);
    }

private:
    fs::path folder_, file_;
    int fd_ = -1;
    bool immutable_ = false, readOnly_ = false;
};

TEST(ExitCleanUp, AnUndeletableFileIsPassedOverAndTheRestGoes) {
    test::TempDir dir;
    for (const char* name : kExitWorkFiles) test::writeFile(dir.path() / name, "x");
    std::vector<std::string> left;
    {
        Undeletable lock(dir.path(), dir.path() / "test.html");
        if (!lock.works()) GTEST_SKIP() << "this file system lets the file be deleted";
        // A read-only folder keeps every file; an immutable file keeps only itself.
        left = exitCleanUp(dir.path());
        EXPECT_EQ(fs::exists(dir.path() / "test.html"), true);
    }
    if (::geteuid() == 0) {
        EXPECT_EQ(left, std::vector<std::string>{"test.html"});
        EXPECT_EQ(fs::exists(dir.path() / "results.html"), false);
    } else {
        EXPECT_EQ(left.size(), std::size(kExitWorkFiles));
    }
}

TEST(ExitButton, CleansUpThenEndsTheProgram) {
    test::AppFixture f;
    wireCommands(*f.app);
    test::writeFile(f.dir.path() / "access.html", "x");
    f.app->window.cmdExit.click();
    EXPECT_EQ(fs::exists(f.dir.path() / "access.html"), false);
    EXPECT_EQ(f.fakes.exit.codes, std::vector<int>{0});
    EXPECT_EQ(f.fakes.messages.shown.size(), 0u);
}

}  // namespace
}  // namespace selvane
