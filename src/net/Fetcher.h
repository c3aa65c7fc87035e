#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace selvane {

class EventPump;

// Every fetch has limits; past them it counts as failed. One place for the defaults.
struct FetchLimits {
    std::chrono::milliseconds connect{10'000};
    std::chrono::milliseconds total{30'000};
    std::size_t maxBytes = 16u * 1024u * 1024u;
};

struct FetchResult {
    bool ok = false;
    long status = 0;          // HTTP status, 0 when none came
    std::string body;         // bytes as sent
    std::string contentType;  // the Content-Type header, if any
    std::string error;        // one line when !ok
};

// Blocking fetch; an HTTP status of 400 or more is a failure.
FetchResult fetchUrl(const std::string& url, const FetchLimits& limits = {});

// Runs the fetch off this thread and lets window events run (through pump) while it waits.
FetchResult fetchPumped(const std::string& url, const FetchLimits& limits, EventPump* pump);

// The charset a Content-Type header names ("text/html; charset=ISO-8859-1" gives "ISO-8859-1").
std::string charsetOf(const std::string& contentType);

}  // namespace selvane
