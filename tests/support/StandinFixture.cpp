#include "support/StandinFixture.h"

namespace selvane::test {
namespace {

standin::Options optionsFor(const std::string& now, std::uint32_t seed) {
    standin::Options o;
    o.now = now;
    o.seed = seed;
    return o;
}

}  // namespace

StandinFixture::StandinFixture(const std::string& now, std::uint32_t seed) : server(optionsFor(now, seed)) {
    server.start();
}

Services StandinFixture::services() const {
    return Services{server.formGuideUrl(), server.resultsSiteRoot(), server.makerSiteUrl()};
}

}  // namespace selvane::test
