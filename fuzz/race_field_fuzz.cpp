#include <cstddef>
#include <cstdint>
#include <string>

#include "form/RaceFieldParser.h"
#include "form/RunnerList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string page(reinterpret_cast<const char*>(data), size);
    selvane::RunnerTable table;
    selvane::parseRaceField(table, page);
    if (table.runnerCount() > selvane::RunnerTable::kLastSlot) __builtin_trap();
    selvane::runnerEntries(table);
    return 0;
}
