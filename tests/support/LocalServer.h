#pragma once

#include <httplib.h>

#include <chrono>
#include <string>
#include <thread>

namespace selvane::test {

// A bare HTTP server on a free loopback port, for tests that need exact responses.
class LocalServer {
public:
    LocalServer() = default;
    ~LocalServer() { stop(); }
    httplib::Server& routes() { return server_; }
    void start() {
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void stop() {
        server_.stop();
        if (thread_.joinable()) thread_.join();
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

}  // namespace selvane::test
