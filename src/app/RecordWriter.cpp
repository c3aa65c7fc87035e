#include "app/RecordWriter.h"

#include "app/App.h"
#include "app/Recording.h"
#include "form/TipWarning.h"

namespace selvane {

RecordWriter::RecordWriter(std::filesystem::path file, std::function<void(const std::string&)> say)
    : store_(std::move(file)), say_(std::move(say)), thread_([this] { run(); }) {}

RecordWriter::~RecordWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void RecordWriter::write(record::Batch batch) {
    if (batch.empty()) return;
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(batch));
    }
    changed_.notify_all();
}

void RecordWriter::flush() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.empty() && !writing_; });
}

void RecordWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        // Stopping still writes what is queued.
        if (queue_.empty()) return;
        record::Batch batch = std::move(queue_.front());
        queue_.pop_front();
        writing_ = true;
        lock.unlock();
        const record::Record::Saved saved = store_.save(batch);
        for (const std::string& line : record::savedLines(saved, failureSaid_))
            if (say_) say_(line);
        lock.lock();
        writing_ = false;
        changed_.notify_all();
    }
}

CommandShown recordShown(const App& app, RecordWriter& writer) {
    return [&app, &writer](const std::string& at, const LiveOddsRun* odds) {
        // The window's message boxes are not kept; its tip warning is what its lists say.
        writer.write(fetchedBatch(app, warningTitle(tipWarning(app.window)), odds, at));
    };
}

}  // namespace selvane
