#include "kit/InstanceBell.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace selvane {

namespace fs = std::filesystem;

namespace {

constexpr size_t kMostWords = 255;

// A socket file's address. A path too long for it is reached through the open folder, as
// /proc/self/fd/N/name.
class SocketAddress {
public:
    explicit SocketAddress(const fs::path& file) {
        address_.sun_family = AF_UNIX;
        std::string path = file.string();
        if (path.size() >= sizeof address_.sun_path) {
            const fs::path parent = file.has_parent_path() ? file.parent_path() : fs::path(".");
            folder_ = ::open(parent.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (folder_ < 0) return;
            path = "/proc/self/fd/" + std::to_string(folder_) + "/" + file.filename().string();
            if (path.size() >= sizeof address_.sun_path) return;
        }
        std::memcpy(address_.sun_path, path.c_str(), path.size() + 1);
        valid_ = true;
    }
    ~SocketAddress() {
        if (folder_ >= 0) ::close(folder_);
    }
    SocketAddress(const SocketAddress&) = delete;
    SocketAddress& operator=(const SocketAddress&) = delete;

    bool valid() const { return valid_; }
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&address_); }
    socklen_t size() const { return sizeof address_; }

private:
    sockaddr_un address_{};
    int folder_ = -1;
    bool valid_ = false;
};

// The words of one ring, up to the ringer's end of the connection.
std::string readWords(int connection) {
    // A ringer writes at once; one that never does holds the window up this long at most.
    const timeval wait{0, 200'000};
    ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    std::string words;
    char buffer[kMostWords];
    while (words.size() < kMostWords) {
        const ssize_t n = ::read(connection, buffer, kMostWords - words.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        words.append(buffer, static_cast<size_t>(n));
    }
    return words;
}

}  // namespace

std::optional<InstanceBell> InstanceBell::open(const fs::path& socketFile) {
    struct stat st {};
    if (::lstat(socketFile.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) ::unlink(socketFile.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return std::nullopt;
    const SocketAddress address(socketFile);
    if (!address.valid() || ::bind(fd, address.get(), address.size()) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return InstanceBell(fd, socketFile);
}

InstanceBell::InstanceBell(InstanceBell&& other) noexcept : fd_(other.fd_), file_(std::move(other.file_)) {
    other.fd_ = -1;
}

InstanceBell::~InstanceBell() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlink(file_.c_str());
}

std::vector<std::string> InstanceBell::answer() {
    std::vector<std::string> rings;
    for (;;) {
        const int connection = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            break;  // EAGAIN: nobody else rang
        }
        rings.push_back(readWords(connection));
        ::close(connection);
    }
    return rings;
}

bool ringInstanceBell(const fs::path& socketFile, const std::string& words) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const SocketAddress address(socketFile);
    bool rung = address.valid() && ::connect(fd, address.get(), address.size()) == 0;
    if (rung && !words.empty()) {
        const size_t n = std::min(words.size(), kMostWords);
        rung = ::send(fd, words.data(), n, MSG_NOSIGNAL) == static_cast<ssize_t>(n);
    }
    ::close(fd);
    return rung;
}

fs::path instanceBellFile(const fs::path& programFolder) {
    return programFolder / "selvane.bell";
}

}  // namespace selvane
