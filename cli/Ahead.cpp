#include "Ahead.h"

#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "Cli.h"
#include "net/Fetcher.h"

namespace selvane::cli {
namespace {

class Ahead {
public:
    Ahead() : thread_([this] { run(); }) {}
    // A normal exit lets the work handed over end first; it may be loading a library.
    ~Ahead() { stop(); }

    void stop() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        ready_.notify_one();
        if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
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

Ahead& ahead() {
    static Ahead one;
    return one;
}

}  // namespace

void runAhead(std::function<void()> work) { ahead().add(std::move(work)); }

void loadFetcherAhead() {
    runAhead([] {
        loadFetcher();
        // The TLS library frees what it keeps for a thread as the thread ends, but only until its
        // own clean-up at exit has run; handlers run last first, so this one, made after the
        // library's, ends the thread before that clean-up.
        static const bool once = (std::atexit([] { ahead().stop(); }), true);
        (void)once;
    });
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
