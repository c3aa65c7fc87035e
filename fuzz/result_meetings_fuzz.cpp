#include <cstddef>
#include <cstdint>
#include <string>

#include "kit/MainWindow.h"
#include "results/CheckResults.h"
#include "results/ResultParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string page(reinterpret_cast<const char*>(data), size);
    selvane::ResultTables tables;
    selvane::parseResultMeetings(tables, page);
    selvane::MainWindow w;
    selvane::fillMeetingResults(w, tables, "", 1);
    return 0;
}
