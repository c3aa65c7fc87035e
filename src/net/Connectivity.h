#pragma once

#include <cstdint>
#include <string>

namespace selvane {

// Flags of checkInternetConnection (stored, read by nothing else).
inline constexpr std::uint32_t kConnectionLan = 0x02;      // a non-loopback interface is up and running
inline constexpr std::uint32_t kConnectionLoopback = 0x80;  // the form-guide service is on this machine

// What the last connectivity check found.
struct ConnectionState {
    bool isOnline = false;
    std::uint32_t connectionFlags = 0;
    std::string connectionName;
};

// Online when a non-loopback interface is up and running, or when the form-guide service's
// host is a loopback address (the stand-in services). name: that interface's name, or "lo".
bool checkInternetConnection(std::uint32_t& flags, std::string& name, const std::string& formGuideUrl);

// True for localhost, 127.0.0.0/8 and ::1 in a URL's host part.
bool isLoopbackUrl(const std::string& url);

}  // namespace selvane
