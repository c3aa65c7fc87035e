#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace selvane {

// One running instance per work folder: the first start holds an exclusive lock on a file in
// the folder for as long as it runs, whatever the environment of a later start; the system
// drops the lock when the process ends, however it ends. The CLI takes the same lock on a work
// folder it is given.
class InstanceLock {
public:
    enum class End {
        Taken,          // this process holds the lock
        HeldElsewhere,  // another process holds it
        Failed,         // the lock file is a link, not a file, or cannot be opened or locked
    };

    // One try.
    static InstanceLock acquire(const std::filesystem::path& lockFile);
    // Tries again every little while while another process holds the lock, until deadline.
    static InstanceLock acquireBy(const std::filesystem::path& lockFile, std::chrono::steady_clock::time_point deadline);

    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&&) = delete;
    InstanceLock(const InstanceLock&) = delete;
    ~InstanceLock();

    End end() const { return end_; }
    explicit operator bool() const { return end_ == End::Taken; }
    // Failed: "cannot lock PATH: <reason>".
    const std::string& failure() const { return failure_; }

private:
    InstanceLock(End end, int fd, std::string failure = {}) : end_(end), fd_(fd), failure_(std::move(failure)) {}
    End end_;
    int fd_ = -1;
    std::string failure_;
};

// The lock file inside the program folder.
std::filesystem::path instanceLockFile(const std::filesystem::path& programFolder);

}  // namespace selvane
