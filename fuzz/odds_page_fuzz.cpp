#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "odds/LiveOdds.h"

// First byte: the runner count; the rest: the price page. Cut, read back, and the page read raw.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path folder = [] {
        static std::filesystem::path p =
            std::filesystem::temp_directory_path() / ("selvane-fuzz-odds-" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        std::atexit([] { std::filesystem::remove_all(p); });
        return p;
    }();
    if (size == 0) return 0;
    const int runners = data[0] % 24;
    const std::string_view page(reinterpret_cast<const char*>(data) + 1, size - 1);
    const selvane::OddsOutcome o = selvane::oddsFromPage(page, runners, folder);
    if (o.hasPage && (o.rows.size() != static_cast<std::size_t>(runners) || !o.page.ends_with("</html>\r\n")))
        __builtin_trap();
    if (selvane::readOddsPage(page, runners).size() != static_cast<std::size_t>(runners)) __builtin_trap();
    return 0;
}
