#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "kit/Controls.h"
#include "kit/Ports.h"
#include "net/Fetcher.h"
#include "promo/SplashWindow.h"

namespace selvane {

inline constexpr const char* kAdvertFile = "adsbase.html";
inline constexpr const char* kFramePageFile = "iFrame_page.html";
inline constexpr const char* kBlankPageFile = "blank.html";
// The copy counts its steps in 16 bits: a longer advert is not shown.
inline constexpr std::size_t kMaxAdvertChars = 32767;

// The advert may not hold the punter at the splash: five seconds for the whole transfer.
FetchLimits advertFetchLimits(std::chrono::milliseconds total = std::chrono::seconds(5));

struct AdvertOutcome {
    // The connectivity check, for the shared connection state.
    bool online = false;
    std::uint32_t connectionFlags = 0;
    std::string connectionName;
    std::string framed;  // kAdvertFile, or kBlankPageFile after any failure
    std::string cause;   // why the blank page is framed; never shown to the punter
};

// adsbase.html's lines from the fetched text: CR or LF ends a non-empty line, empty lines
// vanish, text after the last line end is dropped. onChar runs once per character.
std::vector<std::string> advertLines(std::string_view fetched, const std::function<void()>& onChar = {});

// Writes iFrame_page.html in folder around framedFile; throws std::runtime_error on failure.
namespace frmSplash {
void createHTMLSource(const std::filesystem::path& folder, std::string_view framedFile);
}  // namespace frmSplash

// Fetches the maker's advert, stores it, writes the frame page and points strip at it; any
// failure frames blank.html instead. Never throws, never shows a message.
AdvertOutcome downloadIframe(const std::filesystem::path& programFolder, const std::string& makerSite,
                             const Ports& ports, SplashWindow& splash, WebView& strip,
                             const FetchLimits& limits = advertFetchLimits());

// The splash window's load: busy, under the hourglass, while the events run once and the
// advert is prepared.
AdvertOutcome loadSplash(const std::filesystem::path& programFolder, const std::string& makerSite,
                         const Ports& ports, SplashWindow& splash, WebView& strip,
                         const FetchLimits& limits = advertFetchLimits());

}  // namespace selvane
