#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <optional>
#include <string>

namespace selvane {

class EventPump;

// Every fetch has limits; past them it counts as failed. One place for the defaults.
struct FetchLimits {
    std::chrono::milliseconds connect{10'000};
    std::chrono::milliseconds total{30'000};  // 0: no limit on the whole transfer
    // A transfer that delivers no byte for this long has stalled (0: no such limit).
    std::chrono::seconds stall{10};
    std::size_t maxBytes = 16u * 1024u * 1024u;
};

enum class FetchFailure { None, HttpStatus, TimedOut, NoConnection, HostNotFound, TooLarge, CutShort, BadAddress, Other };

struct FetchResult {
    bool ok = false;
    long status = 0;          // HTTP status, 0 when none came
    std::string body;         // bytes as sent
    std::string contentType;  // the Content-Type header, if any
    FetchFailure failure = FetchFailure::None;
    std::string cause;        // said after the address when !ok: "(HTTP 404)", "(timed out)", ...
    std::string error;        // the address and its cause when !ok: "http://host/page (timed out)"
};

// Services (scheme, host and port) that failed a fetch by its time limit or could not be reached.
// A command makes one at its start and passes it to each of its fetches: a later fetch from a
// dead service fails at once with the same cause, so a stalled service costs one limit a command.
class DeadServices {
public:
    // The failure a fetch of url ends in at once, when its service is dead.
    std::optional<FetchResult> recall(const std::string& url) const;
    // Remembers url's service when result failed by a time limit or a connection that never came.
    void note(const std::string& url, const FetchResult& result);
    bool empty() const { return dead_.empty(); }

private:
    std::map<std::string, FetchResult> dead_;  // by service, the failure without body or address
};

// Loads libcurl and the libraries it brings, as the first fetch would: for a front end that knows
// as it starts that it will fetch, to run on another thread meanwhile (the first fetch then waits
// only for what is left of the loading).
void loadFetcher();

// Blocking fetch; an HTTP status of 400 or more is a failure, and so is an address whose path
// holds a "." or ".." step ("(bad address)", nothing sent).
FetchResult fetchUrl(const std::string& url, const FetchLimits& limits = {}, DeadServices* dead = nullptr);

// Runs the fetch off this thread and lets window events run (through pump) while it waits.
FetchResult fetchPumped(const std::string& url, const FetchLimits& limits, EventPump* pump,
                        DeadServices* dead = nullptr);

// Fetches one after another on one thread over kept-alive connections: one transfer handle serves
// every fetch, so a service's connection stays open from one page to the next. Same limits and
// outcomes as fetchUrl; the caller keeps the memory of dead services.
class FetchSession {
public:
    FetchSession() = default;
    ~FetchSession();
    FetchSession(const FetchSession&) = delete;
    FetchSession& operator=(const FetchSession&) = delete;
    FetchResult fetch(const std::string& url, const FetchLimits& limits);

private:
    void* handle_ = nullptr;
};

// The charset a Content-Type header names ("text/html; charset=ISO-8859-1" gives "ISO-8859-1").
std::string charsetOf(const std::string& contentType);

}  // namespace selvane
