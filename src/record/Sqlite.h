#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace selvane::record {

// A failed SQLite call: its result code and SQLite's own message.
struct SqliteError : std::runtime_error {
    SqliteError(int code, const std::string& message) : std::runtime_error(message), code(code) {}
    int code;
    // The primary code: SQLITE_BUSY, SQLITE_CORRUPT, SQLITE_NOTADB...
    int primary() const { return code & 0xFF; }
};

class Statement;

// libsqlite3 is loaded with the first connection opened, not with the program: most commands
// never open the record, and the library's loading would cost every start.

// One connection, closed with the object.
class Database {
public:
    // flags: SQLITE_OPEN_READWRITE and maybe SQLITE_OPEN_CREATE.
    Database(const std::string& path, int flags);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Runs one or more statements that return no rows.
    void exec(const char* sql);
    Statement prepare(std::string_view sql);
    std::int64_t lastInsertId() const;
    // The first column of the first row of a one-row query.
    std::int64_t queryInt(const char* sql);
    [[noreturn]] void fail(int code) const;

    // How long a statement waits for another connection's lock before it fails as busy.
    void setBusyTimeout(int milliseconds);
    // Closing leaves the WAL as it is instead of checkpointing it.
    void keepLogOnClose();
    // hook(arg, pages) after each commit, with the pages the WAL then holds.
    void onCommit(void (*hook)(void* arg, int pages), void* arg);
    // Checkpoints the WAL and cuts it to nothing, waiting for nobody: with a reader in the way it
    // stays a plain checkpoint.
    void truncateLog();
    // Ends the open transaction, if any, keeping the error that ended it.
    void rollbackQuietly();

private:
    friend class Statement;
    sqlite3* handle() const { return db_; }

    sqlite3* db_ = nullptr;
    int busyTimeout_ = 0;
    void (*commitHook_)(void*, int) = nullptr;
    void* commitArg_ = nullptr;
};

// A prepared statement; reset when it is bound again, finalised with the object.
class Statement {
public:
    Statement(Database& db, std::string_view sql);
    ~Statement();
    Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) { other.stmt_ = nullptr; }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Clears the last run and binds values to ?1, ?2, ... in order.
    template <typename... Values>
    Statement& bindAll(const Values&... values) {
        reset();
        int i = 0;
        (bind(++i, values), ...);
        return *this;
    }
    void bind(int index, std::int64_t value);
    void bind(int index, int value) { bind(index, static_cast<std::int64_t>(value)); }
    void bind(int index, double value);
    void bind(int index, std::string_view value);
    void bind(int index, const std::string& value) { bind(index, std::string_view(value)); }
    void bind(int index, const char* value) { bind(index, std::string_view(value)); }
    // An empty optional binds NULL.
    void bind(int index, const std::optional<std::string>& value);
    void reset();

    // Steps once: true while there is a row.
    bool step();
    // Runs a statement that returns no rows.
    void run() { step(); }

    std::int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;
    bool isNull(int column) const;

private:
    Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace selvane::record
