#include "net/Fetcher.h"

#include <curl/curl.h>
#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <future>
#include <memory>

#include "kit/LoadedLibrary.h"
#include "kit/Ports.h"
#include "net/PageText.h"

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

// libcurl and what it brings (TLS, Kerberos, LDAP, ...) load with the first fetch, not with the
// program: the desktop program shows its first window before it fetches anything.
struct Curl {
    decltype(&curl_easy_init) easyInit;
    decltype(&curl_easy_setopt) easySetopt;
    decltype(&curl_easy_perform) easyPerform;
    decltype(&curl_easy_getinfo) easyGetinfo;
    decltype(&curl_easy_cleanup) easyCleanup;
    decltype(&curl_free) free;
    decltype(&curl_url) url;
    decltype(&curl_url_cleanup) urlCleanup;
    decltype(&curl_url_get) urlGet;
    decltype(&curl_url_set) urlSet;
};

std::optional<Curl> loadCurl() {
    void* library = ::dlopen("libcurl.so.4", RTLD_LAZY | RTLD_LOCAL);
    if (!library) return std::nullopt;
    Curl c{};
    decltype(&curl_global_init) globalInit = nullptr;
    const bool all = resolve(library, globalInit, "curl_global_init") &&
                     resolve(library, c.easyInit, "curl_easy_init") &&
                     resolve(library, c.easySetopt, "curl_easy_setopt") &&
                     resolve(library, c.easyPerform, "curl_easy_perform") &&
                     resolve(library, c.easyGetinfo, "curl_easy_getinfo") &&
                     resolve(library, c.easyCleanup, "curl_easy_cleanup") && resolve(library, c.free, "curl_free") &&
                     resolve(library, c.url, "curl_url") && resolve(library, c.urlCleanup, "curl_url_cleanup") &&
                     resolve(library, c.urlGet, "curl_url_get") && resolve(library, c.urlSet, "curl_url_set");
    if (!all || globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) return std::nullopt;
    return c;
}

// Null when libcurl cannot be loaded; every fetch then fails as a transfer that could not start.
const Curl* libcurl() {
    static const std::optional<Curl> loaded = loadCurl();
    return loaded ? &*loaded : nullptr;
}

}  // namespace

void loadFetcher() { libcurl(); }

namespace {

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
    const Curl* c = libcurl();
    if (!c) return {};
    std::unique_ptr<CURLU, void (*)(CURLU*)> u(c->url(), c->urlCleanup);
    if (!u || c->urlSet(u.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return {};
    std::string key;
    for (const auto part : {CURLUPART_SCHEME, CURLUPART_HOST, CURLUPART_PORT}) {
        char* text = nullptr;
        if (c->urlGet(u.get(), part, &text, CURLU_DEFAULT_PORT) != CURLUE_OK) return {};
        key += part == CURLUPART_SCHEME ? "" : part == CURLUPART_HOST ? "://" : ":";
        key += text;
        c->free(text);
    }
    return text::lower(key);
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

// One transfer, without the memory of dead services. A kept handle (FetchSession's) is left open
// with its connections for the next transfer; without one the handle lives for this transfer.
FetchResult transfer(const std::string& url, const FetchLimits& limits, void** kept = nullptr) {
    if (hasDotStep(url)) return failed(url, FetchFailure::BadAddress, "(bad address)");
    const Curl* c = libcurl();
    if (!c) return failed(url, FetchFailure::Other, "(libcurl not loaded)");
    FetchResult result;
    CURL* curl = kept && *kept ? static_cast<CURL*>(*kept) : c->easyInit();
    if (!curl) return failed(url, FetchFailure::Other, "(transfer failed)");
    if (kept) *kept = curl;
    Sink sink{&result.body, limits.maxBytes};
    c->easySetopt(curl, CURLOPT_URL, url.c_str());
    c->easySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    c->easySetopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect.count()));
    c->easySetopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.total.count()));
    // Set every time, also to nothing: a kept handle keeps the last transfer's options.
    c->easySetopt(curl, CURLOPT_LOW_SPEED_LIMIT, limits.stall.count() > 0 ? 1L : 0L);
    c->easySetopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(std::max<long long>(limits.stall.count(), 0)));
    c->easySetopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    c->easySetopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    c->easySetopt(curl, CURLOPT_MAXREDIRS, 5L);
    c->easySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    c->easySetopt(curl, CURLOPT_WRITEFUNCTION, onData);
    c->easySetopt(curl, CURLOPT_WRITEDATA, &sink);
    c->easySetopt(curl, CURLOPT_USERAGENT, "selvane/0.1");

    const CURLcode rc = c->easyPerform(curl);
    c->easyGetinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
    char* type = nullptr;
    if (c->easyGetinfo(curl, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type) result.contentType = type;
    if (!kept) c->easyCleanup(curl);

    if (rc == CURLE_OK && !sink.oversized && result.status < 400) {
        result.ok = true;
        return result;
    }
    Cause cause = causeOf(rc, sink.oversized, result.status, limits.maxBytes);
    FetchResult failure = failed(url, cause.failure, std::move(cause.text), result.status);
    failure.contentType = std::move(result.contentType);
    return failure;
}

}  // namespace

std::optional<FetchResult> DeadServices::recall(const std::string& url) const {
    // Most commands meet no dead service: no address parse for them.
    if (dead_.empty()) return std::nullopt;
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
    return fetchPumped(url, limits, nullptr, dead);
}

FetchResult fetchPumped(const std::string& url, const FetchLimits& limits, EventPump* pump, DeadServices* dead) {
    if (dead) {
        if (auto known = dead->recall(url)) return *known;
    }
    FetchResult result;
    if (pump) {
        // The memory of dead services stays on this thread; the transfer alone runs off it.
        auto pending = std::async(std::launch::async, [url, limits] { return transfer(url, limits); });
        // The transfer ends by its own time limit; this loop only keeps the window painted.
        while (pending.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) pump->pumpEvents();
        result = pending.get();
    } else {
        // One after another on this thread: the connection to a service stays open from one page
        // to the next, as a browser's would.
        thread_local FetchSession session;
        result = session.fetch(url, limits);
    }
    if (dead) dead->note(url, result);
    return result;
}

FetchSession::~FetchSession() {
    if (handle_) libcurl()->easyCleanup(static_cast<CURL*>(handle_));
}

FetchResult FetchSession::fetch(const std::string& url, const FetchLimits& limits) {
    return transfer(url, limits, &handle_);
}

std::string charsetOf(const std::string& contentType) {
    const std::size_t at = text::findNoCase(contentType, "charset=");
    if (at == std::string_view::npos) return {};
    std::size_t begin = at + 8;
    while (begin < contentType.size() && (contentType[begin] == '"' || contentType[begin] == '\'')) ++begin;
    std::size_t end = begin;
    while (end < contentType.size() && contentType[end] != ';' && contentType[end] != '"' &&
           contentType[end] != '\'' && !std::isspace(static_cast<unsigned char>(contentType[end])))
        ++end;
    return contentType.substr(begin, end - begin);
}

}  // namespace selvane
