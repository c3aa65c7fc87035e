#include "record/Sqlite.h"

namespace selvane::record {

Database::Database(const std::string& path, int flags) {
    const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw SqliteError(rc, message);
    }
    sqlite3_extended_result_codes(db_, 1);
}

Database::~Database() { sqlite3_close(db_); }

void Database::fail(int code) const { throw SqliteError(code, sqlite3_errmsg(db_)); }

void Database::exec(const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &message);
    if (rc == SQLITE_OK) return;
    const std::string text = message ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    throw SqliteError(rc, text);
}

Statement Database::prepare(std::string_view sql) { return Statement(*this, sql); }

std::int64_t Database::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

std::int64_t Database::queryInt(const char* sql) {
    Statement s(*this, sql);
    return s.step() ? s.integer(0) : 0;
}

Statement::Statement(Database& db, std::string_view sql) : db_(db) {
    const int rc = sqlite3_prepare_v3(db.handle(), sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                      &stmt_, nullptr);
    if (rc != SQLITE_OK) db.fail(rc);
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void Statement::bind(int index, std::int64_t value) {
    if (const int rc = sqlite3_bind_int64(stmt_, index, value); rc != SQLITE_OK) db_.fail(rc);
}

void Statement::bind(int index, double value) {
    if (const int rc = sqlite3_bind_double(stmt_, index, value); rc != SQLITE_OK) db_.fail(rc);
}

void Statement::bind(int index, std::string_view value) {
    const int rc = sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) db_.fail(rc);
}

void Statement::bind(int index, const std::optional<std::string>& value) {
    if (value) return bind(index, std::string_view(*value));
    if (const int rc = sqlite3_bind_null(stmt_, index); rc != SQLITE_OK) db_.fail(rc);
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    // The statement's error is also the connection's; reset keeps it for the message.
    const std::string message = sqlite3_errmsg(db_.handle());
    sqlite3_reset(stmt_);
    throw SqliteError(rc, message);
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

double Statement::real(int column) const { return sqlite3_column_double(stmt_, column); }

std::string Statement::text(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
}

bool Statement::isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

}  // namespace selvane::record
