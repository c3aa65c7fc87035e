#pragma once

#include <filesystem>
#include <optional>

namespace selvane {

// One running instance per user: the first start holds an exclusive lock on a file in the
// user's runtime folder for as long as it runs; the system drops the lock when the process
// ends, however it ends.
class InstanceLock {
public:
    // Empty when another process holds the lock (or the lock file cannot be opened at all,
    // in which case the program runs rather than refusing to start).
    static std::optional<InstanceLock> acquire(const std::filesystem::path& lockFile);
    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&&) = delete;
    InstanceLock(const InstanceLock&) = delete;
    ~InstanceLock();

private:
    explicit InstanceLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// $XDG_RUNTIME_DIR/selvane.lock, else selvane-<uid>.lock in the temporary folder.
std::filesystem::path defaultInstanceLockFile();

}  // namespace selvane
