-- The record as version 1 of its schema wrote it: made with sqlite3 record-v1.sqlite < record-v1.sql
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
INSERT INTO fetch VALUES (1, '2026-12-06T02:55:01Z', 'http://127.0.0.1:18765/cgi-bin/tvf/access.pl');
INSERT INTO fetch VALUES (2, '2026-12-06T02:55:02Z', 'http://127.0.0.1:18765/cgi-bin/tvf/memdeliver.pl/scomoqb1.htm?tvf3');
INSERT INTO fetch VALUES (3, '2026-12-06T02:55:03Z', 'http://127.0.0.1:18765/tote/2026/12/06/mtgraces.html');
INSERT INTO fetch VALUES (4, '2026-12-06T02:56:00Z', 'http://127.0.0.1:18765/cgi-bin/tvf/memdispodds.pl/scomoqb1?rto');
INSERT INTO meeting VALUES (1, '2026-12-06', 'SCONE', 'SCONE', 'mscomoqb', 'SC', 1);
INSERT INTO race VALUES (1, 1, 1, '13:10', 'CITY HOTEL 3YO HCP ', '2000m');
INSERT INTO race VALUES (2, 1, 2, '13:40', 'CLASS 3 HCP ', '1000m');
INSERT INTO field VALUES (1, 1, 2);
INSERT INTO runner VALUES (1, 1, '11', '3121', 'COUNTRY CHARM', 'A. Norcott', '56.0', '5', 0);
INSERT INTO runner VALUES (1, 2, '9', '2211', 'STONY LEGEND', 'K. Fenwick', '55.5', '2', 0);
INSERT INTO runner VALUES (1, 3, '19e', '', 'LATE ONE', 'L. Tully', '54.0', '', 1);
INSERT INTO tip_run VALUES (1, 1, 1, '2026-12-06T02:55:02Z', 1, '9', '', '', '');
INSERT INTO tip VALUES (1, 1, '11', 'COUNTRY CHARM', 45, 3.25, 'form 3 1 2 1 -> mean 1.75 + barrier 5 = 6.75');
INSERT INTO tip VALUES (1, 2, '9', 'STONY LEGEND', 32, 3.5, 'form 2 2 1 1 -> mean 1.50 + barrier 2 = 3.50');
INSERT INTO price_fetch VALUES (1, 1, 4);
INSERT INTO price VALUES (1, 1, '11', 'Country Charm', '4.60', '4.50', '4.60', '4.40', '4.50', '1.90', '2.00', '1.80');
INSERT INTO price VALUES (1, 2, '9', 'Stony Legend', 'scr', 'scr', 'scr', 'scr', 'scr', 'scr', 'scr', 'scr');
INSERT INTO result VALUES (1, 3, '18,17,1', '18,17,1');
INSERT INTO result VALUES (2, 3, 'INTERIM', NULL);
PRAGMA user_version = 1;
