#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <ostream>

#include "app/Recording.h"
#include "record/Record.h"

namespace selvane::cli {

using selvane::fetchedBatch;
using selvane::isoDate;

struct Context;

// Where a command records what it fetched: --record FILE, else the default record; nothing with
// --no-record. The store is opened on the first write and kept for a --watch's later rounds.
struct RecordTarget {
    std::filesystem::path file;  // empty: not recording
    std::unique_ptr<record::Record> store;
    bool failureShown = false;  // "not recorded" is said once per run
};

// The record file of the common options: --record FILE, --no-record, or the default.
std::filesystem::path recordFileOption(const std::optional<std::string>& file, bool noRecord);

// Opens the record the command will write while it fetches (see record::Record::openAhead).
void openRecordAhead(Context& ctx, const record::Record::Opener& run = {});

// Writes the batch in one transaction. A record that cannot be written never stops the command:
// stderr says once "not recorded: <cause>".
void saveToRecord(Context& ctx, const record::Batch& batch);

// fetchedBatch and saveToRecord: the one line a command adds to record what it fetched.
void recordFetched(Context& ctx, const App& app, const LiveOddsRun* odds = nullptr);

}  // namespace selvane::cli
