#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "net/Connectivity.h"
#include "net/WorkFiles.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

using test::TempDir;

TEST(WorkFiles, ExistsOnlyForRegularFiles) {
    TempDir dir;
    test::writeFile(dir.file("a.html"), "x");
    EXPECT_FALSE(fileExists(""));
    EXPECT_TRUE(fileExists(dir.file("a.html")));
    EXPECT_FALSE(fileExists(dir.file("missing.html")));
    EXPECT_FALSE(fileExists(dir.path().string()));  // a folder is not a work file
}

TEST(WorkFiles, SaveWritesTextAndOneLineEnd) {
    TempDir dir;
    const std::string path = dir.file("test.html");
    test::writeFile(path, std::string(1000, 'o'));
    saveFile(path, std::string("<html>\0</html>", 14));
    EXPECT_EQ(test::readFile(path), std::string("<html>\0</html>\r\n", 16));
    EXPECT_EQ(readWholeFile(path), std::string("<html>\0</html>\r\n", 16));

    saveFile(dir.file("no/such/folder.html"), "x");  // fails quietly
    EXPECT_FALSE(fileExists(dir.file("no/such/folder.html")));
}

TEST(WorkFiles, ReadingAMissingOrUnreadableFileGivesEmptyText) {
    TempDir dir;
    EXPECT_EQ(readWholeFile(dir.file("missing.html")), "");
    EXPECT_EQ(readWholeFile(""), "");
    EXPECT_EQ(readWholeFile(dir.path().string()), "");
}

TEST(WorkFiles, NamesFromServiceDataStayInTheFolder) {
    TempDir dir;
    const auto ok = workFilePath(dir.path(), "AB01.html");
    ASSERT_TRUE(ok.has_value());
    EXPECT_EQ(*ok, dir.file("AB01.html"));
    EXPECT_EQ(workFilePath(dir.path().string() + "/", "access.html"), dir.file("access.html"));
    for (std::string_view bad : std::initializer_list<std::string_view>{"", ".", "..", "../x.html", "a/b.html", "a\\b.html", "/etc/passwd", "x..html",
                                 "c:x.html", std::string_view("a\0b", 3)}) {
        EXPECT_FALSE(workFilePath(dir.path(), bad).has_value()) << bad;
    }
}

TEST(WorkFiles, ProgramFolderFallsBackToAPerUserFolder) {
    TempDir exe;
    TempDir home;
    setenv("XDG_DATA_HOME", home.path().c_str(), 1);
    test::writeFile(exe.file("webstyle.css"), "body{}");
    EXPECT_EQ(chooseProgramFolder(exe.path()), exe.path());
    EXPECT_EQ(chooseProgramFolder(exe.path() / "gone"), home.path() / "selvane");

    if (geteuid() == 0) return;  // root can write anywhere: the copy of supplied files is not reachable
    chmod(exe.path().c_str(), 0555);
    const auto folder = chooseProgramFolder(exe.path());
    chmod(exe.path().c_str(), 0755);
    EXPECT_EQ(folder, home.path() / "selvane");
    EXPECT_EQ(test::readFile(folder / "webstyle.css"), "body{}");
}

// An installed program (even one run by root, who may write to <prefix>/bin) keeps its work
// files per user and takes the supplied files from <prefix>/share/selvane.
TEST(WorkFiles, AnInstalledProgramUsesThePerUserFolder) {
    TempDir prefix;
    TempDir home;
    setenv("XDG_DATA_HOME", home.path().c_str(), 1);
    std::filesystem::create_directories(prefix.path() / "bin");
    std::filesystem::create_directories(prefix.path() / "share/selvane");
    test::writeFile(prefix.path() / "share/selvane/blank.html", "<html>installed</html>");
    test::writeFile(prefix.path() / "bin/blank.html", "<html>beside</html>");
    EXPECT_EQ(installedShareFolder(prefix.path() / "bin"), prefix.path() / "share/selvane");
    EXPECT_EQ(chooseProgramFolder(prefix.path() / "bin"), home.path() / "selvane");
    EXPECT_EQ(test::readFile(home.path() / "selvane/blank.html"), "<html>installed</html>");

    // A build folder named otherwise, or a bin without the share folder, is no install.
    EXPECT_EQ(installedShareFolder(prefix.path() / "share"), std::filesystem::path());
    std::filesystem::remove_all(prefix.path() / "share");
    EXPECT_EQ(installedShareFolder(prefix.path() / "bin"), std::filesystem::path());
    EXPECT_EQ(chooseProgramFolder(prefix.path() / "bin"), prefix.path() / "bin");
}

TEST(Connectivity, LoopbackServiceCountsAsOnline) {
    struct Case {
        const char* url;
        bool loopback;
    } cases[] = {{"http://127.0.0.1:18765", true},  {"http://localhost/x", true},  {"http://[::1]:80/", true},
                 {"http://127.9.9.9", true},         {"http://example.com", false}, {"https://10.0.0.1:443", false},
                 {"http://127.0.0.1.evil.com", false}};
    for (const Case& c : cases) EXPECT_EQ(isLoopbackUrl(c.url), c.loopback) << c.url;

    std::uint32_t flags = 0;
    std::string name;
    EXPECT_TRUE(checkInternetConnection(flags, name, "http://127.0.0.1:18765"));
    EXPECT_NE(flags, 0u);
    EXPECT_FALSE(name.empty());
}

}  // namespace
}  // namespace selvane
