#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "record/RecordValues.h"

namespace selvane::record {

// Reading the record failed; the text names the file and the cause.
struct RecordError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The record: one SQLite file of every meeting, field, tip run, price fetch, result and dividend
// the program saw. Opened on first use and kept open. Writing never throws: the record must never
// stop the command that feeds it.
class Record {
public:
    struct Options {
        // How long a write waits for another writer (the desktop program, a CLI --watch).
        std::chrono::milliseconds busyTimeout{3000};
    };

    explicit Record(std::filesystem::path file) : Record(std::move(file), Options{}) {}
    Record(std::filesystem::path file, Options options);
    ~Record();
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

    const std::filesystem::path& file() const { return file_; }

    // Opens a record that exists on another thread, while the command fetches its pages, so that
    // the first save or read finds the connection made (the WAL read back, a race command's
    // statements prepared). A record not yet written is left to the save that makes it; a
    // failure here is met, and told, by that save. `run` hands the opening to the caller's own
    // thread for such work; by default it gets a thread of its own.
    using Opener = std::function<void(std::function<void()>)>;
    void openAhead(const Opener& run = {});

    struct Saved {
        bool ok = false;
        std::string cause;   // why nothing was written, when not ok
        std::string notice;  // a corrupt file set aside: names it and the new file
    };
    // Writes the batch in one transaction, all of it or none. A file that is not a database, or
    // is damaged, is renamed aside with the time and a new record started.
    Saved save(const Batch& batch);

    // The races of a date range, by date, meeting and number; a record not yet written reads as
    // empty. Throws RecordError.
    std::vector<RaceSummary> races(const RaceQuery& query);
    // Everything recorded of one race of races(). Throws RecordError.
    RaceDetail detail(const RaceSummary& race);

    // "<file>: <cause>" for a failure of this record.
    std::string failure(const std::string& cause) const;

private:
    struct Connection;
    Connection& connection(bool create);
    void awaitOpening();
    void writeBatch(Connection& c, const Batch& batch);
    std::string setAside();

    std::filesystem::path file_;
    Options options_;
    std::unique_ptr<Connection> connection_;
    std::future<void> opening_;
    std::thread openingThread_;  // the opening's own thread, when the caller gave none
};

// The default record: $XDG_DATA_HOME/selvane/record.sqlite, else ~/.local/share/selvane/; an
// empty XDG_DATA_HOME counts as unset. Empty when neither can be told.
std::filesystem::path defaultRecordFile();

// A meeting name without the blanks and line breaks a page leaves around it ("SCONE\n"): the
// name the record keeps.
std::string_view cleanName(std::string_view name);

// What a save has to tell the punter, in order: the notice of a corrupt file set aside, and
// "not recorded: <cause>" when nothing was written, once (failureSaid remembers it was said).
std::vector<std::string> savedLines(const Record::Saved& saved, bool& failureSaid);

}  // namespace selvane::record
