#include "net/Fetcher.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <future>
#include <mutex>

#include "kit/Ports.h"

namespace selvane {
namespace {

struct Sink {
    std::string* body;
    std::size_t maxBytes;
    bool oversized = false;
};

std::size_t onData(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const std::size_t n = size * count;
    if (sink->body->size() + n > sink->maxBytes) {
        sink->oversized = true;
        return 0;  // aborts the transfer
    }
    sink->body->append(data, n);
    return n;
}

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

FetchResult fetchUrl(const std::string& url, const FetchLimits& limits) {
    initCurlOnce();
    FetchResult result;
    CURL* curl = curl_easy_init();
    if (!curl) {
        result.error = "cannot start a transfer";
        return result;
    }
    Sink sink{&result.body, limits.maxBytes};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect.count()));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.total.count()));
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onData);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "selvane/0.1");

    const CURLcode rc = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
    char* type = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type) result.contentType = type;
    curl_easy_cleanup(curl);

    if (sink.oversized) {
        result.error = url + ": page larger than " + std::to_string(limits.maxBytes) + " bytes";
    } else if (rc != CURLE_OK) {
        result.error = url + ": " + curl_easy_strerror(rc);
    } else if (result.status >= 400) {
        result.error = url + ": HTTP " + std::to_string(result.status);
    } else {
        result.ok = true;
        return result;
    }
    result.body.clear();
    return result;
}

FetchResult fetchPumped(const std::string& url, const FetchLimits& limits, EventPump* pump) {
    if (!pump) return fetchUrl(url, limits);
    auto pending = std::async(std::launch::async, [url, limits] { return fetchUrl(url, limits); });
    // The transfer ends by its own time limit; this loop only keeps the window painted.
    while (pending.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) pump->pumpEvents();
    return pending.get();
}

std::string charsetOf(const std::string& contentType) {
    std::string lower = contentType;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    const auto at = lower.find("charset=");
    if (at == std::string::npos) return {};
    std::size_t begin = at + 8;
    while (begin < contentType.size() && (contentType[begin] == '"' || contentType[begin] == '\'')) ++begin;
    std::size_t end = begin;
    while (end < contentType.size() && contentType[end] != ';' && contentType[end] != '"' &&
           contentType[end] != '\'' && !std::isspace(static_cast<unsigned char>(contentType[end])))
        ++end;
    return contentType.substr(begin, end - begin);
}

}  // namespace selvane
