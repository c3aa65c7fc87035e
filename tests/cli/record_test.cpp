// What the punter's commands record, read back by history; where the record is kept; and a
// record that cannot be written, which never stops a command.
#include <nlohmann/json.hpp>

#include "CliRun.h"
#include "record/Record.h"
#include "record/Sqlite.h"

namespace selvane {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using Recording = test::StandinCli;

TEST_F(Recording, CommandsRecordWhatTheyFetchedAndHistoryReadsItBack) {
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"race", "scone", "1"}, {"odds", "scone", "5"}, {"results", "scone"}}) {
        const test::CliRun run = cli(words);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.err, "");
    }
    const std::string listed = cli({"history", "--date", "06/12/2026", "--track", "scone", "--json"}).out;
    // Written a race at a time, the document is still byte for byte the library's own dump of it.
    EXPECT_EQ(listed, json::parse(listed).dump(2) + "\n");
    const json races = json::parse(listed)["races"];
    ASSERT_EQ(races.size(), 10u);
    EXPECT_EQ(races[0], json::parse(R"({"date": "2026-12-06", "track": "SCONE", "race": 1, "time": "13:10",
        "name": "CITY HOTEL 3YO HCP", "tips": [11, 9, 17, 8, 15], "bestBet": 17, "state": "5,10,13",
        "result": [5, 10, 13]})"));
    EXPECT_EQ(races[2]["state"], "2:10PM");
    EXPECT_EQ(races[2]["result"], nullptr);
    EXPECT_EQ(races[2]["tips"], json::array());

    const std::string detailed = cli({"history", "--date", "06/12/2026", "--track", "scone", "--race", "5", "--json"}).out;
    EXPECT_EQ(detailed, json::parse(detailed).dump(2) + "\n");
    const json race5 = json::parse(detailed)["races"].at(0);
    ASSERT_EQ(race5["prices"].size(), 1u);
    const json& rows = race5["prices"][0]["rows"];
    EXPECT_EQ(rows[8], json::parse(R"({"number": 9, "name": "High Express", "best": 7.0,
        "prices": [null, 7.0, 6.8, 6.7, 2.4, 2.4, 2.5]})"));
    EXPECT_EQ(rows[9]["best"], "scr");
    EXPECT_EQ(race5["tipRuns"].size(), 1u);
    EXPECT_EQ(race5["field"].size(), rows.size() + 2);  // the emergencies have no prices

    EXPECT_NE(cli({"history", "--date", "06/12/2026", "--track", "scone"}).out.find(
                  "\n  2026-12-06  SCONE    1     13:10  11          17        5,10,13\n"),
              std::string::npos);
    EXPECT_EQ(cli({"history", "--date", "06/12/2026", "--track", "scone", "--race", "1", "--csv"}).out,
              "date,track,race,time,tips,bestBet,result\r\n2026-12-06,SCONE,1,13:10,11 9 17 8 15,17,\"5,10,13\"\r\n");
}

TEST_F(Recording, TheRecordIsKeptInTheUsersDataFolder) {
    const test::TempDir dir;
    const std::string data = dir.file("data"), home = dir.file("home");
    const struct {
        const char* xdgDataHome;  // nullptr: unset
        std::vector<std::string> options;
        std::string file;  // empty: none anywhere
    } cases[] = {
        {data.c_str(), {}, data + "/selvane/record.sqlite"},
        {"", {}, home + "/.local/share/selvane/record.sqlite"},
        {nullptr, {}, home + "/.local/share/selvane/record.sqlite"},
        {data.c_str(), {"--no-record"}, ""},
    };
    const test::SavedEnv savedHome("HOME"), savedData("XDG_DATA_HOME");
    ::setenv("HOME", home.c_str(), 1);
    for (const auto& c : cases) {
        fs::remove_all(data);
        fs::remove_all(home);
        c.xdgDataHome ? ::setenv("XDG_DATA_HOME", c.xdgDataHome, 1) : ::unsetenv("XDG_DATA_HOME");
        std::vector<std::string> words{"meetings", "--form-guide", web.services().formGuide};
        words.insert(words.end(), c.options.begin(), c.options.end());
        EXPECT_EQ(test::runCli(words).code, 0);
        const std::string inData = data + "/selvane/record.sqlite", inHome = home + "/.local/share/selvane/record.sqlite";
        EXPECT_EQ(fs::exists(inData) ? inData : fs::exists(inHome) ? inHome : "", c.file);
    }
}

TEST_F(Recording, ARecordThatCannotBeWrittenNeverStopsTheCommand) {
    const std::string shown = cli({"race", "scone", "1", "--no-record"}).out;
    const std::string folder = recordDir.file("folder"), damaged = recordDir.file("damaged.sqlite");
    fs::create_directory(folder);
    test::CliRun run = cli({"race", "scone", "1", "--record", folder});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, shown);
    EXPECT_EQ(run.err, "selvane-cli: not recorded: " + folder + ": unable to open database file\n");

    {
        // Another program writing past the record's wait.
        record::Database other(recordFile(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        other.exec("BEGIN EXCLUSIVE");
        run = cli({"race", "scone", "1"});
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.out, shown);
        EXPECT_EQ(run.err, "selvane-cli: not recorded: " + recordFile() + ": database is locked\n");
    }

    test::writeFile(damaged, "not a database, whatever it once was");
    run = cli({"race", "scone", "1", "--record", damaged});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, shown);
    const std::size_t keptAs = run.err.find("kept as ") + 8, started = run.err.find(", and a new");
    const std::string aside = run.err.substr(keptAs, started - keptAs);
    EXPECT_EQ(run.err, "selvane-cli: the record " + damaged + " is damaged (file is not a database): kept as " + aside +
                           ", and a new record started in " + damaged + "\n");
    EXPECT_EQ(aside.substr(0, damaged.size() + 9), damaged + ".corrupt-");
    EXPECT_EQ(test::readFile(aside), "not a database, whatever it once was");
    EXPECT_EQ(cli({"history", "--date", "06/12/2026", "--track", "scone", "--race", "1", "--record", damaged, "--csv"}).out,
              "date,track,race,time,tips,bestBet,result\r\n2026-12-06,SCONE,1,13:10,11 9 17 8 15,17,\"5,10,13\"\r\n");
}

// A recorded text comes from a page: in a table's last column too it cannot drive the terminal.
TEST(History, ARecordedTextCannotDriveTheTerminal) {
    const test::TempDir dir;
    const std::string file = dir.file("record.sqlite");
    record::Batch batch;
    batch.results.push_back({{"2026-12-06", "SCONE", 1}, {"2026-12-06T03:00:00Z", "http://x/mtgraces.html"}, "", "\x1b[2J", {}});
    record::Record(file).save(batch);
    const test::CliRun run = test::runCli({"history", "--date", "06/12/2026", "--record", file});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\\x1b[2J\n"), std::string::npos) << run.out;
}

TEST(History, UsageAndUnreadableRecords) {
    const test::TempDir dir;
    const std::string none = dir.file("none.sqlite"), bad = dir.file("bad.sqlite");
    test::writeFile(bad, "not a database");
    const std::string usage = " (usage: selvane-cli history [--date D | --from D --to D] [--track T] [--race N] [--csv])\n";
    const struct {
        std::vector<std::string> words;
        int code;
        std::string out, err;
    } cases[] = {
        {{"--from", "01/12/2026"}, 2, "", "--from and --to go together" + usage},
        {{"--date", "06/12/2026", "--to", "07/12/2026"}, 2, "", "--date and --from/--to cannot be used together" + usage},
        {{"--date", "2026-12-06"}, 2, "", "--date takes a calendar date, DD/MM/YYYY" + usage},
        {{"--from", "07/12/2026", "--to", "06/12/2026"}, 2, "", "--from is after --to" + usage},
        {{"--race", "0"}, 2, "", "--race takes a race number" + usage},
        {{"--no-record"}, 2, "", "history reads the record: not with --no-record" + usage},
        {{"--date", "06/12/2026", "--record", none}, 0, "No races recorded on 2026-12-06.\n", ""},
        {{"--from", "01/12/2026", "--to", "31/12/2026", "--track", "scone", "--record", none}, 0,
         "No races recorded from 2026-12-01 to 2026-12-31 at scone.\n", ""},
        {{"--record", bad}, 1, "", bad + ": file is not a database\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words{"history"};
        words.insert(words.end(), c.words.begin(), c.words.end());
        const test::CliRun run = test::runCli(words);
        EXPECT_EQ(run.code, c.code) << c.err;
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err.empty() ? "" : "selvane-cli history: " + c.err);
    }
    EXPECT_FALSE(fs::exists(none));
}

}  // namespace
}  // namespace selvane
