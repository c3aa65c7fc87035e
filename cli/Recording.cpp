#include "Recording.h"

#include "Cli.h"

namespace selvane::cli {

std::filesystem::path recordFileOption(const std::optional<std::string>& file, bool noRecord) {
    if (noRecord && file) throw UsageError("--record and --no-record cannot be used together");
    if (noRecord) return {};
    if (file) {
        if (file->empty()) throw UsageError("--record takes a file");
        return *file;
    }
    return record::defaultRecordFile();
}

void openRecordAhead(Context& ctx, const record::Record::Opener& run) {
    RecordTarget& target = ctx.record;
    if (target.file.empty()) return;
    if (!target.store) target.store = std::make_unique<record::Record>(target.file);
    target.store->openAhead(run);
}

void saveToRecord(Context& ctx, const record::Batch& batch) {
    RecordTarget& target = ctx.record;
    if (target.file.empty() || batch.empty()) return;
    if (!target.store) target.store = std::make_unique<record::Record>(target.file);
    const record::Record::Saved saved = target.store->save(batch);
    for (const std::string& line : record::savedLines(saved, target.failureShown)) ctx.err << "selvane-cli: " << line << "\n";
}

void recordFetched(Context& ctx, const App& app, const LiveOddsRun* odds) {
    saveToRecord(ctx, fetchedBatch(app, shownWarning(ctx.ports.messages.shown), odds));
}

}  // namespace selvane::cli
