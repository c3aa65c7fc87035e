// The record against real SQLite files in a temporary folder: what is saved reads back, the
// queries, the migration from a version-1 file, and every way a write can fail without loss.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "record/Record.h"
#include "record/Sqlite.h"
#include "support/TestSupport.h"

namespace selvane::record {
namespace {

namespace fs = std::filesystem;

// One race seen whole: its meeting day, a field of `runners`, a tip run, a price fetch, a result.
Batch raceBatch(const std::string& date, const std::string& meeting, int race, int runners = 3) {
    const RaceKey key{date, meeting, race};
    const Fetch f{date + "T03:00:00Z", "http://form/" + meeting + std::to_string(race)};
    Batch b;
    b.meetingDays.push_back({date, f, {{meeting, "m" + meeting, "", {{race, "13:10", "MAIDEN ", "1200m"}}}}});
    Field field{key, f, {}};
    PriceFetch prices{key, f, {}};
    for (int n = 1; n <= runners; ++n) {
        const std::string number = std::to_string(n);
        field.runners.push_back({number, "31", "HORSE " + number, "J. Rider", "56.0", number, false});
        prices.rows.push_back({number, "Horse " + number, "4.60", {"4.50", "4.60", "n/a", "4.40", "1.90", "2.00", "scr"}});
    }
    b.fields.push_back(field);
    b.tipRuns.push_back({key, f.at, 1, {{1, "2", "HORSE 2", 45, 3.5, "form 3 1 → mean 2.00 + barrier 2 = 4.00"}},
                         "2", "", "", {"3"}});
    b.prices.push_back(prices);
    b.results.push_back({key, f, "SC", "2,1,3", std::vector<int>{2, 1, 3}});
    return b;
}

std::vector<std::string> keys(const std::vector<RaceSummary>& races) {
    std::vector<std::string> out;
    for (const RaceSummary& r : races) out.push_back(r.key.date + " " + r.key.meeting + " " + std::to_string(r.key.race));
    return out;
}

std::string pragma(const fs::path& file, const char* sql) {
    Database db(file.string(), SQLITE_OPEN_READONLY);
    Statement s = db.prepare(sql);
    return s.step() ? s.text(0) : "";
}

TEST(Record, WhatIsSavedReadsBack) {
    test::TempDir dir;
    Record record(dir.file("r.sqlite"));
    ASSERT_EQ(record.save(raceBatch("2026-12-06", "SCONE", 1)).cause, "");
    // A later command: the field again with a late scratching, new prices, the dividends twice
    // (the second fetch replaces the first whole).
    Batch later = raceBatch("2026-12-06", "SCONE", 1, 2);
    later.meetingDays.clear();
    later.tipRuns[0].tips[0].number = "1";
    later.tipRuns[0].bestBet = "";
    later.dividends.push_back({{"2026-12-06", "SCONE", 1}, {"t", "a"}, {{"win", {9}, 990}}, {}});
    later.dividends.push_back({{"2026-12-06", "SCONE", 1}, {"t2", "b"},
                               {{"win", {2}, 460}, {"place", {2}, 190}, {"trifecta", {2, 1, 3}, 12345}}, {4}});
    ASSERT_EQ(record.save(later).cause, "");

    const std::vector<RaceSummary> races = record.races({"2026-12-06", "2026-12-06", "", 0});
    ASSERT_EQ(keys(races), std::vector<std::string>{"2026-12-06 SCONE 1"});
    EXPECT_EQ(races[0].time, "13:10");
    EXPECT_EQ(races[0].tips, std::vector<std::string>{"1"});  // the last tip run's
    EXPECT_EQ(races[0].bestBet, "");
    EXPECT_EQ(races[0].placings, (std::vector<int>{2, 1, 3}));
    const RaceDetail d = record.detail(races[0]);
    ASSERT_TRUE(d.field.has_value());
    EXPECT_EQ(d.field->runners.size(), 2u);
    ASSERT_EQ(d.tipRuns.size(), 2u);
    EXPECT_EQ(d.tipRuns[0].tips[0].working, "form 3 1 → mean 2.00 + barrier 2 = 4.00");
    EXPECT_EQ(d.tipRuns[0].ticked, std::vector<std::string>{"3"});
    ASSERT_EQ(d.prices.size(), 2u);
    EXPECT_EQ(d.prices[0].rows[2].prices[6], "scr");
    ASSERT_TRUE(d.dividends.has_value());
    EXPECT_EQ(d.dividends->dividends,
              (std::vector<Dividend>{{"win", {2}, 460}, {"place", {2}, 190}, {"trifecta", {2, 1, 3}, 12345}}));
    EXPECT_EQ(d.dividends->scratched, std::vector<int>{4});
    EXPECT_EQ(pragma(record.file(), "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(pragma(record.file(), "PRAGMA user_version"), "3");
}

// The meeting page fetched again: what it changed is written, what it left alone stays, and every
// meeting it listed points at the newer fetch.
TEST(Record, AMeetingPageFetchedAgainChangesOnlyWhatChanged) {
    test::TempDir dir;
    Record record(dir.file("r.sqlite"));
    const auto day = [](const std::string& at, const std::string& link, const std::string& tote, const std::string& time) {
        Batch b;
        b.meetingDays.push_back(
            {"2026-12-06", {at, "http://form/access.pl"},
             {{"SCONE", "mscone", "", {{1, "13:10", "MAIDEN ", "1200m"}, {2, time, "CLASS 1 ", "1400m"}}},
              {"ASCOT", link, tote, {{1, "12:00", "PLATE ", "1000m"}}}}});
        return b;
    };
    ASSERT_EQ(record.save(day("t1", "mascot", "", "13:40")).cause, "");
    Batch again = day("t2", "mascot2", "AS", "13:45");
    again.meetingDays[0].meetings[0].races.push_back({3, "14:10", "BM58 ", "2000m"});
    ASSERT_EQ(record.save(again).cause, "");
    ASSERT_EQ(record.save(day("t3", "mascot2", "", "13:45")).cause, "");  // no tote code: the known one stays

    std::string races;
    for (const RaceSummary& r : record.races({"2026-12-06", "2026-12-06", "", 0}))
        races += r.key.meeting + std::to_string(r.key.race) + " " + r.time + " " + r.track + r.length + "|";
    EXPECT_EQ(races, "ASCOT1 12:00 PLATE 1000m|SCONE1 13:10 MAIDEN 1200m|SCONE2 13:45 CLASS 1 1400m|"
                     "SCONE3 14:10 BM58 2000m|");
    Database db(record.file().string(), SQLITE_OPEN_READONLY);
    Statement s = db.prepare("SELECT group_concat(name || ' ' || link || ' ' || tote_code || ' ' || fetched_at, '|') "
                             "FROM (SELECT * FROM meeting JOIN fetch ON fetch.id = meeting.fetch_id ORDER BY name)");
    ASSERT_TRUE(s.step());
    EXPECT_EQ(s.text(0), "ASCOT mascot2 AS t3|SCONE mscone  t3");
}

TEST(Record, QueriesByDateRangeTrackAndRace) {
    test::TempDir dir;
    Record record(dir.file("r.sqlite"));
    for (const auto& [date, meeting, race] : {std::tuple{"2026-12-05", "SCONE", 2}, {"2026-12-06", "SCONE", 1},
                                              {"2026-12-06", "SCONE PARK", 1}, {"2026-12-06", "ASCOT", 1},
                                              {"2026-12-07", "ASCOT", 3}})
        ASSERT_EQ(record.save(raceBatch(date, meeting, race)).cause, "");
    const struct {
        RaceQuery query;
        std::vector<std::string> races;
    } cases[] = {
        {{"2026-12-06", "2026-12-06", "", 0}, {"2026-12-06 ASCOT 1", "2026-12-06 SCONE 1", "2026-12-06 SCONE PARK 1"}},
        // Both ends are in the range; a track is its first word, in any case.
        {{"2026-12-05", "2026-12-07", "scone", 0}, {"2026-12-05 SCONE 2", "2026-12-06 SCONE 1", "2026-12-06 SCONE PARK 1"}},
        {{"2026-12-05", "2026-12-07", "Ascot Heath", 3}, {"2026-12-07 ASCOT 3"}},
        {{"2026-12-05", "2026-12-07", "", 1}, {"2026-12-06 ASCOT 1", "2026-12-06 SCONE 1", "2026-12-06 SCONE PARK 1"}},
        {{"2026-12-08", "2026-12-31", "", 0}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(keys(record.races(c.query)), c.races) << c.query.from << c.query.track;
    // Reading, or opening ahead, never makes a file.
    Record none(dir.file("none.sqlite"));
    none.openAhead();
    EXPECT_EQ(none.races({"2026-01-01", "2026-12-31", "", 0}).size(), 0u);
    EXPECT_FALSE(fs::exists(dir.file("none.sqlite")));
}

TEST(Record, MigratesAVersionOneFile) {
    test::TempDir dir;
    const fs::path file = dir.file("r.sqlite");
    fs::copy_file(test::dataFile("record/record-v1.sqlite"), file);
    Record record(file);
    const std::vector<RaceSummary> races = record.races({"2026-12-06", "2026-12-06", "scone", 0});
    ASSERT_EQ(keys(races), (std::vector<std::string>{"2026-12-06 SCONE 1", "2026-12-06 SCONE 2"}));
    EXPECT_EQ(races[0].tips, (std::vector<std::string>{"11", "9"}));
    EXPECT_EQ(races[0].placings, (std::vector<int>{18, 17, 1}));
    EXPECT_EQ(races[1].state, "INTERIM");
    EXPECT_EQ(races[1].placings, std::nullopt);
    const RaceDetail d = record.detail(races[0]);
    EXPECT_EQ(d.field->runners[2].number, "19e");
    EXPECT_EQ(d.prices[0].rows[1].best, "scr");
    // The new tables take what the version-1 file could not hold.
    EXPECT_EQ(record.save({{}, {}, {}, {}, {}, {{{"2026-12-06", "SCONE", 1}, {"t", "a"}, {{"win", {18}, 420}}, {}}}})
                  .cause,
              "");
    EXPECT_EQ(pragma(file, "PRAGMA user_version"), "3");
    EXPECT_EQ(pragma(file, "PRAGMA foreign_key_check"), "");
}

// Past dates' meeting pages leave a line feed after the name; a record written before names were
// trimmed holds "WYONG\n", and its races answer to the track as the new ones do.
TEST(Record, MeetingNamesWrittenWithALineFeedAnswerToTheirTrack) {
    test::TempDir dir;
    const fs::path file = dir.file("r.sqlite");
    ASSERT_EQ(Record(file).save(raceBatch("2026-12-05", "WYONG", 1)).cause, "");
    {
        Database db(file.string(), SQLITE_OPEN_READWRITE);
        db.exec("UPDATE meeting SET name = name || char(10), track_key = track_key || char(10)");
        db.exec("ALTER TABLE result DROP COLUMN places");
        db.exec("PRAGMA user_version = 2");
    }
    Record record(file);
    ASSERT_EQ(record.save(raceBatch("2026-12-06", "WYONG\n", 1)).cause, "");
    ASSERT_EQ(record.save(raceBatch("2026-12-05", " WYONG\r\n", 2)).cause, "");
    EXPECT_EQ(keys(record.races({"2026-12-01", "2026-12-31", "wyong", 0})),
              (std::vector<std::string>{"2026-12-05 WYONG 1", "2026-12-05 WYONG 2", "2026-12-06 WYONG 1"}));
    // A dead heat's places come back beside the finishing order.
    Batch deadHeat;
    deadHeat.results.push_back({{"2026-12-06", "WYONG", 1}, {"t", "a"}, "SC", "2,1,3", std::vector<int>{2, 1, 3}, {1, 1, 3}});
    ASSERT_EQ(record.save(deadHeat).cause, "");
    const std::vector<RaceSummary> races = record.races({"2026-12-06", "2026-12-06", "", 0});
    EXPECT_EQ(record.detail(races.at(0)).result->places, (std::vector<int>{1, 1, 3}));
}

TEST(Record, AWriteThatFailsSaysWhyAndLosesNothingEarlier) {
    test::TempDir dir;
    const fs::path file = dir.file("r.sqlite");
    ASSERT_EQ(Record(file).save(raceBatch("2026-12-05", "SCONE", 1)).cause, "");
    Record record(file, Record::Options{std::chrono::milliseconds(50)});
    {
        // Another writer holds the lock past the timeout.
        Database other(file.string(), SQLITE_OPEN_READWRITE);
        other.exec("BEGIN IMMEDIATE");
        EXPECT_EQ(record.save(raceBatch("2026-12-06", "SCONE", 1)).cause, file.string() + ": database is locked");
    }
    EXPECT_EQ(record.save(raceBatch("2026-12-06", "SCONE", 1)).cause, "");

    fs::create_directory(dir.file("folder"));
    EXPECT_EQ(Record(dir.file("folder")).save(raceBatch("2026-12-06", "A", 1)).cause,
              dir.file("folder") + ": unable to open database file");
    {
        Database db(file.string(), SQLITE_OPEN_READWRITE);
        db.exec("PRAGMA user_version = 9");
    }
    EXPECT_EQ(Record(file).save(raceBatch("2026-12-07", "A", 1)).cause,
              file.string() + ": the record was written by a newer Selvane (schema version 9)");
    Database db(file.string(), SQLITE_OPEN_READWRITE);
    db.exec("PRAGMA user_version = 3");
    EXPECT_EQ(keys(Record(file).races({"2026-12-01", "2026-12-31", "", 0})),
              (std::vector<std::string>{"2026-12-05 SCONE 1", "2026-12-06 SCONE 1"}));
}

TEST(Record, ADamagedFileIsKeptAsideAndANewOneStarted) {
    // Also when the record was opened ahead: the save meets the damage again and deals with it.
    for (const bool ahead : {false, true}) {
        test::TempDir dir;
        const fs::path file = dir.file("r.sqlite");
        const std::string garbage(8192, 'x');
        test::writeFile(file, garbage);
        Record record(file);
        if (ahead) record.openAhead();
        const Record::Saved saved = record.save(raceBatch("2026-12-06", "SCONE", 1));
        EXPECT_TRUE(saved.ok) << ahead;
        std::vector<fs::path> aside;
        for (const auto& e : fs::directory_iterator(dir.path()))
            if (e.path().filename().string().starts_with("r.sqlite.corrupt-")) aside.push_back(e.path());
        ASSERT_EQ(aside.size(), 1u) << ahead;
        EXPECT_EQ(test::readFile(aside[0]), garbage);
        EXPECT_EQ(saved.notice, "the record " + file.string() + " is damaged (file is not a database): kept as " +
                                    aside[0].string() + ", and a new record started in " + file.string());
        EXPECT_EQ(record.races({"2026-12-06", "2026-12-06", "", 0}).size(), 1u);
    }
}

// `work` in a child process: 0 when it returned true, else 2 or 3.
int inChild(const std::function<bool()>& work) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(work() ? 0 : 3);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}

TEST(Record, AReadOnlyOrFullRecordRefusesTheWriteAndKeepsWhatItHad) {
    test::TempDir dir;
    const fs::path file = dir.file("r.sqlite");
    ASSERT_EQ(Record(file).save(raceBatch("2026-12-05", "SCONE", 1)).cause, "");
    ::chmod(dir.path().c_str(), 0755);
    // Read-only: root reads past file modes, so the child gives up root first.
    EXPECT_EQ(inChild([&] {
                  ::chmod(file.c_str(), 0444);
                  if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return false;
                  const Record::Saved s = Record(file).save(raceBatch("2026-12-06", "SCONE", 1));
                  return s.cause == file.string() + ": attempt to write a readonly database";
              }),
              0);
    ::chmod(file.c_str(), 0644);
    // Full: the file may not grow past its size now.
    EXPECT_EQ(inChild([&] {
                  ::signal(SIGXFSZ, SIG_IGN);
                  const rlimit limit{static_cast<rlim_t>(fs::file_size(file)), static_cast<rlim_t>(fs::file_size(file))};
                  if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
                  // SQLite names a write the file size limit refuses a disk I/O error.
                  const Record::Saved s = Record(file).save(raceBatch("2026-12-06", "SCONE", 1, 2000));
                  return s.cause == file.string() + ": disk I/O error";
              }),
              0);
    EXPECT_EQ(keys(Record(file).races({"2026-12-01", "2026-12-31", "", 0})),
              std::vector<std::string>{"2026-12-05 SCONE 1"});
    EXPECT_EQ(pragma(file, "PRAGMA integrity_check"), "ok");
}

// Each command opens, writes and closes without a checkpoint; the log left behind is read by the
// next one and cut once it has grown, so it stays short however many commands run.
TEST(Record, ALogLeftByEachCommandIsReadBackAndKeptShort) {
    test::TempDir dir;
    const fs::path file = dir.file("r.sqlite"), log = dir.file("r.sqlite-wal");
    std::uintmax_t longest = 0;
    int cuts = 0;
    for (int day = 0; day < 60; ++day) {
        const std::string date = "2026-" + std::to_string(10 + day / 28) + "-" + std::to_string(10 + day % 28);
        ASSERT_EQ(Record(file).save(raceBatch(date, "SCONE", 1, 100)).cause, "");
        const std::uintmax_t size = fs::exists(log) ? fs::file_size(log) : 0;
        if (day == 0) {
            EXPECT_GT(size, 0u);
        }
        cuts += size == 0;
        longest = std::max(longest, size);
    }
    EXPECT_GE(cuts, 1);
    EXPECT_LT(longest, 600u * 4120u);  // pages of 4 KiB and their frame headers
    // A record opened ahead cuts a log past 64 pages there: the save after it leaves only its own.
    while (fs::file_size(log) <= 64u * 4120u) ASSERT_EQ(Record(file).save(raceBatch("2026-12-01", "ASCOT", 1, 100)).cause, "");
    {
        Record ahead(file);
        ahead.openAhead();
        ASSERT_EQ(ahead.save(raceBatch("2026-12-02", "ASCOT", 1, 1)).cause, "");
    }
    EXPECT_LT(fs::file_size(log), 32u * 4120u);
    Record record(file);
    const std::vector<RaceSummary> races = record.races({"2026-01-01", "2026-12-31", "", 0});
    ASSERT_EQ(races.size(), 62u);
    for (const RaceSummary& r : races) EXPECT_EQ(record.detail(r).field->runners.size(), r.key.date == "2026-12-02" ? 1u : 100u);
    EXPECT_EQ(pragma(file, "PRAGMA integrity_check"), "ok");
}

TEST(Record, AWriterKilledMidWriteLeavesEveryCommittedBatch) {
    test::TempDir dir;
    const fs::path file = dir.file("r.sqlite");
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        // One race a day, told to the parent after each commit, until killed.
        Record record(file);
        for (int day = 0;; ++day) {
            const std::string date = "2026-" + std::to_string(10 + day / 28) + "-" + std::to_string(10 + day % 28);
            if (!record.save(raceBatch(date, "SCONE", 1, 200)).ok) ::_exit(3);
            if (::write(pipe[1], "x", 1) != 1) ::_exit(4);
        }
    }
    ::close(pipe[1]);
    int committed = 0;
    char c;
    while (committed < 30 && ::read(pipe[0], &c, 1) == 1) ++committed;
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ::close(pipe[0]);

    EXPECT_EQ(pragma(file, "PRAGMA integrity_check"), "ok");
    Record record(file);
    const std::vector<RaceSummary> races = record.races({"2026-01-01", "2026-12-31", "", 0});
    ASSERT_GE(races.size(), 30u);
    // Every race there is whole: a batch is all there or not at all.
    for (const RaceSummary& r : races) {
        const RaceDetail d = record.detail(r);
        EXPECT_EQ(d.field->runners.size(), 200u);
        EXPECT_EQ(d.prices.at(0).rows.size(), 200u);
        EXPECT_EQ(r.placings, (std::vector<int>{2, 1, 3}));
    }
}

}  // namespace
}  // namespace selvane::record
