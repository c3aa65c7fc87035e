#pragma once

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "app/Commands.h"
#include "record/Record.h"

namespace selvane {

// Writes batches to the record on a thread of its own, in the order they came: a write that waits
// out another writer's lock must not freeze the window. Whatever was handed in is written before
// the writer goes.
class RecordWriter {
public:
    // say gets, on the writer's thread, "not recorded: <cause>" once (the first failure) and any
    // notice of a corrupt file set aside.
    RecordWriter(std::filesystem::path file, std::function<void(const std::string&)> say);
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    void write(record::Batch batch);
    // Returns once everything handed in so far is written (or failed).
    void flush();

private:
    void run();

    record::Record store_;
    std::function<void(const std::string&)> say_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<record::Batch> queue_;
    bool writing_ = false;
    bool stopping_ = false;
    bool failureSaid_ = false;
    std::thread thread_;
};

struct App;

// The hook for wireCommands that hands the writer what each command showed.
CommandShown recordShown(const App& app, RecordWriter& writer);

}  // namespace selvane
