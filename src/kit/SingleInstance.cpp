#include "kit/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <thread>

namespace selvane {

namespace {

std::string lockFailure(const std::filesystem::path& lockFile, const std::string& reason) {
    return "cannot lock " + lockFile.string() + ": " + reason;
}

}  // namespace

InstanceLock InstanceLock::acquire(const std::filesystem::path& lockFile) {
    // A link could make the lock any file at all, or one that another folder's instance holds.
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        const int error = errno;
        struct stat st {};
        const bool link = error == ELOOP && ::lstat(lockFile.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
        return {End::Failed, -1,
                lockFailure(lockFile, link ? "it is a symbolic link" : std::generic_category().message(error))};
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return {End::Failed, -1, lockFailure(lockFile, "it is not a regular file")};
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) return {End::Taken, fd};
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return {End::HeldElsewhere, -1};
    return {End::Failed, -1, lockFailure(lockFile, std::generic_category().message(error))};
}

InstanceLock InstanceLock::acquireBy(const std::filesystem::path& lockFile,
                                     std::chrono::steady_clock::time_point deadline) {
    while (true) {
        InstanceLock lock = acquire(lockFile);
        if (lock.end() != End::HeldElsewhere || std::chrono::steady_clock::now() >= deadline) return lock;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            std::chrono::milliseconds(20), deadline - std::chrono::steady_clock::now()));
    }
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept
    : end_(other.end_), fd_(other.fd_), failure_(std::move(other.failure_)) {
    other.fd_ = -1;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

std::filesystem::path instanceLockFile(const std::filesystem::path& programFolder) {
    return programFolder / "selvane.lock";
}

}  // namespace selvane
