#include "Csv.h"

#include "Cli.h"

namespace selvane::cli {

std::string csvField(std::string_view bytes) {
    const std::string text = terminalLine(bytes);
    const bool quoted = text.find_first_of(",\"") != std::string::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' ' || text.front() == '\t' ||
                                           text.back() == '\t'));
    if (!quoted) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

void writeCsv(std::ostream& out, const std::vector<std::vector<std::string>>& records) {
    for (const auto& record : records) {
        for (std::size_t i = 0; i < record.size(); ++i) out << (i ? "," : "") << csvField(record[i]);
        out << "\r\n";
    }
}

bool csvWanted(const Context& ctx) {
    if (!ctx.args.flag("--csv")) return false;
    if (ctx.json) throw UsageError("--csv and --json cannot be used together");
    return true;
}

}  // namespace selvane::cli
