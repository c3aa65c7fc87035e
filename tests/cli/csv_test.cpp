// --csv: one header record, RFC 4180 quoting, UTF-8, for spreadsheets.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "CliRun.h"
#include "Csv.h"
#include "standin/RaceDay.h"
#include "support/StandinFixture.h"

namespace selvane {
namespace {

namespace sd = standin;
using test::operator+;

TEST(Csv, FieldQuoting) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"ALPHA", "ALPHA"},
        {"FLEMINGTON, VIC", "\"FLEMINGTON, VIC\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"lf\nonly", "\"lf\nonly\""},
        {"  3.  NAME", "\"  3.  NAME\""},
        {"81% ", "\"81% \""},
        {"a b", "a b"},
        {"CAF\xC9", "CAF\xC3\x89"},          // Latin-1 page bytes
        {"CAF\xC3\x89", "CAF\xC3\x89"},      // already UTF-8
        {"$1,250", "\"$1,250\""},
    };
    for (const auto& [field, want] : cases) EXPECT_EQ(cli::csvField(field), want) << field;
}

TEST(Csv, RecordsEndWithCrLf) {
    std::ostringstream out;
    cli::writeCsv(out, {{"a", "b,c"}, {"", "d"}});
    EXPECT_EQ(out.str(), "a,\"b,c\"\r\n,d\r\n");
}

struct CsvCommands : ::testing::Test {
    test::StandinFixture web{"2026-12-06T23:00"};
    const sd::RaceDay day = sd::generateRaceDay(2026, 12, 6, 1);
    const sd::Meeting& meeting = day.meetings[0];
    const std::string track = meeting.name.substr(0, meeting.name.find(' '));

    std::vector<std::string> records(const std::string& out) {
        std::vector<std::string> lines;
        for (std::size_t at = 0, end; (end = out.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(out.substr(at, end - at));
        return lines;
    }
};

TEST_F(CsvCommands, MeetingsOneRecordPerRace) {
    const test::CliRun run = test::runCli(std::vector<std::string>{"meetings", "--csv"} + test::serviceOptions(web.services()));
    ASSERT_EQ(run.code, 0) << run.err;
    const auto lines = records(run.out);
    std::size_t races = 0;
    for (const sd::Meeting& m : day.meetings) races += m.races.size();
    ASSERT_EQ(lines.size(), races + 1);
    EXPECT_EQ(lines[0], "date,meeting,race,time,track,length");
    EXPECT_EQ(lines[1].substr(lines[1].find(',') + 1, meeting.name.size() + 3), meeting.name + ",1,");
    EXPECT_NE(lines[1].find("," + meeting.races[0].lengthText()), std::string::npos) << lines[1];
}

std::vector<std::string> fields(const std::string& record) {
    std::vector<std::string> out;
    std::stringstream split(record);
    for (std::string f; std::getline(split, f, ',');) out.push_back(f);
    if (!record.empty() && record.back() == ',') out.emplace_back();
    return out;
}

TEST_F(CsvCommands, RaceOneRecordPerRunnerWithTipPlaces) {
    std::size_t race = 0;
    while (meeting.races[race].runners.size() < 5) ++race;
    const test::CliRun run = test::runCli(std::vector<std::string>{"race", track, std::to_string(race + 1), "--csv"} +
                                          test::serviceOptions(web.services()));
    ASSERT_EQ(run.code, 0) << run.err;
    const auto lines = records(run.out);
    ASSERT_EQ(lines.size(), meeting.races[race].runners.size() + 1);
    EXPECT_EQ(lines[0], "number,form,name,jockey,weight,barrier,tip,win,bestBet");
    const sd::Runner& first = meeting.races[race].runners[0];
    EXPECT_EQ(lines[1].rfind(first.number + "," + first.form + "," + first.name, 0), 0u) << lines[1];
    std::string places;
    int bestBets = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto f = fields(lines[i]);
        ASSERT_EQ(f.size(), 9u) << lines[i];
        places += f[6];
        EXPECT_EQ(f[6].empty(), f[7].empty()) << lines[i];
        if (f[8] == "yes") ++bestBets;
        else EXPECT_EQ(f[8], "") << lines[i];
    }
    std::sort(places.begin(), places.end());
    EXPECT_EQ(places, "12345");
    EXPECT_EQ(bestBets, 1);
}

TEST_F(CsvCommands, ResultsOneRecordPerRace) {
    const test::CliRun run =
        test::runCli(std::vector<std::string>{"results", track, "--csv"} + test::serviceOptions(web.services()));
    ASSERT_EQ(run.code, 0) << run.err;
    const auto lines = records(run.out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "link,race,track,result");
}

TEST_F(CsvCommands, CsvAndJsonTogetherAreAUsageError) {
    const test::CliRun run = test::runCli(
        std::vector<std::string>{"meetings", "--csv", "--json"} + test::serviceOptions(web.services()));
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace selvane
