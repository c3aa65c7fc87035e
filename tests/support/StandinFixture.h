#pragma once

#include <cstdint>
#include <string>

#include "app/App.h"
#include "standin/Server.h"

namespace selvane::test {

// The stand-in services on a free loopback port with a fixed clock, for flow tests:
//   StandinFixture web;  AppFixture fx(web.services());
//   web.server.setNow("2026-12-06T15:00");  web.server.setOverride(...);  web.server.setFault(...);
struct StandinFixture {
    explicit StandinFixture(const std::string& now = "2026-12-06T14:00", std::uint32_t seed = 1);
    Services services() const;
    standin::Server server;
};

}  // namespace selvane::test
