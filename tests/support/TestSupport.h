#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/App.h"
#include "kit/FakePorts.h"

namespace selvane::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A folder with room for about `room` more bytes (a multiple of 4096): a full disk. A 64 KiB
// tmpfs where this process may mount one (as root), else a file size limit on this process for
// the object's life, so that a longer file cannot be written either.
class SmallDisk {
public:
    explicit SmallDisk(std::size_t room);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    const std::filesystem::path& path() const { return dir_.path(); }
    // What the system says when a write does not fit.
    std::string reason() const { return mounted_ ? "No space left on device" : "File too large"; }

private:
    TempDir dir_;
    bool mounted_ = false;
};

// An environment variable, put back as it was (or unset) when the object goes.
class SavedEnv {
public:
    explicit SavedEnv(const char* name) : name_(name), had_(std::getenv(name)), value_(had_ ? std::getenv(name) : "") {}
    ~SavedEnv() { had_ ? ::setenv(name_, value_.c_str(), 1) : ::unsetenv(name_); }
    SavedEnv(const SavedEnv&) = delete;
    SavedEnv& operator=(const SavedEnv&) = delete;

private:
    const char* name_;
    bool had_;
    std::string value_;
};

void writeFile(const std::filesystem::path& path, std::string_view bytes);
std::string readFile(const std::filesystem::path& path);

// A test data file under tests/data.
std::string dataFile(const std::string& relative);

// An App over a temporary program folder with recording ports and short fetch limits.
struct AppFixture {
    explicit AppFixture(Services services = Services::compiledIn());
    TempDir dir;
    FakePorts fakes;
    std::unique_ptr<App> app;
};

// The head the page writer gives a white page.
inline const std::string kWhitePageHead =
    "<html>\r\n<head><title></title>\r\n"
    "<link rel=\"stylesheet\" type=\"text/css\" href=\"webstyle.css\" title=\"webstyle\">\r\n</head>\r\n"
    "<body bgcolor=\"#FFFFFF\" leftMargin=\"0\" topMargin=\"0\" marginheight=\"0\" marginwidth=\"0\" "
    "oncontextmenu =\"return false;\">\r\n";

}  // namespace selvane::test
