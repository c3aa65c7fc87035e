#include "net/Fetcher.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <future>
#include <memory>
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

std::string sizeText(std::size_t bytes) {
    constexpr std::size_t kMiB = 1024u * 1024u;
    if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MB";
    return std::to_string(bytes) + " bytes";
}

struct Cause {
    FetchFailure failure;
    std::string text;
};

Cause causeOf(CURLcode rc, bool oversized, long status, std::size_t maxBytes) {
    if (oversized || rc == CURLE_FILESIZE_EXCEEDED) return {FetchFailure::TooLarge, "(page over " + sizeText(maxBytes) + ")"};
    switch (rc) {
        case CURLE_OK: return {FetchFailure::HttpStatus, "(HTTP " + std::to_string(status) + ")"};
        case CURLE_OPERATION_TIMEDOUT: return {FetchFailure::TimedOut, "(timed out)"};
        case CURLE_COULDNT_CONNECT: return {FetchFailure::NoConnection, "(no connection)"};
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY: return {FetchFailure::HostNotFound, "(host not found)"};
        case CURLE_PARTIAL_FILE:
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_HTTP2:
        case CURLE_HTTP2_STREAM: return {FetchFailure::CutShort, "(transfer cut short)"};
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL: return {FetchFailure::BadAddress, "(bad address)"};
        case CURLE_TOO_MANY_REDIRECTS: return {FetchFailure::Other, "(too many redirects)"};
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_BAD_CONTENT_ENCODING: return {FetchFailure::Other, "(unreadable reply)"};
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_CACERT_BADFILE: return {FetchFailure::Other, "(secure connection failed)"};
        default: return {FetchFailure::Other, "(transfer failed)"};
    }
}

FetchResult failed(const std::string& url, FetchFailure failure, std::string cause, long status = 0) {
    FetchResult r;
    r.status = status;
    r.failure = failure;
    r.cause = std::move(cause);
    r.error = url + " " + r.cause;
    return r;
}

// "http://127.0.0.1:18765" for any address on that service; empty when url cannot be read.
std::string serviceOf(const std::string& url) {
    initCurlOnce();
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> u(curl_url(), curl_url_cleanup);
    if (!u || curl_url_set(u.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return {};
    std::string key;
    for (const auto part : {CURLUPART_SCHEME, CURLUPART_HOST, CURLUPART_PORT}) {
        char* text = nullptr;
        if (curl_url_get(u.get(), part, &text, CURLU_DEFAULT_PORT) != CURLUE_OK) return {};
        key += part == CURLUPART_SCHEME ? "" : part == CURLUPART_HOST ? "://" : ":";
        key += text;
        curl_free(text);
    }
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
    return key;
}

// A "." or ".." step in the path: the transfer would squash it and leave the path it was built in.
bool hasDotStep(const std::string& url) {
    const std::size_t scheme = url.find("://");
    std::size_t at = url.find('/', scheme == std::string::npos ? 0 : scheme + 3);
    const std::size_t end = std::min(url.find_first_of("?#"), url.size());
    while (at < end) {
        const std::size_t next = std::min(url.find('/', at + 1), end);
        const std::string_view step = std::string_view(url).substr(at + 1, next - at - 1);
        if (step == "." || step == "..") return true;
        at = next;
    }
    return false;
}

}  // namespace

std::optional<FetchResult> DeadServices::recall(const std::string& url) const {
    const auto it = dead_.find(serviceOf(url));
    if (it == dead_.end()) return std::nullopt;
    return failed(url, it->second.failure, it->second.cause);
}

void DeadServices::note(const std::string& url, const FetchResult& result) {
    const FetchFailure f = result.failure;
    if (f != FetchFailure::TimedOut && f != FetchFailure::NoConnection && f != FetchFailure::HostNotFound) return;
    const std::string service = serviceOf(url);
    if (!service.empty()) dead_.emplace(service, failed(url, f, result.cause));
}

FetchResult fetchUrl(const std::string& url, const FetchLimits& limits, DeadServices* dead) {
    if (dead) {
        if (auto known = dead->recall(url)) return *known;
    }
    if (hasDotStep(url)) return failed(url, FetchFailure::BadAddress, "(bad address)");
    initCurlOnce();
    FetchResult result;
    CURL* curl = curl_easy_init();
    if (!curl) return failed(url, FetchFailure::Other, "(transfer failed)");
    Sink sink{&result.body, limits.maxBytes};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect.count()));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.total.count()));
    if (limits.stall.count() > 0) {
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.stall.count()));
    }
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
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

    if (rc == CURLE_OK && !sink.oversized && result.status < 400) {
        result.ok = true;
        return result;
    }
    Cause cause = causeOf(rc, sink.oversized, result.status, limits.maxBytes);
    FetchResult failure = failed(url, cause.failure, std::move(cause.text), result.status);
    failure.contentType = std::move(result.contentType);
    if (dead) dead->note(url, failure);
    return failure;
}

FetchResult fetchPumped(const std::string& url, const FetchLimits& limits, EventPump* pump, DeadServices* dead) {
    if (!pump) return fetchUrl(url, limits, dead);
    if (dead) {
        if (auto known = dead->recall(url)) return *known;
    }
    // The memory of dead services stays on this thread; the transfer alone runs off it.
    auto pending = std::async(std::launch::async, [url, limits] { return fetchUrl(url, limits); });
    // The transfer ends by its own time limit; this loop only keeps the window painted.
    while (pending.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) pump->pumpEvents();
    FetchResult result = pending.get();
    if (dead) dead->note(url, result);
    return result;
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
