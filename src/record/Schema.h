#pragma once

#include "record/Sqlite.h"

namespace selvane::record {

// The schema version this program writes; PRAGMA user_version holds a file's.
inline constexpr int kSchemaVersion = 3;

// Brings a file of any earlier version (0: a new file) up to kSchemaVersion, one step per
// version, all in one transaction. Throws SqliteError; a file newer than this program is refused.
void migrate(Database& db);

}  // namespace selvane::record
