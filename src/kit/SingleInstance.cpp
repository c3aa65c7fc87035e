#include "kit/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace selvane {

std::optional<InstanceLock> InstanceLock::acquire(const std::filesystem::path& lockFile) {
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return InstanceLock(-1);
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) return InstanceLock(fd);
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    if (held) return std::nullopt;
    return InstanceLock(-1);
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

std::filesystem::path instanceLockFile(const std::filesystem::path& programFolder) {
    return programFolder / "selvane.lock";
}

}  // namespace selvane
