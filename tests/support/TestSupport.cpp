#include "support/TestSupport.h"

#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace selvane::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "selvane-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

namespace {

rlimit savedFileSize{};
void (*savedXfszHandler)(int) = SIG_DFL;

}  // namespace

SmallDisk::SmallDisk(std::size_t room) {
    constexpr std::size_t kSize = 64 * 1024;
    mounted_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, "size=64k") == 0;
    if (mounted_) {
        writeFile(dir_.path() / "filler", std::string(kSize - room, 'f'));
        return;
    }
    // A write past the limit then fails with EFBIG instead of ending the process.
    savedXfszHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &savedFileSize);
    rlimit limit = savedFileSize;
    limit.rlim_cur = room;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

SmallDisk::~SmallDisk() {
    if (mounted_) {
        ::umount2(dir_.path().c_str(), MNT_DETACH);
        return;
    }
    ::setrlimit(RLIMIT_FSIZE, &savedFileSize);
    std::signal(SIGXFSZ, savedXfszHandler);
}

void writeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string dataFile(const std::string& relative) {
    const char* root = std::getenv("SELVANE_TEST_DATA");
    return (fs::path(root ? root : "tests/data") / relative).string();
}

AppFixture::AppFixture(Services services)
    : app(std::make_unique<App>(dir.path(), fakes.ports(), std::move(services))) {
    app->limits.connect = std::chrono::milliseconds(2000);
    app->limits.total = std::chrono::milliseconds(5000);
}

}  // namespace selvane::test
