#include "standin/Server.h"

#include <httplib.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

#include "standin/Pages.h"

namespace selvane::standin {
namespace {

constexpr std::string_view kAccess = "/cgi-bin/tvf/access.pl";
constexpr std::string_view kDeliver = "/cgi-bin/tvf/memdeliver.pl/";
constexpr std::string_view kOdds = "/cgi-bin/tvf/memdispodds.pl/";
constexpr std::string_view kTote = "/tote/";
constexpr std::string_view kMaker = "/maker/";
constexpr std::size_t kCachedDays = 16;

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }
bool endsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

Reply notFound(const std::string& target) { return {404, notFoundPage(target)}; }

// "2026/12/06/" at the start of rest: the date and what follows it.
std::optional<std::pair<Date, std::string_view>> splitDatePath(std::string_view rest) {
    if (rest.size() < 11 || rest[4] != '/' || rest[7] != '/' || rest[10] != '/') return std::nullopt;
    std::string compact;
    compact.append(rest.substr(0, 4)).append(rest.substr(5, 2)).append(rest.substr(8, 2));
    const auto date = parseDate(compact);
    if (!date) return std::nullopt;
    return std::make_pair(*date, rest.substr(11));
}

}  // namespace

std::optional<Fault> parseFault(std::string_view name) {
    static const std::pair<std::string_view, Fault> kNames[] = {
        {"none", Fault::None},         {"slow", Fault::Slow},     {"stall", Fault::Stall},
        {"truncate", Fault::Truncate}, {"oversize", Fault::Oversize}, {"404", Fault::NotFound},
        {"500", Fault::ServerError},   {"not-utf8", Fault::NotUtf8},
    };
    for (const auto& [text, fault] : kNames)
        if (text == name) return fault;
    return std::nullopt;
}

std::string faultName(Fault f) {
    switch (f) {
        case Fault::None: return "none";
        case Fault::Slow: return "slow";
        case Fault::Stall: return "stall";
        case Fault::Truncate: return "truncate";
        case Fault::Oversize: return "oversize";
        case Fault::NotFound: return "404";
        case Fault::ServerError: return "500";
        case Fault::NotUtf8: return "not-utf8";
    }
    return "none";
}

struct Server::Impl {
    explicit Impl(Options o) : options(std::move(o)) {
        fault = options.fault;
        faultPath = options.faultPath;
        if (options.now) {
            const auto t = parseLocalTime(*options.now);
            if (!t) throw std::invalid_argument("not a local time (2026-12-06T14:00): " + *options.now);
            fixedNow = *t;
        }
    }

    Options options;
    httplib::Server http;
    std::thread thread;
    int boundPort = 0;
    std::atomic<std::size_t> requests{0};

    mutable std::mutex mutex;  // guards everything below
    std::condition_variable wake;
    bool stopping = false;
    Fault fault = Fault::None;
    std::string faultPath;
    std::optional<LocalTime> fixedNow;
    std::map<std::string, Reply> overrides;
    std::vector<std::string> requestTargets;
    std::set<std::pair<std::string, int>> connections;  // by the client's address and port
    mutable std::map<std::pair<Date, bool>, std::shared_ptr<const RaceDay>> days;

    LocalTime now() const {
        std::lock_guard lock(mutex);
        return fixedNow ? *fixedNow : systemLocalTime();
    }

    std::shared_ptr<const RaceDay> day(const Date& date, bool latin1) const {
        std::lock_guard lock(mutex);
        auto& slot = days[{date, latin1}];
        if (!slot) {
            if (days.size() > kCachedDays) {
                days.clear();
                return std::make_shared<const RaceDay>(generateRaceDay(date, options.seed));
            }
            slot = std::make_shared<const RaceDay>(generateRaceDay(date, options.seed));
        }
        return slot;
    }

    std::string base() const {
        return "http://" + options.host + ":" + std::to_string(boundPort ? boundPort : options.port);
    }

    // Sleeps up to ms, or until stop(); true when stopped.
    bool pause(std::chrono::milliseconds ms) {
        std::unique_lock lock(mutex);
        return wake.wait_for(lock, ms, [&] { return stopping; });
    }
    void waitForStop() {
        std::unique_lock lock(mutex);
        wake.wait(lock, [&] { return stopping; });
    }

    Reply generate(const std::string& target, bool latin1) const;
    Reply fromRoot(const std::string& target) const;
    Reply answer(const std::string& target, bool latin1) const {
        {
            std::lock_guard lock(mutex);
            if (auto it = overrides.find(target); it != overrides.end()) return it->second;
        }
        if (!options.root.empty()) return fromRoot(target);
        return generate(target, latin1);
    }
    void handle(const httplib::Request& req, httplib::Response& res);
};

Reply Server::Impl::generate(const std::string& target, bool latin1) const {
    const auto q = target.find('?');
    const std::string_view path = std::string_view(target).substr(0, q);
    const std::string_view query = q == std::string::npos ? std::string_view() : std::string_view(target).substr(q + 1);
    const PageStyle style{latin1};
    const LocalTime clock = now();

    if (path == "/" || path == "/index.html")
        return {200, indexPage(base(), base() + std::string(kTote), base() + std::string(kMaker), clock)};

    if (path == kAccess) {
        Date date = clock.date;
        if (q != std::string::npos) {
            const auto asked = query.size() == 8 ? parseDate(query) : std::nullopt;
            if (!asked) return notFound(target);
            date = *asked;
        }
        return {200, meetingPage(*day(date, latin1), style)};
    }

    const bool deliver = startsWith(path, kDeliver);
    if (deliver || startsWith(path, kOdds)) {
        std::string_view name = path.substr(deliver ? kDeliver.size() : kOdds.size());
        if (deliver) {
            if (!endsWith(name, ".htm") || !(query.empty() || query == "tvf3")) return notFound(target);
            name.remove_suffix(4);
        } else if (!(query.empty() || query == "rto")) {
            return notFound(target);
        }
        const auto split = splitCodeAndRace(name);
        const auto date = split ? dateOfFormCode(split->first) : std::nullopt;
        if (!date) return notFound(target);
        const auto raceDay = day(*date, latin1);
        const Meeting* m = raceDay->findByFormCode(split->first);
        if (!m || split->second > static_cast<int>(m->races.size())) return notFound(target);
        const Race& race = m->races[static_cast<std::size_t>(split->second - 1)];
        return {200, deliver ? racePage(*raceDay, *m, race, style) : pricePage(*raceDay, *m, race, clock, style)};
    }

    if (startsWith(path, kTote) && q == std::string::npos) {
        const auto dated = splitDatePath(path.substr(kTote.size()));
        if (!dated) return notFound(target);
        const auto raceDay = day(dated->first, latin1);
        const std::string_view file = dated->second;
        if (file == "mtgraces.html") return {200, resultsMeetingPage(*raceDay, clock, style)};
        // CC + two-digit race number + ".html"
        if (file.size() != 9 || !endsWith(file, ".html") || !std::isdigit(static_cast<unsigned char>(file[2])) ||
            !std::isdigit(static_cast<unsigned char>(file[3])))
            return notFound(target);
        const Meeting* m = raceDay->findByToteCode(file.substr(0, 2));
        const int number = (file[2] - '0') * 10 + (file[3] - '0');
        if (!m || number < 1 || number > static_cast<int>(m->races.size())) return notFound(target);
        std::string page = resultPage(*raceDay, *m, m->races[static_cast<std::size_t>(number - 1)], clock, style);
        if (page.empty()) return notFound(target);
        return {200, std::move(page)};
    }

    if (path == kMaker || path == "/maker" || path == "/maker/index.html")
        return {200, makerHomePage(base() + std::string(kMaker), style)};
    if (path == "/maker/adsbase.html") return {200, advertPage(base() + std::string(kMaker), style)};
    return notFound(target);
}

Reply Server::Impl::fromRoot(const std::string& target) const {
    const auto q = target.find('?');
    std::string path = target.substr(0, q);
    while (!path.empty() && path.front() == '/') path.erase(path.begin());
    if (path.empty() || endsWith(path, "/")) path += "index.html";
    // Nothing outside the root: no parent steps, no absolute names.
    for (std::size_t start = 0; start <= path.size();) {
        const auto end = std::min(path.find('/', start), path.size());
        const std::string_view part = std::string_view(path).substr(start, end - start);
        if (part == ".." || part == ".") return notFound(target);
        start = end + 1;
    }
    std::vector<std::filesystem::path> candidates;
    if (q != std::string::npos) candidates.push_back(options.root / (path + target.substr(q)));
    candidates.push_back(options.root / path);
    for (const auto& file : candidates) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec)) continue;
        std::ifstream in(file, std::ios::binary);
        std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) return {500, serverErrorPage()};
        return {200, std::move(body)};
    }
    return notFound(target);
}

void Server::Impl::handle(const httplib::Request& req, httplib::Response& res) {
    ++requests;
    Fault f;
    {
        std::lock_guard lock(mutex);
        requestTargets.push_back(req.target);
        connections.emplace(req.remote_addr, req.remote_port);
        f = startsWith(req.target, faultPath) ? fault : Fault::None;
    }
    switch (f) {
        case Fault::Stall:
            waitForStop();
            res.status = 503;
            return;
        case Fault::Slow:
            if (pause(std::chrono::milliseconds(options.slowMs))) {
                res.status = 503;
                return;
            }
            break;
        case Fault::NotFound:
            res.status = 404;
            res.set_content(notFoundPage(req.target), "text/html");
            return;
        case Fault::ServerError:
            res.status = 500;
            res.set_content(serverErrorPage(), "text/html");
            return;
        default: break;
    }

    Reply r = answer(req.target, f == Fault::NotUtf8);
    res.status = r.status;
    if (f == Fault::Truncate) {
        // The length promises the whole page; half of it comes, then the connection closes.
        auto body = std::make_shared<std::string>(std::move(r.body));
        const std::size_t half = body->size() / 2;
        res.set_content_provider(body->size(), "text/html",
                                 [body, half](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                     if (offset < half) sink.write(body->data() + offset, half - offset);
                                     return false;
                                 });
        return;
    }
    if (f == Fault::Oversize) {
        // The page, then a comment that pads it to the oversize length.
        auto body = std::make_shared<std::string>(std::move(r.body));
        const std::size_t total = std::max(options.oversizeBytes, body->size() + 8);
        res.set_content_provider(total, "text/html",
                                 [body, total](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                     std::string chunk;
                                     const std::size_t n = std::min<std::size_t>(length, 64 * 1024);
                                     chunk.reserve(n);
                                     for (std::size_t i = offset; i < offset + n; ++i) {
                                         if (i < body->size()) chunk += (*body)[i];
                                         else if (i < body->size() + 4) chunk += "<!--"[i - body->size()];
                                         else if (i >= total - 4) chunk += "-->\n"[i - (total - 4)];
                                         else chunk += (i % 80 == 0) ? '\n' : 'x';
                                     }
                                     return sink.write(chunk.data(), chunk.size());
                                 });
        return;
    }
    // A charset followed by another parameter, as some servers send it.
    res.set_content(std::move(r.body), f == Fault::NotUtf8 ? "text/html; charset=windows-1252;x=y" : "text/html");
}

Server::Server(Options options) : impl_(std::make_unique<Impl>(std::move(options))) {}

Server::~Server() { stop(); }

int Server::start() {
    Impl& s = *impl_;
    if (s.thread.joinable()) return s.boundPort;
    s.http.set_tcp_nodelay(true);
    // Address reuse for quick restarts, but not port sharing: a second server on a busy port must fail.
    s.http.set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    });
    s.http.set_keep_alive_timeout(1);
    // A web server keeps a connection for many requests (the library's default closes it after 5).
    s.http.set_keep_alive_max_count(1000);
    s.http.set_read_timeout(2, 0);
    s.http.set_write_timeout(5, 0);
    s.http.new_task_queue = [] { return new httplib::ThreadPool(32); };
    // Bodies go out as they are: whatever the client accepts, nothing is compressed.
    s.http.set_pre_routing_handler([](const httplib::Request& req, httplib::Response&) {
        const_cast<httplib::Request&>(req).headers.erase("Accept-Encoding");
        return httplib::Server::HandlerResponse::Unhandled;
    });
    s.http.Get(".*", [&s](const httplib::Request& req, httplib::Response& res) { s.handle(req, res); });
    if (s.options.log) {
        s.http.set_logger([](const httplib::Request& req, const httplib::Response& res) {
            std::fprintf(stderr, "standin: %s %s %d %zu\n", req.method.c_str(), req.target.c_str(), res.status,
                         res.body.size());
        });
    }
    if (s.options.port == 0) {
        s.boundPort = s.http.bind_to_any_port(s.options.host);
        if (s.boundPort <= 0) throw std::runtime_error("cannot listen on " + s.options.host);
    } else {
        if (!s.http.bind_to_port(s.options.host, s.options.port))
            throw std::runtime_error("cannot listen on " + s.options.host + ":" + std::to_string(s.options.port));
        s.boundPort = s.options.port;
    }
    s.thread = std::thread([&s] { s.http.listen_after_bind(); });
    // stop() must find the server running, or the listen loop would start after it and never end.
    for (int i = 0; i < 5000 && !s.http.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return s.boundPort;
}

void Server::stop() {
    Impl& s = *impl_;
    {
        std::lock_guard lock(s.mutex);
        s.stopping = true;
    }
    s.wake.notify_all();
    if (s.thread.joinable()) {
        s.http.stop();
        s.thread.join();
    }
}

int Server::port() const { return impl_->boundPort; }
std::string Server::formGuideUrl() const { return impl_->base(); }
std::string Server::resultsSiteRoot() const { return impl_->base() + std::string(kTote); }
std::string Server::makerSiteUrl() const { return impl_->base() + std::string(kMaker); }

void Server::setFault(Fault f, std::string onlyPathPrefix) {
    std::lock_guard lock(impl_->mutex);
    impl_->fault = f;
    impl_->faultPath = std::move(onlyPathPrefix);
}

void Server::setNow(std::string localIso) {
    const auto t = parseLocalTime(localIso);
    if (!t) throw std::invalid_argument("not a local time (2026-12-06T14:00): " + localIso);
    std::lock_guard lock(impl_->mutex);
    impl_->fixedNow = *t;
}

LocalTime Server::now() const { return impl_->now(); }

void Server::setOverride(const std::string& pathAndQuery, std::string body, int status) {
    std::lock_guard lock(impl_->mutex);
    impl_->overrides[pathAndQuery] = Reply{status, std::move(body)};
}

void Server::clearOverrides() {
    std::lock_guard lock(impl_->mutex);
    impl_->overrides.clear();
}

Reply Server::reply(const std::string& pathAndQuery) const { return impl_->answer(pathAndQuery, false); }

std::vector<std::string> Server::dayTargets(const Date& date) const {
    const auto day = impl_->day(date, false);
    const LocalTime clock = impl_->now();
    const std::string ymd = yyyymmdd(date);
    const std::string folder = std::string(kTote) + ymd.substr(0, 4) + "/" + ymd.substr(4, 2) + "/" + ymd.substr(6, 2) + "/";
    std::vector<std::string> targets;
    if (date == clock.date) targets.push_back(std::string(kAccess));
    targets.push_back(std::string(kAccess) + "?" + ymd);
    for (const Meeting& m : day->meetings) {
        for (const Race& r : m.races) {
            const std::string n = std::to_string(r.number);
            targets.push_back(std::string(kDeliver) + m.formCode + n + ".htm?tvf3");
            targets.push_back(std::string(kOdds) + m.formCode + n + "?rto");
        }
    }
    targets.push_back(folder + "mtgraces.html");
    for (const Meeting& m : day->meetings)
        for (const Race& r : m.races)
            if (raceStateAt(r, date, clock) != RaceState::NotRun)
                targets.push_back(folder + m.toteCode + (r.number < 10 ? "0" : "") + std::to_string(r.number) + ".html");
    targets.push_back(std::string(kMaker) + "index.html");
    targets.push_back(std::string(kMaker) + "adsbase.html");
    return targets;
}

std::size_t Server::dumpDay(const Date& date, const std::filesystem::path& folder) const {
    std::size_t written = 0;
    for (const std::string& target : dayTargets(date)) {
        const Reply r = reply(target);
        if (r.status != 200) continue;
        // The race and price pages' queries never vary, so their files go without them.
        std::string name = target.substr(1);
        if (startsWith(target, kDeliver) || startsWith(target, kOdds)) name = name.substr(0, name.find('?'));
        const std::filesystem::path file = folder / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(r.body.data(), static_cast<std::streamsize>(r.body.size()));
        if (!out) throw std::runtime_error("cannot write " + file.string());
        ++written;
    }
    return written;
}

std::size_t Server::requestCount() const { return impl_->requests.load(); }

std::vector<std::string> Server::requestLog() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->requestTargets;
}

std::size_t Server::connectionCount() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->connections.size();
}

}  // namespace selvane::standin
