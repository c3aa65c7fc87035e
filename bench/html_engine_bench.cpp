#include <benchmark/benchmark.h>

#include <string>

#include "net/HtmlEngine.h"
#include "net/PageLoader.h"

namespace {

// A race-page-like document of about the given size: a table of runner rows.
std::string samplePage(std::size_t bytes) {
    std::string page = "<html><head><title>Race 1</title></head><body><hr><table>\n";
    for (int row = 1; page.size() < bytes; ++row) {
        page += "<TR><TD>" + std::to_string(row) + "</TD><TD>x1203</TD><TD><A HREF=\"/h/" + std::to_string(row) +
                "\">HORSE " + std::to_string(row) + "</A> (5)</TD><TD>J SMITH</TD><TD>56.5</TD>"
                "<TD>&nbsp;</TD><TD>3.50</TD><TD>1.60</TD><TD>$12,450</TD></TR>\r\n";
    }
    return page + "</table><hr></body></html>\n";
}

void normalise(benchmark::State& state) {
    const std::string page = samplePage(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(selvane::normalisePage(page));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(normalise)->Arg(50 << 10)->Arg(5 << 20)->Unit(benchmark::kMillisecond);

void splitLines(benchmark::State& state) {
    const std::string page = samplePage(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(selvane::splitIntoLines(page));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(splitLines)->Arg(50 << 10)->Arg(5 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace
