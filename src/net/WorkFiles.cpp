#include "net/WorkFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace selvane {

namespace fs = std::filesystem;

namespace {

// A new file beside target, made for one write: O_EXCL fails on anything already at the name, a
// link included, so nothing planted in the folder is ever written through. -1 with errno set.
int createFileBeside(const fs::path& target, std::string& madePath) {
    static thread_local std::minstd_rand random(std::random_device{}() ^ static_cast<unsigned>(::getpid()));
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    // Room for the suffix under the longest file name.
    const std::string name = "." + target.filename().string().substr(0, 200) + ".";
    for (int tries = 0; tries < 100; ++tries) {
        std::string suffix(8, ' ');
        for (char& c : suffix) c = kLetters[random() % (sizeof kLetters - 1)];
        madePath = (target.parent_path() / (name + suffix)).string();
        const int fd = ::open(madePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Every byte, or the system's error.
int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        // A write that takes nothing would never end; a full disk usually says so at once.
        if (n == 0) return ENOSPC;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// Makes, fills and closes a new file beside target; 0 and its path, or the system's error and
// nothing left behind.
int writeNewFile(const fs::path& target, std::initializer_list<std::string_view> pieces, std::string& madePath) {
    const int fd = createFileBeside(target, madePath);
    if (fd < 0) return errno;
    int error = 0;
    for (std::string_view piece : pieces)
        if ((error = writeAll(fd, piece)) != 0) break;
    // A close can report what a write did not (a full disk on a network file system).
    if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
    if (error != 0) ::unlink(madePath.c_str());
    return error;
}

// Puts the made file at path in one step: path names the old file or the new one, never neither.
// On ext4 a rename over a file starts writing the new one to the disk at once (a guard for files
// replaced without a sync), and removing it later then waits for that write. A work file needs no
// such guard, and an exchange of the two names is just as atomic without it; the old file then
// goes under the made name. Anything but a plain file at path, or a file system that cannot
// exchange names, takes the plain rename, which never follows a link.
int replaceWith(const std::string& made, const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::renameat2(AT_FDCWD, made.c_str(), AT_FDCWD, path.c_str(), RENAME_EXCHANGE) == 0) {
        ::unlink(made.c_str());
        return 0;
    }
    return std::rename(made.c_str(), path.c_str()) == 0 ? 0 : errno;
}

}  // namespace

std::string writeFailureText(const fs::path& path, int error) {
    return std::string(kWriteFailurePrefix) + path.filename().string() + ": " +
           std::generic_category().message(error);
}

WriteOutcome writeWorkFile(const std::string& path, std::initializer_list<std::string_view> pieces) {
    if (path.empty()) return {std::string(kWriteFailurePrefix) + "a work file: the name was refused"};
    std::string made;
    int error = writeNewFile(path, pieces, made);
    if (error == 0 && (error = replaceWith(made, path)) != 0) ::unlink(made.c_str());
    if (error != 0) return {writeFailureText(path, error)};
    return {};
}

WriteOutcome saveFile(const std::string& path, std::string_view text) {
    return writeWorkFile(path, {text, kSavedFileEnd});
}

bool fileExists(const std::string& path) {
    if (path.empty()) return false;
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string readWholeFile(const std::string& path) {
    std::string text;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return text;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        text.resize(static_cast<std::size_t>(st.st_size));
        std::size_t got = 0;
        while (got < text.size()) {
            const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        text.resize(got);
    }
    ::close(fd);
    return text;
}

bool deleteFile(const std::string& path) {
    if (path.empty()) return true;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !(S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))) return true;
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

std::string checkWritableFolder(const fs::path& folder) {
    std::string made;
    // One byte, so that a disk already full says so before any fetch.
    const int error = writeNewFile(folder / "selvane-check", {"\n"}, made);
    if (error != 0) return "cannot write to " + folder.string() + ": " + std::generic_category().message(error);
    ::unlink(made.c_str());
    return {};
}

std::optional<std::string> workFilePath(const fs::path& folder, std::string_view name) {
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    if (name.find_first_of(std::string_view("/\\\0:", 4)) != std::string_view::npos) return std::nullopt;
    if (name.find("..") != std::string_view::npos) return std::nullopt;
    // Separators and ".." are refused above, so the name cannot leave the folder.
    return (folder / fs::path(std::string(name))).string();
}

namespace {

bool isWritableFolder(const fs::path& folder) {
    std::error_code ec;
    return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

fs::path perUserFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return fs::path(xdg) / "selvane";
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".local/share/selvane";
    return fs::temp_directory_path() / "selvane";
}

// <prefix>/share/selvane when the executable sits in an installed <prefix>/bin; empty otherwise.
fs::path installedShareFolder(const fs::path& executableFolder) {
    if (executableFolder.filename() != "bin") return {};
    const fs::path share = executableFolder.parent_path() / "share" / "selvane";
    std::error_code ec;
    return fs::is_directory(share, ec) ? share : fs::path();
}

}  // namespace

fs::path chooseProgramFolder(const fs::path& executableFolder) {
    // An installed program never writes beside itself, not even when run as root.
    const fs::path installed = installedShareFolder(executableFolder);
    if (installed.empty() && isWritableFolder(executableFolder)) return executableFolder;
    const fs::path supplied = installed.empty() ? executableFolder : installed;
    const fs::path folder = perUserFolder();
    std::error_code ec;
    fs::create_directories(folder, ec);
    for (const char* name : kSuppliedFiles) {
        // The copy is a work file like any other: a link planted under its name is replaced,
        // never written through. A copy that fails leaves the earlier one.
        std::ifstream in(supplied / name, std::ios::binary);
        if (!in) continue;
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!in.bad()) (void)writeWorkFile((folder / name).string(), {bytes});
    }
    return folder;
}

}  // namespace selvane
