#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <stop_token>
#include <memory>
#include <string>
#include <vector>

#include "net/Fetcher.h"

namespace selvane {

// Pages fetched many at a time, politely: a fixed number of workers, each with its own kept-alive
// connections (so at most that many to any one service), one memory of dead services for all of
// them, and the same limits as every fetch. Tasks run in any order on the workers; their ends are
// handed back in task order, so what is built from them never depends on the order pages arrive.
class FetchPool {
public:
    FetchPool(int workers, FetchLimits limits, std::stop_token stop = {});

    // A page for the running task; after a stop it fails at once ("(cancelled)") without a request.
    FetchResult fetch(const std::string& url);

    // Runs task(i) for i in 0..count-1 on the workers and done(i, whole) on this thread in index
    // order as they end; whole is false when a stop cut the task short. Tasks run at most `ahead`
    // beyond the last one done, so what they hold waits in bounded memory. After a stop no task
    // starts, and done is called only for those that did.
    void run(std::size_t count, const std::function<void(std::size_t)>& task,
             const std::function<void(std::size_t, bool)>& done, std::size_t ahead = 64);

    bool stopped() const { return stop_.stop_requested(); }

private:
    int workers_;
    std::vector<std::unique_ptr<FetchSession>> sessions_;  // worker t's, kept from one run to the next
    FetchLimits limits_;
    std::stop_token stop_;
    std::mutex deadMutex_;
    DeadServices dead_;
};

}  // namespace selvane
