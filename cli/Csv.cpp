#include "Csv.h"

#include "Cli.h"
#include "net/PageText.h"

namespace selvane::cli {

void writeCsv(std::ostream& out, const std::vector<std::vector<std::string>>& records) { out << text::csvText(records); }

bool csvWanted(const Context& ctx) {
    if (!ctx.args.flag("--csv")) return false;
    if (ctx.json) throw UsageError("--csv and --json cannot be used together");
    return true;
}

}  // namespace selvane::cli
