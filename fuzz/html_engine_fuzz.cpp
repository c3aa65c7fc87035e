#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/HtmlEngine.h"
#include "net/PageLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    selvane::normalisePage(bytes);
    selvane::splitIntoLines(bytes);
    return 0;
}
