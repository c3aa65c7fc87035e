#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "pages/PageWriter.h"
#include "results/ResultsPage.h"

namespace {

// One scratch folder for the whole run; results.html is rewritten by every input. Never
// destroyed, so the clean-up at exit can still read it.
const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path* folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "results-page-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        return new std::filesystem::path(pattern);
    }();
    static const bool cleanUp = std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(*folder, ec);
    }) == 0;
    (void)cleanUp;
    return *folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string page(reinterpret_cast<const char*>(data), size);
    selvane::PageWriter writer(scratchFolder());
    selvane::writeResultsPage(writer, page);
    return 0;
}
