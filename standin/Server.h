#pragma once

// The stand-in services on one loopback HTTP server:
//   form-guide service   /cgi-bin/tvf/access.pl[?yyyymmdd]
//                        /cgi-bin/tvf/memdeliver.pl/<code><race>.htm?tvf3
//                        /cgi-bin/tvf/memdispodds.pl/<code><race>?rto
//   tote results site    /tote/yyyy/mm/dd/mtgraces.html, /tote/yyyy/mm/dd/<CC><nn>.html
//   maker's site         /maker/ (home page), /maker/adsbase.html
// Anything else, a malformed date, an unknown code or race gets a 404 page. Bodies are never
// compressed and Nagle's delay is off. See standin/README.md for the generated day.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "standin/RaceDay.h"

namespace selvane::standin {

enum class Fault { None, Slow, Stall, Truncate, Oversize, NotFound, ServerError, NotUtf8 };

// "none", "slow", "stall", "truncate", "oversize", "404", "500", "not-utf8".
std::optional<Fault> parseFault(std::string_view name);
std::string faultName(Fault f);

struct Options {
    std::string host = "127.0.0.1";
    int port = 0;                    // 0 = any free port
    std::optional<std::string> now;  // "2026-12-06T14:00" fixed local clock; empty = system clock
    std::uint32_t seed = 1;
    std::filesystem::path root;      // serve saved pages from here instead of generated ones
    Fault fault = Fault::None;
    std::string faultPath;           // the fault hits only targets starting with this; empty = all
    int slowMs = 2000;
    std::size_t oversizeBytes = 17u * 1024u * 1024u;  // past the fetcher's default 16 MiB limit
    bool log = false;                // one line per request to stderr
};

// What the server answers for one request target (path and query), without the fault.
struct Reply {
    int status = 200;
    std::string body;
};

class Server {
public:
    explicit Server(Options options);
    ~Server();  // stops
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Listens on a background thread and returns the bound port; throws std::runtime_error on failure.
    int start();
    // Returns promptly, also while requests are stalled or slowed (they are answered 503).
    void stop();

    int port() const;
    std::string formGuideUrl() const;     // "http://127.0.0.1:PORT"
    std::string resultsSiteRoot() const;  // "http://127.0.0.1:PORT/tote/"
    std::string makerSiteUrl() const;     // "http://127.0.0.1:PORT/maker/"

    // Thread-safe; the fault hits targets starting with onlyPathPrefix (all when empty).
    void setFault(Fault f, std::string onlyPathPrefix = {});
    // Moves the fixed clock ("2026-12-06T14:00"); throws std::invalid_argument on a malformed time.
    void setNow(std::string localIso);
    LocalTime now() const;

    // Test hook: serve exactly these bytes (and status) for this path+query, overriding generation.
    void setOverride(const std::string& pathAndQuery, std::string body, int status = 200);
    void clearOverrides();

    // The answer for a target such as "/cgi-bin/tvf/access.pl?20261206", as served without a fault.
    Reply reply(const std::string& pathAndQuery) const;
    // Every target of one day's pages: meeting page, race and price pages, the results pages
    // that exist at the clock, the maker's pages.
    std::vector<std::string> dayTargets(const Date& date) const;
    // Writes the answers to those targets under folder in the layout that Options::root reads
    // ("cgi-bin/tvf/access.pl?20261206", "tote/2026/12/06/mtgraces.html"); returns the file count.
    std::size_t dumpDay(const Date& date, const std::filesystem::path& folder) const;
    std::size_t requestCount() const;
    // Every request target (path and query as sent), in the order they came.
    std::vector<std::string> requestLog() const;
    // The connections the requests came on (kept-alive ones carry several).
    std::size_t connectionCount() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace selvane::standin
