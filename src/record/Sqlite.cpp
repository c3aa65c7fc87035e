#include "record/Sqlite.h"

#include <dlfcn.h>

#include "kit/LoadedLibrary.h"

namespace selvane::record {
namespace {

struct Api {
    decltype(&sqlite3_open_v2) open_v2;
    decltype(&sqlite3_close) close;
    decltype(&sqlite3_errmsg) errmsg;
    decltype(&sqlite3_errstr) errstr;
    decltype(&sqlite3_extended_result_codes) extended_result_codes;
    decltype(&sqlite3_exec) exec;
    decltype(&sqlite3_free) free;
    decltype(&sqlite3_last_insert_rowid) last_insert_rowid;
    decltype(&sqlite3_busy_timeout) busy_timeout;
    decltype(&sqlite3_db_config) db_config;
    decltype(&sqlite3_wal_hook) wal_hook;
    decltype(&sqlite3_wal_checkpoint_v2) wal_checkpoint_v2;
    decltype(&sqlite3_prepare_v3) prepare_v3;
    decltype(&sqlite3_finalize) finalize;
    decltype(&sqlite3_reset) reset;
    decltype(&sqlite3_clear_bindings) clear_bindings;
    decltype(&sqlite3_bind_int64) bind_int64;
    decltype(&sqlite3_bind_double) bind_double;
    decltype(&sqlite3_bind_text) bind_text;
    decltype(&sqlite3_bind_null) bind_null;
    decltype(&sqlite3_step) step;
    decltype(&sqlite3_column_int64) column_int64;
    decltype(&sqlite3_column_double) column_double;
    decltype(&sqlite3_column_text) column_text;
    decltype(&sqlite3_column_bytes) column_bytes;
    decltype(&sqlite3_column_type) column_type;
};

// The loaded library, or why it could not be loaded.
struct Loaded {
    Api api{};
    std::string failure;
};

Loaded load() {
    Loaded l;
    void* library = ::dlopen("libsqlite3.so.0", RTLD_LAZY | RTLD_LOCAL);
    if (!library) {
        const char* why = ::dlerror();
        l.failure = std::string("cannot load SQLite: ") + (why ? why : "libsqlite3.so.0 not found");
        return l;
    }
    Api& a = l.api;
    const bool all =
        resolve(library, a.open_v2, "sqlite3_open_v2") && resolve(library, a.close, "sqlite3_close") &&
        resolve(library, a.errmsg, "sqlite3_errmsg") && resolve(library, a.errstr, "sqlite3_errstr") &&
        resolve(library, a.extended_result_codes, "sqlite3_extended_result_codes") &&
        resolve(library, a.exec, "sqlite3_exec") && resolve(library, a.free, "sqlite3_free") &&
        resolve(library, a.last_insert_rowid, "sqlite3_last_insert_rowid") &&
        resolve(library, a.busy_timeout, "sqlite3_busy_timeout") && resolve(library, a.db_config, "sqlite3_db_config") &&
        resolve(library, a.wal_hook, "sqlite3_wal_hook") &&
        resolve(library, a.wal_checkpoint_v2, "sqlite3_wal_checkpoint_v2") &&
        resolve(library, a.prepare_v3, "sqlite3_prepare_v3") && resolve(library, a.finalize, "sqlite3_finalize") &&
        resolve(library, a.reset, "sqlite3_reset") && resolve(library, a.clear_bindings, "sqlite3_clear_bindings") &&
        resolve(library, a.bind_int64, "sqlite3_bind_int64") && resolve(library, a.bind_double, "sqlite3_bind_double") &&
        resolve(library, a.bind_text, "sqlite3_bind_text") && resolve(library, a.bind_null, "sqlite3_bind_null") &&
        resolve(library, a.step, "sqlite3_step") && resolve(library, a.column_int64, "sqlite3_column_int64") &&
        resolve(library, a.column_double, "sqlite3_column_double") &&
        resolve(library, a.column_text, "sqlite3_column_text") &&
        resolve(library, a.column_bytes, "sqlite3_column_bytes") && resolve(library, a.column_type, "sqlite3_column_type");
    if (!all) l.failure = "cannot load SQLite: libsqlite3.so.0 lacks a function this program calls";
    return l;
}

// Throws SqliteError when the library cannot be loaded; a Database is never made without it.
const Api& sqlite() {
    static const Loaded loaded = load();
    if (!loaded.failure.empty()) throw SqliteError(SQLITE_CANTOPEN, loaded.failure);
    return loaded.api;
}


}  // namespace

Database::Database(const std::string& path, int flags) {
    const int rc = sqlite().open_v2(path.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite().errmsg(db_) : sqlite().errstr(rc);
        sqlite().close(db_);
        db_ = nullptr;
        throw SqliteError(rc, message);
    }
    sqlite().extended_result_codes(db_, 1);
}

Database::~Database() {
    if (db_) sqlite().close(db_);
}

void Database::setBusyTimeout(int milliseconds) {
    busyTimeout_ = milliseconds;
    sqlite().busy_timeout(db_, milliseconds);
}

void Database::keepLogOnClose() { sqlite().db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr); }

void Database::onCommit(void (*hook)(void*, int), void* arg) {
    commitHook_ = hook;
    commitArg_ = arg;
    sqlite().wal_hook(
        db_,
        [](void* self, sqlite3*, const char*, int pages) {
            auto* db = static_cast<Database*>(self);
            db->commitHook_(db->commitArg_, pages);
            return SQLITE_OK;
        },
        this);
}

void Database::truncateLog() {
    sqlite().busy_timeout(db_, 0);
    sqlite().wal_checkpoint_v2(db_, "main", SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    sqlite().busy_timeout(db_, busyTimeout_);
}

void Database::rollbackQuietly() { sqlite().exec(db_, "ROLLBACK", nullptr, nullptr, nullptr); }

void Database::fail(int code) const { throw SqliteError(code, sqlite().errmsg(db_)); }

void Database::exec(const char* sql) {
    char* message = nullptr;
    const int rc = sqlite().exec(db_, sql, nullptr, nullptr, &message);
    if (rc == SQLITE_OK) return;
    const std::string text = message ? message : sqlite().errstr(rc);
    sqlite().free(message);
    throw SqliteError(rc, text);
}

Statement Database::prepare(std::string_view sql) { return Statement(*this, sql); }

std::int64_t Database::lastInsertId() const { return sqlite().last_insert_rowid(db_); }

std::int64_t Database::queryInt(const char* sql) {
    Statement s(*this, sql);
    return s.step() ? s.integer(0) : 0;
}

Statement::Statement(Database& db, std::string_view sql) : db_(db) {
    const int rc = sqlite().prepare_v3(db.handle(), sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                      &stmt_, nullptr);
    if (rc != SQLITE_OK) db.fail(rc);
}

Statement::~Statement() { sqlite().finalize(stmt_); }

void Statement::reset() {
    sqlite().reset(stmt_);
    sqlite().clear_bindings(stmt_);
}

void Statement::bind(int index, std::int64_t value) {
    if (const int rc = sqlite().bind_int64(stmt_, index, value); rc != SQLITE_OK) db_.fail(rc);
}

void Statement::bind(int index, double value) {
    if (const int rc = sqlite().bind_double(stmt_, index, value); rc != SQLITE_OK) db_.fail(rc);
}

void Statement::bind(int index, std::string_view value) {
    const int rc = sqlite().bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) db_.fail(rc);
}

void Statement::bind(int index, const std::optional<std::string>& value) {
    if (value) return bind(index, std::string_view(*value));
    if (const int rc = sqlite().bind_null(stmt_, index); rc != SQLITE_OK) db_.fail(rc);
}

bool Statement::step() {
    const int rc = sqlite().step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    // The statement's error is also the connection's; reset keeps it for the message.
    const std::string message = sqlite().errmsg(db_.handle());
    sqlite().reset(stmt_);
    throw SqliteError(rc, message);
}

std::int64_t Statement::integer(int column) const { return sqlite().column_int64(stmt_, column); }

double Statement::real(int column) const { return sqlite().column_double(stmt_, column); }

std::string Statement::text(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite().column_text(stmt_, column));
    return p ? std::string(p, static_cast<std::size_t>(sqlite().column_bytes(stmt_, column))) : std::string();
}

bool Statement::isNull(int column) const { return sqlite().column_type(stmt_, column) == SQLITE_NULL; }

}  // namespace selvane::record
