#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "meetings/MeetingParser.h"

namespace {

// A meeting page as the form-guide service writes it, grown to about `bytes`: a date list,
// the GO mark, then meetings of eight races each. Past 50 meetings the parse stops, so the
// big page repeats its padding text inside the meeting section instead.
std::string meetingPage(std::size_t bytes) {
    std::string s = "<HTML><HEAD><TITLE>Meetings</TITLE></HEAD><BODY>\r\n<FORM METHOD=\"POST\">\r\n";
    s += "<SELECT NAME=\"date\" onChange=\"newdate(this);\" SIZE=\"1\">\r\n";
    for (int d = 1; d <= 14; ++d)
        s += std::string(d == 7 ? "<OPTION SELECTED VALUE=\"" : "<OPTION VALUE=\"") + "202403" + std::to_string(10 + d) +
             "\">" + std::to_string(10 + d) + "/03/2024\r\n";
    s += "</SELECT>\r\n<P><STRONG>3. Click GO to have your data delivered to you.</STRONG></P>\r\n<TABLE>\r\n";
    int m = 0;
    while (s.size() + 200 < bytes) {
        if (m < 48) {
            ++m;
            const std::string code = std::string("M").append(std::to_string(100 + m));
            s += "<TR><TD><SELECT NAME=\"" + code + "\">\r\n<OPTION VALUE=\"\">TRACK" + std::to_string(m) +
                 " PARK\r\n</SELECT></TD>\r\n<TD><SELECT NAME=\"N" + code + "\" SIZE=\"1\">\r\n";
            for (int r = 1; r <= 8; ++r)
                s += "<OPTION VALUE=\"" + std::to_string(r) + "\">R" + std::to_string(r) + " 1" + std::to_string(r) +
                     ":05 TRACK" + std::to_string(m) + " PARK " + std::to_string(1000 + 100 * r) + "m\r\n";
            s += "</SELECT></TD></TR>\r\n";
        } else {
            s += "<TR><TD><EM>Notes</EM>&nbsp;for the day: <STRONG>fine</STRONG>, track good.</TD></TR>\r\n";
        }
    }
    return s + "</TABLE>\r\n</FORM>\r\n</BODY></HTML>\r\n";
}

void measureParse(benchmark::State& state, const std::string& page) {
    selvane::MeetingTables tables;
    for (auto _ : state) {
        selvane::parseMeetingList(page, tables);
        benchmark::DoNotOptimize(tables.meetingCounter);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(page.size()));
    state.counters["meetings"] = tables.meetingCounter - 1;
}

void parsePage(benchmark::State& state) {
    measureParse(state, meetingPage(static_cast<std::size_t>(state.range(0))));
}

// The stand-in's meeting page of 06/12/2026 as access.html stored it.
void parseSavedPage(benchmark::State& state) {
    std::ifstream in(SELVANE_BENCH_DATA "/meetings/access_20261206.html", std::ios::binary);
    measureParse(state, std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
}

BENCHMARK(parseSavedPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(parsePage)->Arg(50 * 1024)->Arg(5 * 1024 * 1024)->Unit(benchmark::kMicrosecond);

}  // namespace
