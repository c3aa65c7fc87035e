#pragma once

#include <filesystem>
#include <optional>

namespace selvane {

// One running instance per work folder: the first start holds an exclusive lock on a file in
// the folder for as long as it runs, whatever the environment of a later start; the system
// drops the lock when the process ends, however it ends.
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

// The lock file inside the program folder.
std::filesystem::path instanceLockFile(const std::filesystem::path& programFolder);

}  // namespace selvane
