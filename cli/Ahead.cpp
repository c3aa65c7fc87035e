#include "Ahead.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "Cli.h"

namespace selvane::cli {
namespace {

class Ahead {
public:
    Ahead() : thread_([this] { run(); }) {}
    // A normal exit lets the work handed over end first; it may be loading a library.
    ~Ahead() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        ready_.notify_one();
        thread_.join();
    }

    void add(std::function<void()> work) {
        {
            std::lock_guard lock(mutex_);
            work_.push_back(std::move(work));
        }
        ready_.notify_one();
    }

private:
    void run() {
        for (;;) {
            std::function<void()> next;
            {
                std::unique_lock lock(mutex_);
                ready_.wait(lock, [this] { return stopping_ || !work_.empty(); });
                if (work_.empty()) return;
                next = std::move(work_.front());
                work_.pop_front();
            }
            next();
        }
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> work_;
    bool stopping_ = false;
    std::thread thread_;  // last: it starts once the rest is made
};

}  // namespace

void runAhead(std::function<void()> work) {
    static Ahead ahead;
    ahead.add(std::move(work));
}

bool willFetch(int argc, char** argv) {
    const std::vector<std::string_view> words(argv + std::min(argc, 1), argv + argc);
    for (std::string_view w : words)
        if (w == "--offline" || w == "--help" || w == "-h" || w == "--version" || w == "help") return false;
    for (std::string_view w : words)
        for (const Command& c : commands())
            if (c.fetches && c.name == w) return true;
    return false;
}

}  // namespace selvane::cli
