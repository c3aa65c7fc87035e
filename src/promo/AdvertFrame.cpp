#include "promo/AdvertFrame.h"

#include <stdexcept>

#include "kit/Guarded.h"
#include "net/Connectivity.h"
#include "net/WorkFiles.h"
#include "pages/PageWriter.h"

namespace selvane {
namespace {

bool checkConnection(const Ports& ports, const std::string& makerSite, AdvertOutcome& out) {
    // A maker's site on this machine (the stand-in) counts as reachable.
    out.online = ports.connectivity ? ports.connectivity->connected(out.connectionFlags, out.connectionName)
                                    : checkInternetConnection(out.connectionFlags, out.connectionName, makerSite);
    return out.online;
}

void storeAdvert(const std::filesystem::path& folder, const std::string& text, SplashWindow& splash) {
    if (text.size() > kMaxAdvertChars) throw std::runtime_error("advert longer than 32767 characters");
    guarded([&] { splash.progressStart(static_cast<std::int16_t>(text.size())); });
    PageWriter page(folder);
    page.openPage(kAdvertFile);
    for (const std::string& line : advertLines(text, [&] { guarded([&] { splash.progressStep(); }); }))
        page.writePageLine(line);
    page.closePage();
}

// Steps 2 to 7; what it throws sends the caller to the blank page.
void prepareAdvert(const std::filesystem::path& folder, const std::string& makerSite, const Ports& ports,
                   SplashWindow& splash, const FetchLimits& limits, AdvertOutcome& out) {
    if (!checkConnection(ports, makerSite, out)) {
        splash.pgBar.setVisible(false);
        frmSplash::createHTMLSource(folder, kBlankPageFile);
        out.framed = kBlankPageFile;
        out.cause = "no connection";
        return;
    }
    if (!deleteFile((folder / kAdvertFile).string())) throw std::runtime_error("cannot delete adsbase.html");
    FetchResult fetched = fetchPumped(makerSite + kAdvertFile, limits, ports.pump);
    if (ports.pump) ports.pump->pumpEvents();
    if (!fetched.ok) throw std::runtime_error(fetched.error);
    storeAdvert(folder, fetched.body, splash);
    frmSplash::createHTMLSource(folder, kAdvertFile);
    out.framed = kAdvertFile;
}

}  // namespace

FetchLimits advertFetchLimits(std::chrono::milliseconds total) {
    FetchLimits limits;
    limits.connect = total;
    limits.total = total;
    // Room for an advert just over the step limit, so that limit is the one that refuses it.
    limits.maxBytes = 64 * 1024;
    return limits;
}

std::vector<std::string> advertLines(std::string_view fetched, const std::function<void()>& onChar) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : fetched) {
        if (onChar) onChar();
        if (c != '\r' && c != '\n') {
            line += c;
        } else if (!line.empty()) {
            lines.push_back(std::move(line));
            line.clear();
        }
    }
    return lines;
}

namespace frmSplash {
void createHTMLSource(const std::filesystem::path& folder, std::string_view framedFile) {
    PageWriter page(folder);
    page.openPage(kFramePageFile);
    page.writePageLine("<html><head><title></title></head>");
    page.writePageLine(
        R"(<body bgcolor="#ECE9D8" scroll="no" leftMargin="0" topMargin="8" bottommargin="0" marginheight="0" marginwidth="0">)");
    page.writePageLine(R"(<iframe src=")" + std::string(framedFile) + R"(")");
    page.writePageLine(R"(Scrolling="no" base Target="_top")");
    page.writePageLine(R"(Align="center" width="460" Height ="60")");
    page.writePageLine(R"(leftMargin="0" topMargin="8")");
    page.writePageLine(R"(marginheight="0" marginwidth="0")");
    page.writePageLine(R"(frameborder="0">)");
    page.writePageLine("</iframe>");
    page.writePageLine("</body></html>");
    page.closePage();
}
}  // namespace frmSplash

AdvertOutcome downloadIframe(const std::filesystem::path& programFolder, const std::string& makerSite,
                             const Ports& ports, SplashWindow& splash, WebView& strip, const FetchLimits& limits) {
    AdvertOutcome out;
    const auto fallBack = [&](std::string cause) {
        out.framed = kBlankPageFile;
        out.cause = std::move(cause);
        guarded([&] { frmSplash::createHTMLSource(programFolder, kBlankPageFile); });
    };
    try {
        prepareAdvert(programFolder, makerSite, ports, splash, limits, out);
    } catch (const std::exception& e) {
        fallBack(e.what());
    } catch (...) {
        fallBack("failed");
    }
    // The bar is idle again whatever happened, also after an empty advert that never stepped.
    splash.pgBar.setVisible(false);
    guarded([&] {
        strip.setOffline(true);
        strip.navigate((programFolder / kFramePageFile).string());
    });
    return out;
}

AdvertOutcome loadSplash(const std::filesystem::path& programFolder, const std::string& makerSite,
                         const Ports& ports, SplashWindow& splash, WebView& strip, const FetchLimits& limits) {
    splash.splashBusy = true;
    // "I Agree" is not taken until the advert is in: the busy pointer over the splash says so.
    if (ports.pointer) guarded([&] { ports.pointer->setHourglass(true); });
    if (ports.pump) guarded([&] { ports.pump->pumpEvents(); });
    AdvertOutcome out = downloadIframe(programFolder, makerSite, ports, splash, strip, limits);
    splash.splashBusy = false;
    if (ports.pointer) guarded([&] { ports.pointer->setHourglass(false); });
    return out;
}

}  // namespace selvane
