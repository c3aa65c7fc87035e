#include "record/Schema.h"

#include <string>

namespace selvane::record {
namespace {

// Step n takes a file from version n - 1 to n. Steps are never edited once released: a change
// is a new step.
const char* const kSteps[] = {
    // 1: meetings, races, fields, tip runs, price fetches and result states.
    R"(
CREATE TABLE fetch (
  id INTEGER PRIMARY KEY,
  fetched_at TEXT NOT NULL,
  address TEXT NOT NULL
);
CREATE TABLE meeting (
  id INTEGER PRIMARY KEY,
  date TEXT NOT NULL,
  name TEXT NOT NULL,
  track_key TEXT NOT NULL,
  link TEXT NOT NULL DEFAULT '',
  tote_code TEXT NOT NULL DEFAULT '',
  fetch_id INTEGER REFERENCES fetch(id),
  UNIQUE (date, name)
);
CREATE INDEX meeting_track ON meeting(track_key, date);
CREATE TABLE race (
  id INTEGER PRIMARY KEY,
  meeting_id INTEGER NOT NULL REFERENCES meeting(id),
  number INTEGER NOT NULL,
  time TEXT NOT NULL DEFAULT '',
  track TEXT NOT NULL DEFAULT '',
  length TEXT NOT NULL DEFAULT '',
  UNIQUE (meeting_id, number)
);
CREATE TABLE field (
  id INTEGER PRIMARY KEY,
  race_id INTEGER NOT NULL REFERENCES race(id),
  fetch_id INTEGER NOT NULL REFERENCES fetch(id)
);
CREATE INDEX field_race ON field(race_id, id);
CREATE TABLE runner (
  field_id INTEGER NOT NULL REFERENCES field(id),
  position INTEGER NOT NULL,
  number TEXT NOT NULL,
  form TEXT NOT NULL,
  name TEXT NOT NULL,
  jockey TEXT NOT NULL,
  weight TEXT NOT NULL,
  barrier TEXT NOT NULL,
  emergency INTEGER NOT NULL,
  PRIMARY KEY (field_id, position)
) WITHOUT ROWID;
CREATE TABLE tip_run (
  id INTEGER PRIMARY KEY,
  race_id INTEGER NOT NULL REFERENCES race(id),
  field_id INTEGER REFERENCES field(id),
  tipped_at TEXT NOT NULL,
  engine_version INTEGER NOT NULL,
  best_bet TEXT NOT NULL,
  warning TEXT NOT NULL,
  stopped TEXT NOT NULL,
  ticked TEXT NOT NULL
);
CREATE INDEX tip_run_race ON tip_run(race_id, id);
CREATE TABLE tip (
  tip_run_id INTEGER NOT NULL REFERENCES tip_run(id),
  place INTEGER NOT NULL,
  number TEXT NOT NULL,
  name TEXT NOT NULL,
  win_percent INTEGER NOT NULL,
  rank_value REAL NOT NULL,
  working TEXT NOT NULL,
  PRIMARY KEY (tip_run_id, place)
) WITHOUT ROWID;
CREATE TABLE price_fetch (
  id INTEGER PRIMARY KEY,
  race_id INTEGER NOT NULL REFERENCES race(id),
  fetch_id INTEGER NOT NULL REFERENCES fetch(id)
);
CREATE INDEX price_fetch_race ON price_fetch(race_id, id);
CREATE TABLE price (
  price_fetch_id INTEGER NOT NULL REFERENCES price_fetch(id),
  position INTEGER NOT NULL,
  number TEXT NOT NULL,
  name TEXT NOT NULL,
  best TEXT NOT NULL,
  aus_tote TEXT NOT NULL,
  stab_win TEXT NOT NULL,
  nsw_win TEXT NOT NULL,
  qld_win TEXT NOT NULL,
  stab_plc TEXT NOT NULL,
  nsw_plc TEXT NOT NULL,
  qld_plc TEXT NOT NULL,
  PRIMARY KEY (price_fetch_id, position)
) WITHOUT ROWID;
CREATE TABLE result (
  race_id INTEGER PRIMARY KEY REFERENCES race(id),
  fetch_id INTEGER NOT NULL REFERENCES fetch(id),
  state TEXT NOT NULL,
  placings TEXT
);
)",
    // 2: the dividends and scratchings of a race's result page; each tip run's runners in place
    // order beside it, so that a season's races are listed without a look-up per race.
    R"(
CREATE TABLE dividend (
  race_id INTEGER NOT NULL REFERENCES race(id),
  position INTEGER NOT NULL,
  bet TEXT NOT NULL CHECK (bet IN ('win', 'place', 'quinella', 'exacta', 'trifecta', 'firstFour')),
  runners TEXT NOT NULL,
  cents INTEGER NOT NULL,
  fetch_id INTEGER NOT NULL REFERENCES fetch(id),
  PRIMARY KEY (race_id, position)
) WITHOUT ROWID;
CREATE TABLE scratching (
  race_id INTEGER NOT NULL REFERENCES race(id),
  number INTEGER NOT NULL,
  fetch_id INTEGER NOT NULL REFERENCES fetch(id),
  PRIMARY KEY (race_id, number)
) WITHOUT ROWID;
ALTER TABLE tip_run ADD COLUMN tips TEXT NOT NULL DEFAULT '';
UPDATE tip_run SET tips = coalesce(
  (SELECT group_concat(number, ' ') FROM (SELECT number FROM tip WHERE tip_run_id = tip_run.id ORDER BY place)), '');
)",
    // 3: the places of a dead heat beside the finishing order; meeting names without the line
    // feed past dates' pages leave after them, so that their first word is the track again.
    R"(
ALTER TABLE result ADD COLUMN places TEXT;
UPDATE OR IGNORE meeting SET name = trim(name, ' ' || char(9, 10, 13));
UPDATE meeting SET track_key = trim(track_key, ' ' || char(9, 10, 13));
)",
};

}  // namespace

void migrate(Database& db) {
    const int version = static_cast<int>(db.queryInt("PRAGMA user_version"));
    if (version == kSchemaVersion) return;
    if (version > kSchemaVersion)
        throw SqliteError(SQLITE_ERROR, "the record was written by a newer Selvane (schema version " +
                                            std::to_string(version) + ")");
    db.exec("BEGIN IMMEDIATE");
    try {
        // Another process may have migrated it while this one waited for the lock.
        const int now = static_cast<int>(db.queryInt("PRAGMA user_version"));
        for (int step = now + 1; step <= kSchemaVersion; ++step) db.exec(kSteps[step - 1]);
        db.exec(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
        db.exec("COMMIT");
    } catch (...) {
        db.rollbackQuietly();
        throw;
    }
}

}  // namespace selvane::record
