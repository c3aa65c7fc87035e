#include <cstddef>
#include <cstdint>
#include <string_view>

#include "meetings/MeetingParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    static selvane::MeetingTables tables;
    selvane::parseMeetingList(page, tables);
    selvane::parseMeetingsOnly(page, tables);
    selvane::collectDateOptions(page, tables);
    return 0;
}
