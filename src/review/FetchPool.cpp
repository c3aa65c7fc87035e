#include "review/FetchPool.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <thread>
#include <vector>

namespace selvane {
namespace {

// The session of the pool worker running on this thread.
thread_local FetchSession* workerSession = nullptr;
thread_local bool workerCancelled = false;

}  // namespace

FetchPool::FetchPool(int workers, FetchLimits limits, std::stop_token stop)
    : workers_(std::clamp(workers, 1, 16)), limits_(limits), stop_(std::move(stop)) {
    for (int t = 0; t < workers_; ++t) sessions_.push_back(std::make_unique<FetchSession>());
}

FetchResult FetchPool::fetch(const std::string& url) {
    if (stop_.stop_requested()) {
        workerCancelled = true;
        FetchResult r;
        r.failure = FetchFailure::Other;
        r.cause = "(cancelled)";
        r.error = url + " " + r.cause;
        return r;
    }
    {
        std::lock_guard lock(deadMutex_);
        if (auto known = dead_.recall(url)) return *known;
    }
    FetchResult r = workerSession ? workerSession->fetch(url, limits_) : fetchUrl(url, limits_);
    std::lock_guard lock(deadMutex_);
    dead_.note(url, r);
    return r;
}

void FetchPool::run(std::size_t count, const std::function<void(std::size_t)>& task,
                    const std::function<void(std::size_t, bool)>& done, std::size_t ahead) {
    if (count == 0) return;
    ahead = std::max<std::size_t>(ahead, 1);
    std::mutex m;
    std::condition_variable changed;
    std::size_t next = 0, handedBack = 0;
    int running = 0;
    // 0: not ended, 1: ended whole, 2: cut short by a stop
    std::vector<char> ended(count, 0);
    const int workers = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(workers_), count));

    auto work = [&](FetchSession* session) {
        workerSession = session;
        std::unique_lock lock(m);
        for (;;) {
            changed.wait(lock, [&] { return next >= count || stop_.stop_requested() || next < handedBack + ahead; });
            if (next >= count || stop_.stop_requested()) break;
            const std::size_t i = next++;
            lock.unlock();
            workerCancelled = false;
            task(i);
            const bool whole = !workerCancelled;
            lock.lock();
            ended[i] = whole ? 1 : 2;
            changed.notify_all();
        }
        --running;
        changed.notify_all();
        workerSession = nullptr;
    };
    std::vector<std::thread> threads;
    running = workers;
    for (int t = 0; t < workers; ++t) threads.emplace_back(work, sessions_[static_cast<std::size_t>(t)].get());
    // A stop ends the waits below: the workers see it at their next task.
    std::stop_callback wake(stop_, [&] {
        std::lock_guard lock(m);
        changed.notify_all();
    });

    std::unique_lock lock(m);
    while (handedBack < count) {
        changed.wait(lock, [&] { return ended[handedBack] != 0 || (running == 0 && handedBack >= next); });
        if (ended[handedBack] == 0) break;  // stopped before this task started
        const std::size_t i = handedBack;
        const bool whole = ended[i] == 1;
        lock.unlock();
        done(i, whole);
        lock.lock();
        ++handedBack;
        changed.notify_all();
    }
    lock.unlock();
    for (std::thread& t : threads) t.join();
}

}  // namespace selvane
