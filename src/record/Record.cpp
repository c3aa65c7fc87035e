#include "record/Record.h"

#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <thread>
#include <tuple>
#include <unordered_map>

#include "record/Schema.h"
#include "record/Sqlite.h"

namespace selvane::record {

namespace fs = std::filesystem;

std::string_view cleanName(std::string_view name) {
    const std::size_t start = name.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return {};
    return name.substr(start, name.find_last_not_of(" \t\r\n") - start + 1);
}

namespace {

// A meeting name's first word in capitals: how the track box and TRACK arguments name it.
std::string trackKey(std::string_view name) {
    name = cleanName(name);
    std::string key(name.substr(0, name.find(' ')));
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

std::string joined(const std::vector<int>& numbers, char separator) {
    std::string text;
    for (int n : numbers) text += (text.empty() ? "" : std::string(1, separator)) + std::to_string(n);
    return text;
}

std::vector<int> numbersOf(const std::string& text, char separator) {
    std::vector<int> numbers;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::string::npos) end = text.size();
        numbers.push_back(std::atoi(text.substr(start, end - start).c_str()));
        start = end + 1;
    }
    return numbers;
}

// A tip run's runners, first tip first: "11 9 17 8 15".
std::string tipNumbers(const TipRun& run) {
    std::string text;
    for (const Tip& t : run.tips) text += (text.empty() ? "" : " ") + t.number;
    return text;
}

std::string joinedTexts(const std::vector<std::string>& texts) {
    std::string text;
    for (const std::string& t : texts) text += (text.empty() ? "" : " ") + t;
    return text;
}

std::vector<std::string> textsOf(const std::string& text) {
    std::vector<std::string> texts;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) texts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return texts;
}

// Damage SQLite can tell: not a database at all, or a damaged one.
bool isCorrupt(const SqliteError& e) { return e.primary() == SQLITE_CORRUPT || e.primary() == SQLITE_NOTADB; }

std::string localStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// The statements a save runs. Each is prepared once per connection, ahead of the save when the
// record is opened ahead.
constexpr const char* kInsertFetch = "INSERT INTO fetch (fetched_at, address) VALUES (?1, ?2)";
constexpr const char* kUpsertMeeting =
    "INSERT INTO meeting (date, name, track_key) VALUES (?1, ?2, ?3) "
    "ON CONFLICT (date, name) DO UPDATE SET name = name RETURNING id";
constexpr const char* kUpsertRace =
    "INSERT INTO race (meeting_id, number) VALUES (?1, ?2) "
    "ON CONFLICT (meeting_id, number) DO UPDATE SET number = number RETURNING id";
constexpr const char* kReadDay =
    "SELECT m.id, m.name, m.link, m.tote_code, r.id, r.number, r.time, r.track, r.length "
    "FROM meeting m LEFT JOIN race r ON r.meeting_id = m.id WHERE m.date = ?1";
constexpr const char* kSetMeetingLink = "UPDATE meeting SET link = ?2, fetch_id = ?3 WHERE id = ?1";
constexpr const char* kSetToteCode = "UPDATE meeting SET tote_code = ?2 WHERE id = ?1";
constexpr const char* kUpsertRaceInfo =
    "INSERT INTO race (meeting_id, number, time, track, length) VALUES (?1, ?2, ?3, ?4, ?5) "
    "ON CONFLICT (meeting_id, number) DO UPDATE SET time = excluded.time, track = excluded.track, "
    "length = excluded.length WHERE (time, track, length) IS NOT (excluded.time, excluded.track, excluded.length)";
constexpr const char* kInsertField = "INSERT INTO field (race_id, fetch_id) VALUES (?1, ?2)";
constexpr const char* kInsertRunner =
    "INSERT INTO runner (field_id, position, number, form, name, jockey, weight, barrier, emergency) "
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)";
constexpr const char* kInsertTipRun =
    "INSERT INTO tip_run (race_id, field_id, tipped_at, engine_version, best_bet, warning, stopped, ticked, tips) "
    "VALUES (?1, (SELECT max(id) FROM field WHERE race_id = ?1), ?2, ?3, ?4, ?5, ?6, ?7, ?8)";
constexpr const char* kInsertTip =
    "INSERT INTO tip (tip_run_id, place, number, name, win_percent, rank_value, working) "
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)";
constexpr const char* kInsertPriceFetch = "INSERT INTO price_fetch (race_id, fetch_id) VALUES (?1, ?2)";
constexpr const char* kInsertPrice =
    "INSERT INTO price (price_fetch_id, position, number, name, best, aus_tote, stab_win, nsw_win, qld_win, "
    "stab_plc, nsw_plc, qld_plc) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)";
constexpr const char* kUpsertResult =
    "INSERT INTO result (race_id, fetch_id, state, placings, places) VALUES (?1, ?2, ?3, ?4, ?5) "
    "ON CONFLICT (race_id) DO UPDATE SET fetch_id = excluded.fetch_id, state = excluded.state, "
    "placings = excluded.placings, places = excluded.places";
constexpr const char* kDeleteDividends = "DELETE FROM dividend WHERE race_id = ?1";
constexpr const char* kDeleteScratchings = "DELETE FROM scratching WHERE race_id = ?1";
constexpr const char* kInsertDividend =
    "INSERT INTO dividend (race_id, position, bet, runners, cents, fetch_id) VALUES (?1, ?2, ?3, ?4, ?5, ?6)";
constexpr const char* kInsertScratching = "INSERT OR IGNORE INTO scratching (race_id, number, fetch_id) VALUES (?1, ?2, ?3)";

// What every save of a race command runs: a meeting day read back, a field, tips and results.
// What runs only when something changed is prepared when it does.
constexpr const char* kRaceStatements[] = {kInsertFetch, kReadDay,      kSetMeetingLink, kInsertField,
                                           kInsertRunner, kInsertTipRun, kInsertTip,      kUpsertResult};

}  // namespace

// A commit that grows the WAL past this many pages (of 4 KiB; a race command writes about ten)
// checkpoints it on the spot, syncs and all.
constexpr int kCheckpointPages = 500;
// A record opened ahead checkpoints a WAL past this many pages there, off the command's way: the
// next opener then reads back only what came since.
constexpr int kCheckpointAheadPages = 64;

struct Record::Connection {
    Connection(const fs::path& file, int flags, std::chrono::milliseconds timeout) : db(file.string(), flags) {
        db.setBusyTimeout(static_cast<int>(timeout.count()));
        // Closing the last connection would checkpoint and sync two files on every command: the
        // WAL stays instead, for the next opener to read back, until a commit grows it past
        // kCheckpointPages.
        db.keepLogOnClose();
        db.onCommit(checkpointLongLog, this);
        // WAL: readers never wait for the writer and a killed writer leaves the last commit whole.
        // NORMAL still survives a killed process; only a power cut may lose the last commits.
        db.exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; PRAGMA foreign_keys = ON;");
        migrate(db);
    }

    // Every opener reads the whole WAL back, and a checkpoint does not shorten it: one that has
    // grown is checkpointed and cut to nothing, so the next command starts from an empty one.
    // Not waiting for readers (another program's open read): then it stays a plain checkpoint
    // and a later commit tries again.
    static void checkpointLongLog(void* self, int pages) {
        if (pages >= kCheckpointPages) static_cast<Connection*>(self)->db.truncateLog();
    }

    void truncateLogLongerThan(const fs::path& file, int pages) {
        std::error_code ec;
        const std::uintmax_t bytes = fs::file_size(file.string() + "-wal", ec);
        // A frame is a page and its 24-byte header, after the file's 32-byte header.
        if (!ec && bytes > 32 + static_cast<std::uintmax_t>(pages) * (db.queryInt("PRAGMA page_size") + 24))
            db.truncateLog();
    }

    Statement& statement(const char* sql) {
        auto it = statements.find(sql);
        if (it == statements.end()) it = statements.emplace(sql, db.prepare(sql)).first;
        return it->second;
    }

    Database db;
    std::unordered_map<const char*, Statement> statements;
};

Record::Record(fs::path file, Options options) : file_(std::move(file)), options_(options) {}

Record::~Record() {
    awaitOpening();
    if (openingThread_.joinable()) openingThread_.join();
}

void Record::openAhead(const Opener& run) {
    if (connection_ || opening_.valid()) return;
    auto opening = std::make_shared<std::packaged_task<void()>>([this] {
        std::error_code ec;
        if (!fs::exists(file_, ec)) return;
        try {
            Connection& c = connection(false);
            for (const char* sql : kRaceStatements) c.statement(sql);
            c.truncateLogLongerThan(file_, kCheckpointAheadPages);
        } catch (...) {
            connection_.reset();
        }
    });
    opening_ = opening->get_future();
    // Once the opening has run the caller's thread touches nothing of this record.
    if (run)
        run([opening] { (*opening)(); });
    else
        openingThread_ = std::thread([opening] { (*opening)(); });
}

void Record::awaitOpening() {
    if (opening_.valid()) opening_.get();
}

std::string Record::failure(const std::string& cause) const { return file_.string() + ": " + cause; }

Record::Connection& Record::connection(bool create) {
    if (connection_) return *connection_;
    int flags = SQLITE_OPEN_READWRITE;
    if (create) {
        flags |= SQLITE_OPEN_CREATE;
        std::error_code ec;
        if (file_.has_parent_path()) fs::create_directories(file_.parent_path(), ec);
    }
    connection_ = std::make_unique<Connection>(file_, flags, options_.busyTimeout);
    return *connection_;
}

std::string Record::setAside() {
    connection_.reset();
    std::string aside = file_.string() + ".corrupt-" + localStamp();
    std::error_code ec;
    for (int n = 2; fs::exists(aside, ec); ++n) aside = file_.string() + ".corrupt-" + localStamp() + "-" + std::to_string(n);
    fs::rename(file_, aside, ec);
    if (ec) throw SqliteError(SQLITE_CANTOPEN, "cannot set the damaged record aside: " + ec.message());
    // The journal files belong to the damaged file and go with it.
    for (const char* suffix : {"-wal", "-shm"}) {
        const fs::path journal = file_.string() + suffix;
        if (fs::exists(journal, ec)) fs::rename(journal, aside + suffix, ec);
    }
    return aside;
}

Record::Saved Record::save(const Batch& batch) {
    awaitOpening();
    Saved saved;
    if (batch.empty()) {
        saved.ok = true;
        return saved;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            Connection& c = connection(true);
            c.db.exec("BEGIN IMMEDIATE");
            try {
                writeBatch(c, batch);
                c.db.exec("COMMIT");
            } catch (...) {
                c.db.rollbackQuietly();
                throw;
            }
            saved.ok = true;
            return saved;
        } catch (const SqliteError& e) {
            if (attempt == 0 && isCorrupt(e)) {
                try {
                    const std::string aside = setAside();
                    saved.notice = "the record " + file_.string() + " is damaged (" + e.what() + "): kept as " +
                                   aside + ", and a new record started in " + file_.string();
                    continue;
                } catch (const SqliteError& moved) {
                    saved.cause = failure(moved.what());
                    return saved;
                }
            }
            // A connection that failed to open is tried afresh next time.
            if (connection_ && e.primary() != SQLITE_BUSY) connection_.reset();
            saved.cause = failure(e.what());
            return saved;
        } catch (const std::exception& e) {
            saved.cause = failure(e.what());
            return saved;
        }
    }
    return saved;
}

void Record::writeBatch(Connection& c, const Batch& batch) {
    std::map<std::pair<std::string, std::string>, std::int64_t> fetches;
    auto fetchId = [&](const Fetch& f) {
        auto [it, added] = fetches.try_emplace({f.at, f.address}, 0);
        if (added) {
            c.statement(kInsertFetch).bindAll(f.at, f.address).run();
            it->second = c.db.lastInsertId();
        }
        return it->second;
    };
    // Ids by (date, name) and by race key, as the batch met or made them.
    std::map<std::pair<std::string, std::string>, std::int64_t> meetingIds;
    std::map<std::tuple<std::string, std::string, int>, std::int64_t> raceIds;
    auto meetingId = [&](const std::string& date, std::string_view page) {
        const std::string name(cleanName(page));
        auto [it, added] = meetingIds.try_emplace({date, name}, 0);
        if (added) {
            Statement& s = c.statement(kUpsertMeeting);
            s.bindAll(date, name, trackKey(name)).step();
            it->second = s.integer(0);
            s.reset();
        }
        return it->second;
    };
    auto raceId = [&](const RaceKey& key) {
        const std::int64_t meeting = meetingId(key.date, key.meeting);
        auto [it, added] = raceIds.try_emplace({key.date, std::string(cleanName(key.meeting)), key.race}, 0);
        if (added) {
            Statement& s = c.statement(kUpsertRace);
            s.bindAll(meeting, key.race).step();
            it->second = s.integer(0);
            s.reset();
        }
        return it->second;
    };

    for (const MeetingDay& day : batch.meetingDays) {
        // What the record holds of the date already: a meeting page fetched again mostly lists
        // the same meetings and races, which need no write but the fetch that saw them.
        struct Held {
            std::string link, toteCode;
            std::map<int, std::tuple<std::string, std::string, std::string>> races;  // time, track, length
        };
        std::map<std::int64_t, Held> held;
        Statement& s = c.statement(kReadDay);
        s.bindAll(day.date);
        while (s.step()) {
            const std::int64_t id = s.integer(0);
            meetingIds[{day.date, s.text(1)}] = id;
            Held& h = held[id];
            h.link = s.text(2);
            h.toteCode = s.text(3);
            if (s.isNull(4)) continue;
            raceIds[{day.date, s.text(1), static_cast<int>(s.integer(5))}] = s.integer(4);
            h.races[static_cast<int>(s.integer(5))] = {s.text(6), s.text(7), s.text(8)};
        }
        s.reset();

        const std::int64_t fetch = fetchId(day.fetch);
        for (const Meeting& m : day.meetings) {
            const std::int64_t meeting = meetingId(day.date, m.name);
            const Held& h = held[meeting];
            c.statement(kSetMeetingLink).bindAll(meeting, m.link, fetch).run();
            if (!m.toteCode.empty() && m.toteCode != h.toteCode)
                c.statement(kSetToteCode).bindAll(meeting, m.toteCode).run();
            for (const RaceInfo& r : m.races) {
                const auto was = h.races.find(r.number);
                if (was != h.races.end() && was->second == std::tie(r.time, r.track, r.length)) continue;
                c.statement(kUpsertRaceInfo).bindAll(meeting, r.number, r.time, r.track, r.length).run();
            }
        }
    }
    for (const Field& f : batch.fields) {
        c.statement(kInsertField).bindAll(raceId(f.race), fetchId(f.fetch)).run();
        const std::int64_t field = c.db.lastInsertId();
        int position = 0;
        for (const Runner& r : f.runners)
            c.statement(kInsertRunner)
                .bindAll(field, ++position, r.number, r.form, r.name, r.jockey, r.weight, r.barrier, r.emergency ? 1 : 0)
                .run();
    }
    for (const TipRun& t : batch.tipRuns) {
        c.statement(kInsertTipRun)
            .bindAll(raceId(t.race), t.at, t.engineVersion, t.bestBet, t.warning, t.stopped, joinedTexts(t.ticked),
                     tipNumbers(t))
            .run();
        const std::int64_t run = c.db.lastInsertId();
        for (const Tip& tip : t.tips)
            c.statement(kInsertTip).bindAll(run, tip.place, tip.number, tip.name, tip.winPercent, tip.rankValue, tip.working).run();
    }
    for (const PriceFetch& p : batch.prices) {
        c.statement(kInsertPriceFetch).bindAll(raceId(p.race), fetchId(p.fetch)).run();
        const std::int64_t priceFetch = c.db.lastInsertId();
        int position = 0;
        for (const PriceRow& r : p.rows) {
            const auto& x = r.prices;
            c.statement(kInsertPrice)
                .bindAll(priceFetch, ++position, r.number, r.name, r.best, x[0], x[1], x[2], x[3], x[4], x[5], x[6])
                .run();
        }
    }
    std::map<std::int64_t, std::string> toteCodes;  // written by this batch's results
    for (const Result& r : batch.results) {
        const std::int64_t race = raceId(r.race);
        c.statement(kUpsertResult)
            .bindAll(race, fetchId(r.fetch), r.state,
                     r.placings ? std::optional(joined(*r.placings, ',')) : std::optional<std::string>(),
                     r.places.empty() ? std::optional<std::string>() : std::optional(joined(r.places, ',')))
            .run();
        const std::int64_t meeting = meetingId(r.race.date, r.race.meeting);
        if (!r.toteCode.empty() && toteCodes[meeting] != r.toteCode) {
            c.statement(kSetToteCode).bindAll(meeting, r.toteCode).run();
            toteCodes[meeting] = r.toteCode;
        }
    }
    for (const Dividends& d : batch.dividends) {
        const std::int64_t race = raceId(d.race), fetch = fetchId(d.fetch);
        c.statement(kDeleteDividends).bindAll(race).run();
        c.statement(kDeleteScratchings).bindAll(race).run();
        int position = 0;
        for (const Dividend& x : d.dividends)
            c.statement(kInsertDividend).bindAll(race, ++position, x.bet, joined(x.runners, '-'), x.cents, fetch).run();
        for (int n : d.scratched) c.statement(kInsertScratching).bindAll(race, n, fetch).run();
    }
}

std::vector<RaceSummary> Record::races(const RaceQuery& q) {
    awaitOpening();
    std::vector<RaceSummary> races;
    std::error_code ec;
    if (!connection_ && !fs::exists(file_, ec)) return races;
    try {
        Connection& c = connection(false);
        // The last tip run of each race and the result.
        Statement& s = c.statement(R"(
SELECT r.id, m.date, m.name, r.number, r.time, r.track, r.length, tr.tips, tr.best_bet, res.state, res.placings
FROM meeting m JOIN race r ON r.meeting_id = m.id
LEFT JOIN tip_run tr ON tr.id = (SELECT max(t.id) FROM tip_run t WHERE t.race_id = r.id)
LEFT JOIN result res ON res.race_id = r.id
WHERE m.date BETWEEN ?1 AND ?2 AND (?3 = '' OR m.track_key = ?3) AND (?4 = 0 OR r.number = ?4)
ORDER BY m.date, m.name, r.number)");
        s.bindAll(q.from, q.to, trackKey(q.track), q.race);
        while (s.step()) {
            RaceSummary r;
            r.id = s.integer(0);
            r.key = RaceKey{s.text(1), s.text(2), static_cast<int>(s.integer(3))};
            r.time = s.text(4);
            r.track = s.text(5);
            r.length = s.text(6);
            r.tips = textsOf(s.text(7));
            r.bestBet = s.text(8);
            r.state = s.text(9);
            if (!s.isNull(10)) r.placings = numbersOf(s.text(10), ',');
            races.push_back(std::move(r));
        }
        s.reset();
    } catch (const SqliteError& e) {
        throw RecordError(failure(e.what()));
    }
    return races;
}

RaceDetail Record::detail(const RaceSummary& race) {
    awaitOpening();
    RaceDetail d;
    d.summary = race;
    const RaceKey& key = race.key;
    try {
        Connection& c = connection(false);
        Statement& field = c.statement(
            "SELECT f.id, x.fetched_at, x.address FROM field f JOIN fetch x ON x.id = f.fetch_id "
            "WHERE f.race_id = ?1 ORDER BY f.id DESC LIMIT 1");
        if (field.bindAll(race.id).step()) {
            Field f{key, Fetch{field.text(1), field.text(2)}, {}};
            Statement& runners = c.statement(
                "SELECT number, form, name, jockey, weight, barrier, emergency FROM runner WHERE field_id = ?1 "
                "ORDER BY position");
            runners.bindAll(field.integer(0));
            while (runners.step())
                f.runners.push_back(Runner{runners.text(0), runners.text(1), runners.text(2), runners.text(3),
                                           runners.text(4), runners.text(5), runners.integer(6) != 0});
            d.field = std::move(f);
        }
        field.reset();

        Statement& runs = c.statement(
            "SELECT id, tipped_at, engine_version, best_bet, warning, stopped, ticked FROM tip_run WHERE race_id = ?1 "
            "ORDER BY id");
        runs.bindAll(race.id);
        while (runs.step()) {
            TipRun t{key, runs.text(1), static_cast<int>(runs.integer(2)), {}, runs.text(3), runs.text(4),
                     runs.text(5), textsOf(runs.text(6))};
            Statement& tips = c.statement(
                "SELECT place, number, name, win_percent, rank_value, working FROM tip WHERE tip_run_id = ?1 "
                "ORDER BY place");
            tips.bindAll(runs.integer(0));
            while (tips.step())
                t.tips.push_back(Tip{static_cast<int>(tips.integer(0)), tips.text(1), tips.text(2),
                                     static_cast<int>(tips.integer(3)), tips.real(4), tips.text(5)});
            d.tipRuns.push_back(std::move(t));
        }

        Statement& fetches = c.statement(
            "SELECT p.id, x.fetched_at, x.address FROM price_fetch p JOIN fetch x ON x.id = p.fetch_id "
            "WHERE p.race_id = ?1 ORDER BY p.id");
        fetches.bindAll(race.id);
        while (fetches.step()) {
            PriceFetch p{key, Fetch{fetches.text(1), fetches.text(2)}, {}};
            Statement& rows = c.statement(
                "SELECT number, name, best, aus_tote, stab_win, nsw_win, qld_win, stab_plc, nsw_plc, qld_plc "
                "FROM price WHERE price_fetch_id = ?1 ORDER BY position");
            rows.bindAll(fetches.integer(0));
            while (rows.step()) {
                PriceRow r{rows.text(0), rows.text(1), rows.text(2), {}};
                for (int i = 0; i < 7; ++i) r.prices[static_cast<std::size_t>(i)] = rows.text(3 + i);
                p.rows.push_back(std::move(r));
            }
            d.prices.push_back(std::move(p));
        }

        Statement& result = c.statement(
            "SELECT x.fetched_at, x.address, r.state, r.placings IS NOT NULL, m.tote_code, r.places FROM result r "
            "JOIN fetch x ON x.id = r.fetch_id JOIN race ON race.id = r.race_id "
            "JOIN meeting m ON m.id = race.meeting_id WHERE r.race_id = ?1");
        if (result.bindAll(race.id).step())
            d.result = Result{key, Fetch{result.text(0), result.text(1)}, result.text(4), result.text(2),
                              result.integer(3) == 1 ? race.placings : std::nullopt,
                              result.isNull(5) ? std::vector<int>{} : numbersOf(result.text(5), ',')};
        result.reset();

        Statement& dividends = c.statement(
            "SELECT d.bet, d.runners, d.cents, x.fetched_at, x.address FROM dividend d "
            "JOIN fetch x ON x.id = d.fetch_id WHERE d.race_id = ?1 ORDER BY d.position");
        dividends.bindAll(race.id);
        while (dividends.step()) {
            if (!d.dividends) d.dividends = Dividends{key, Fetch{dividends.text(3), dividends.text(4)}, {}, {}};
            d.dividends->dividends.push_back(
                Dividend{dividends.text(0), numbersOf(dividends.text(1), '-'), dividends.integer(2)});
        }
        Statement& scratched = c.statement(
            "SELECT s.number, x.fetched_at, x.address FROM scratching s JOIN fetch x ON x.id = s.fetch_id "
            "WHERE s.race_id = ?1 ORDER BY s.number");
        scratched.bindAll(race.id);
        while (scratched.step()) {
            if (!d.dividends) d.dividends = Dividends{key, Fetch{scratched.text(1), scratched.text(2)}, {}, {}};
            d.dividends->scratched.push_back(static_cast<int>(scratched.integer(0)));
        }
    } catch (const SqliteError& e) {
        throw RecordError(failure(e.what()));
    }
    return d;
}

fs::path defaultRecordFile() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return fs::path(data) / "selvane" / "record.sqlite";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".local" / "share" / "selvane" / "record.sqlite";
    return {};
}

std::vector<std::string> savedLines(const Record::Saved& saved, bool& failureSaid) {
    std::vector<std::string> lines;
    if (!saved.notice.empty()) lines.push_back(saved.notice);
    if (!saved.ok && !failureSaid) {
        failureSaid = true;
        lines.push_back("not recorded: " + saved.cause);
    }
    return lines;
}

}  // namespace selvane::record
