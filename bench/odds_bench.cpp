#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "odds/OddsPage.h"
#include "pages/PageWriter.h"

namespace {

// A price page as the page loader stores it, grown to about `bytes` with runner rows; the
// runner count is the number of rows, so both walks cover the whole page.
struct PricePage {
    std::string text;
    int runners = 0;
};

PricePage pricePage(std::size_t bytes) {
    PricePage p;
    p.text =
        "<html>\r\n<head>\r\n<title>NORTH PARK Race 3 Tote Odds</title>\r\n</head>\r\n<body bgcolor=\"#ffffff\">\r\n"
        "<table width=\"100%\" border=\"0\"><tr><td><b>NORTH PARK</b></td><td>Race 3</td></tr></table>\r\n"
        "<table width=\"100%\" border=\"1\" cellpadding=\"2\" cellspacing=\"0\">\r\n"
        "<tr><td colspan=\"12\" bgcolor=\"#87cefa\"><b>Race 3 - MAIDEN PLATE - 1200m</b></td></tr>\r\n"
        "<tr><td colspan=\"12\">Prices at 14:00 Sunday 06/12/2026</td></tr>\r\n"
        "<tr><td colspan=\"4\">Runner</td><td colspan=\"8\" bgcolor=\"#80ff80\">Win</td></tr>\r\n"
        "<tr><td>#</td><td>Name</td><td>Bar</td><td>Wgt</td><td>AUS TOTE</td><td>STAB Win</td><td>NSW Win</td>"
        "<td>QLD Win</td><td>AUS PLC</td><td>STAB PLC</td><td>NSW PLC</td><td>QLD PLC</td></tr>\r\n";
    while (p.text.size() + 200 < bytes) {
        ++p.runners;
        const std::string n = std::to_string(p.runners);
        p.text += std::string(p.runners % 2 ? "<tr>" : "<tr bgcolor=\"#fffacd\">") + "<td>" + n + "</td><td>RUNNER " +
                  n +
                  "</td><td>4</td><td>58.5</td><td bgcolor=\"#ffd700\">3.50</td><td>3.60</td><td>n/a</td>"
                  "<td>scr</td><td>1.40</td><td>1.50</td><td>N/A</td><td>1.45</td></tr>\r\n";
    }
    p.text += "</table>\r\n</body>\r\n</html>\r\n";
    return p;
}

std::filesystem::path benchFolder() {
    static const std::filesystem::path folder = [] {
        static std::filesystem::path f =
            std::filesystem::temp_directory_path() / ("selvane-bench-odds-" + std::to_string(getpid()));
        std::filesystem::create_directories(f);
        std::atexit([] { std::filesystem::remove_all(f); });
        return f;
    }();
    return folder;
}

void writeOddsPage(benchmark::State& state) {
    const PricePage page = pricePage(static_cast<std::size_t>(state.range(0)));
    selvane::PageWriter writer(benchFolder());
    for (auto _ : state) benchmark::DoNotOptimize(selvane::writeOddsPage(page.text, page.runners, writer));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(page.text.size()));
    state.counters["runners"] = page.runners;
}

void readOddsPage(benchmark::State& state) {
    const PricePage page = pricePage(static_cast<std::size_t>(state.range(0)));
    std::string written;
    {
        selvane::PageWriter writer(benchFolder());
        selvane::writeOddsPage(page.text, page.runners, writer);
    }
    std::FILE* f = std::fopen((benchFolder() / selvane::kOddsPageName).c_str(), "rb");
    for (int c; f && (c = std::fgetc(f)) != EOF;) written += static_cast<char>(c);
    if (f) std::fclose(f);
    for (auto _ : state) benchmark::DoNotOptimize(selvane::readOddsPage(written, page.runners));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(written.size()));
    state.counters["runners"] = page.runners;
}

BENCHMARK(writeOddsPage)->Arg(50 * 1024)->Arg(5 * 1024 * 1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(readOddsPage)->Arg(50 * 1024)->Arg(5 * 1024 * 1024)->Unit(benchmark::kMicrosecond);

}  // namespace
