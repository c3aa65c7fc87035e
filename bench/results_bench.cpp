#include <benchmark/benchmark.h>

#include <string>

#include "results/ResultParser.h"
#include "results/ResultTables.h"

namespace {

// A results meeting page as downloadTRACK stores it (CR LF lines), grown to about `bytes` with
// meetings of eight races each before the trots heading.
std::string resultsPage(std::size_t bytes) {
    std::string p = "<html><head><title>Tote results</title></head><body>\r\n<h3>RACES</h3><table>\r\n"
                    "<tr><th class=\"rowhdr\">Meeting</th>\r\n";
    for (int i = 1; i <= 12; ++i) p += "<th class=\"rowhdr\">" + std::to_string(i) + "</th>\r\n";
    p += "</tr>\r\n";
    for (int m = 0; p.size() + 400 < bytes; ++m) {
        const std::string code{static_cast<char>('A' + m % 26), static_cast<char>('A' + m / 26 % 26)};
        p += "<tr>\r\n<td class='location'> <a href=\"" + code + "01.html\">TRACK " + std::to_string(m) + " (" + code +
             ")</a></td>\r\n";
        for (int r = 1; r <= 8; ++r)
            p += "<td class=\"result\"><a href=\"" + code + "0" + std::to_string(r) + ".html\">" +
                 (r < 5 ? "3,7,1" : "1:0" + std::to_string(r) + "PM") + "</a></td>\r\n";
        p += "<td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td>\r\n<td><a href=\"" + code + "F.html\">Fields</a></td></tr>\r\n";
    }
    return p + "</table>\r\n<h3>TROTS</h3><table></table></body></html>\r\n";
}

void parseResults(benchmark::State& state) {
    const std::string page = resultsPage(static_cast<std::size_t>(state.range(0)));
    selvane::ResultTables tables;
    for (auto _ : state) {
        std::string copy = page;  // the parse rewrites its text in place
        tables.resultMeetingIndex = 0;
        tables.resultRaceSlot = 1;
        selvane::parseResultMeetings(tables, copy);
        benchmark::DoNotOptimize(tables.resultMeetingCount);
    }
    if (tables.resultMeetingCount < 1) state.SkipWithError("no meetings read");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(page.size()));
    state.counters["meetings"] = tables.resultMeetingCount;
}

BENCHMARK(parseResults)->Arg(50 * 1024)->Arg(512 * 1024)->Arg(5 * 1024 * 1024)->Unit(benchmark::kMicrosecond);

}  // namespace
