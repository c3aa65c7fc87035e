#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "Cli.h"
#include "TipsOutput.h"
#include "form/RaceFieldParser.h"
#include "form/RunnerFile.h"
#include "form/TipGrid.h"
#include "net/HtmlEngine.h"

namespace {

// Prints the document as --json does (a library error would escape as an exception) and
// reads it back.
nlohmann::json printedAndRead(const nlohmann::json& doc) { return nlohmann::json::parse(doc.dump(2)); }

}  // namespace

// The bytes as a page text, as a race page and as a runner file: every JSON document the CLI
// prints from them is valid and holds the text as read (UTF-8 where valid, else Latin-1).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace selvane;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string text = cli::toUtf8(bytes);
    if (!isValidUtf8(text)) __builtin_trap();
    const auto high = std::count_if(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; });
    // Latin-1 takes two UTF-8 bytes for each byte past ASCII.
    if (isValidUtf8(bytes) ? text != bytes : text.size() != bytes.size() + high) __builtin_trap();
    if (printedAndRead(nlohmann::json{{"text", cli::jsonText(bytes)}})["text"] != text) __builtin_trap();

    std::string page(bytes);
    RunnerTable table;
    parseRaceField(table, page);
    printedAndRead(nlohmann::json{{"rows", cli::runnerRowsJson(table)},
                                  {"runners", cli::runnerEntriesJson(runnerEntries(table))}});

    std::vector<TipInput> field;
    try {
        field = parseRunnerFile(bytes);
    } catch (const RunnerFileTooLong&) {
        return 0;
    }
    MainWindow w;
    msfClear(w);
    setRunnerList(w, field);
    printedAndRead(cli::shownTipsJson(cli::tipAndReport(w)));
    return 0;
}
