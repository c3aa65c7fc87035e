#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace selvane {

// The running instance's bell: a Unix socket beside the instance lock. A second start rings it
// and ends; the first answers by raising its window. Only the lock holder opens it, so a socket
// file found there is a stale one from a killed run.
class InstanceBell {
public:
    // Empty when the socket cannot be made; the program then runs without a bell.
    static std::optional<InstanceBell> open(const std::filesystem::path& socketFile);
    InstanceBell(InstanceBell&& other) noexcept;
    InstanceBell& operator=(InstanceBell&&) = delete;
    InstanceBell(const InstanceBell&) = delete;
    // Closes the socket and removes its file.
    ~InstanceBell();

    // Readable (poll, a socket notifier) when a second start has rung.
    int fd() const { return fd_; }
    // Takes every pending ring, each with the words it brought (the desktop's activation token,
    // or empty); none when nobody rang.
    std::vector<std::string> answer();

private:
    InstanceBell(int fd, std::filesystem::path file) : fd_(fd), file_(std::move(file)) {}
    int fd_ = -1;
    std::filesystem::path file_;
};

// Rings the bell at socketFile with words of at most 255 bytes; false when nobody listens.
bool ringInstanceBell(const std::filesystem::path& socketFile, const std::string& words);

// The bell's socket file inside the program folder.
std::filesystem::path instanceBellFile(const std::filesystem::path& programFolder);

}  // namespace selvane
