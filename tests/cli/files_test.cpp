// selvane-cli on saved pages and runner files: bad words and input, the tips with their working
// and boxes, CSV fields, the pages the window shows; and a signal's clean-up.
#include <nlohmann/json.hpp>
#include <signal.h>
#include <sys/wait.h>

#include <thread>

#include "net/PageText.h"
#include "CliRun.h"
#include "CommandLine.h"
#include "Csv.h"
#include "standin/Server.h"

namespace selvane {
namespace {

TEST(Cli, UsageAndInputErrors) {
    test::TempDir dir;
    const std::string page = dir.file("page.html"), folder = dir.path().string(), field = dir.file("field.txt");
    test::writeFile(page, "");
    std::string runners;
    for (int i = 1; i <= 101; ++i) runners += std::to_string(i) + "\t1\tA\t1\n";
    test::writeFile(field, runners);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"parse", "results", page, "--race", "2"},
         "parse results: --race needs --track (usage: selvane-cli parse results FILE [--track T] [--race N])"},
        {{"page", "odds", page, "--runners", "101"},
         "page odds: --runners takes a runner count from 0 to 100 (usage: selvane-cli page odds FILE --runners N)"},
        {{"tips", page, "--stake", "0"},
         "tips: --stake takes an amount above 0 and up to 1000000, with at most two decimals (usage: selvane-cli "
         "tips FILE [--explain] [--stake AMOUNT])"},
        {{"meetings", "--csv", "--json"},
         "meetings: --csv and --json cannot be used together (usage: selvane-cli meetings [--date DD/MM/YYYY] "
         "[--csv])"},
        {{"results", "x", "--watch", "--every", "4"},
         "results: --every takes whole seconds, 5 to 3600 (usage: selvane-cli results TRACK [--date DD/MM/YYYY] "
         "[--race N] [--csv] [--watch [--every S]])"},
        {{"parse", "field", dir.file("gone")}, "parse field: " + dir.file("gone") + ": no such file"},
        {{"parse", "meetings", folder}, "parse meetings: " + folder + ": is a folder, not a file"},
        {{"tips", field}, "tips: " + field + ": more than 100 runners (the runner list holds 100)"},
        // Checked before anything is fetched (nothing listens at the compiled-in address here).
        {{"meetings", "--form-guide", "abc"},
         "meetings: --form-guide takes an http or https address with a host (usage: selvane-cli meetings [--date "
         "DD/MM/YYYY] [--csv])"},
        {{"results", "x", "--results-site", "http://127.0.0.1:1/tote"},
         "results: --results-site takes an http or https address with a host, ending in / (usage: selvane-cli "
         "results TRACK [--date DD/MM/YYYY] [--race N] [--csv] [--watch [--every S]])"},
        {{"race", "x", "1", "--date", "30/02/2026"},
         "race: --date takes a calendar date, DD/MM/YYYY (usage: selvane-cli race TRACK RACE [--date DD/MM/YYYY] "
         "[--explain] [--stake AMOUNT] [--csv])"},
        // Arguments reach the error line escaped.
        {{"parse", "field", dir.file("\x1b[2J")}, "parse field: " + folder + "/\\x1b[2J: no such file"},
    };
    for (const auto& [words, err] : cases) {
        const test::CliRun run = test::runCli(words);
        EXPECT_EQ(run.code, err.find("(usage") != std::string::npos ? 2 : 1) << err;
        EXPECT_EQ(run.err, "selvane-cli " + err + "\n");
        EXPECT_EQ(run.out, "");
    }
    // A time limit the fetcher cannot keep (none, or one that rounds to "no limit") is refused.
    for (const char* ok : {"0.1", "3600", "1e3"})
        EXPECT_EQ(test::runCli({"parse", "dates", page, "--timeout", ok}).code, 0) << ok;
    for (const char* bad : {"0.09", "0", "-5", "3601", "1e300", "inf", "nan", "", "10s", " 10", "0x10"}) {
        EXPECT_EQ(test::runCli({"parse", "dates", page, "--timeout", bad}).err,
                  "selvane-cli parse dates: --timeout takes 0.1 to 3600 seconds (usage: selvane-cli parse dates "
                  "FILE)\n")
            << bad;
    }
}

// The words as the command table reads them: common options anywhere, --opt=value, "--", help.
TEST(Cli, WordsAreReadByTheCommandTable) {
    test::TempDir dir;
    const std::string page = dir.file("page.html");
    test::writeFile(page, "");
    const std::string dates = "{\n  \"dates\": [\n    \"\",\n    \"\",\n    \"\",\n    \"\",\n    \"\"\n  ]\n}\n";
    const std::string usage = " (usage: selvane-cli parse dates FILE)\n";
    const struct {
        std::vector<std::string> words;
        int code;
        std::string out, err;  // out: its start
    } cases[] = {
        {{"--json", "parse", "dates", page}, 0, dates, ""},
        {{"parse", "dates", "--timeout=0.1", page, "--json"}, 0, dates, ""},
        {{"parse", "dates", "--", page}, 0, "0  \n", ""},
        {{"parse", "dates", "--", "--json"}, 1, "", "selvane-cli parse dates: --json: no such file\n"},
        // A word after the command is its argument, also when it names another command.
        {{"parse", "dates", "meetings"}, 1, "", "selvane-cli parse dates: meetings: no such file\n"},
        {{"help", "parse", "dates"}, 0, "Usage: selvane-cli parse dates FILE\n", ""},
        {{"parse", "dates", "--help"}, 0, "Usage: selvane-cli parse dates FILE\n", ""},
        {{"help"}, 0, "selvane-cli: Box Five & Each Way Selvane from a terminal\n", ""},
        {{"help", "bogus"}, 2, "", "selvane-cli: unknown command 'bogus' (see selvane-cli --help)\n"},
        {{"parse", "race"}, 2, "", "selvane-cli: unknown command 'parse race' (see selvane-cli --help)\n"},
        {{"parse", "dates", page, "--bogus"}, 2, "", "selvane-cli parse dates: unknown option --bogus" + usage},
        {{"parse", "dates", page, "x"}, 2, "", "selvane-cli parse dates: unexpected argument x" + usage},
        {{"parse", "dates", page, "--timeout"}, 2, "", "selvane-cli parse dates: --timeout needs a value" + usage},
        {{"--timeout", "0", "parse", "dates", page}, 2, "",
         "selvane-cli parse dates: --timeout takes 0.1 to 3600 seconds" + usage},
        {{"--json"}, 2, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words.back());
        const test::CliRun run = test::runCli(c.words);
        EXPECT_EQ(run.code, c.code);
        EXPECT_TRUE(run.out.starts_with(c.out)) << run.out;
        // No command: the overview, on stderr.
        EXPECT_TRUE(c.err.empty() && c.code == 2 ? run.err.starts_with("selvane-cli: Box Five") : run.err == c.err)
            << run.err;
    }
}

// The bash and zsh completion files offer every command of the table and each of its options.
TEST(Cli, CompletionFilesListEveryCommandAndOption) {
    const std::filesystem::path folder =
        std::filesystem::path(test::dataFile("")).parent_path().parent_path().parent_path() / "packaging/completion";
    for (const char* file : {"selvane-cli", "_selvane-cli"}) {
        SCOPED_TRACE(file);
        const std::string script = test::readFile((folder / file).string());
        ASSERT_FALSE(script.empty());
        // As a word: not inside a longer name ("--race" in "--races").
        const auto offers = [&](const std::string& word) {
            for (std::size_t at = script.find(word); at != std::string::npos; at = script.find(word, at + 1)) {
                const char after = at + word.size() < script.size() ? script[at + word.size()] : ' ';
                if (!std::isalnum(static_cast<unsigned char>(after)) && after != '-') return true;
            }
            return false;
        };
        std::vector<std::string> words{"help"};
        for (const cli::CommonOption& o : cli::commonOptions()) words.push_back(o.name);
        for (const cli::Command& c : cli::commands()) {
            std::istringstream name(c.name);
            for (std::string w; name >> w;) words.push_back(w);
            words.insert(words.end(), c.options.begin(), c.options.end());
            words.insert(words.end(), c.flags.begin(), c.flags.end());
        }
        for (const std::string& w : words) EXPECT_TRUE(offers(w)) << w;
    }
}

TEST(Cli, AddressesAndDates) {
    const std::pair<const char*, bool> addresses[] = {
        {"http://a", true}, {"HTTPS://a.b-c_d:65535/x/", true}, {"http://[::1]:8080", true}, {"http://0x10", true},
        {"", false}, {"abc", false}, {"0x10", false}, {"ftp://a", false}, {"http://", false}, {"http://:80", false},
        {"http://a:", false}, {"http://a:0", false}, {"http://a:65536", false}, {"http://u@a", false},
        {"http://a b", false}, {"http://a/?q", false}, {"http://a#f", false}, {"http://a\x1b", false},
        {"http://[]", false}, {"http://a!b", false},
    };
    for (const auto& [address, ok] : addresses) EXPECT_EQ(cli::isWebAddress(address), ok) << address;
    const std::pair<const char*, bool> dates[] = {
        {"06/12/2026", true}, {"29/02/2028", true}, {"31/12/0001", true}, {"30/02/2026", false},
        {"29/02/2100", false}, {"31/04/2026", false}, {"00/01/2026", false}, {"01/13/2026", false},
        {"01/01/0000", false}, {"1/1/2026", false}, {"2026-12-06", false}, {"06/12/2026 ", false},
    };
    for (const auto& [date, ok] : dates) EXPECT_EQ(cli::isCalendarDate(date), ok) << date;
}

// Control characters (but tab) never reach the terminal as they are; plainText keeps line breaks.
TEST(Cli, ControlCharactersAreShownEscaped) {
    const struct {
        std::string bytes, line, plain;
    } cases[] = {
        {"A\x1b[2JB\x07", "A\\x1b[2JB\\x07", "A\\x1b[2JB\\x07"},
        {std::string("N\0L\x7f\tT", 6), "N\\x00L\\x7f\tT", "N\\x00L\\x7f\tT"},
        {"1\r\n2\r3\n4", "1\\x0d\\x0a2\\x0d3\\x0a4", "1\n2\n3\n4"},
        {"\xC2\x9B" "31m \xC3\x89", "\\u009b31m \xC3\x89", "\\u009b31m \xC3\x89"},  // C1 in UTF-8
        {"\x9B" "31m \xC9", "\\u009b31m \xC3\x89", "\\u009b31m \xC3\x89"},          // and in Latin-1
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli::terminalLine(c.bytes), c.line);
        EXPECT_EQ(cli::plainText(c.bytes), c.plain);
    }
    // Columns count the escapes' characters; an error's text holding NUL is whole.
    EXPECT_EQ(cli::leftAligned("\x1b", 6) + "|", "\\x1b  |");
    EXPECT_EQ(std::string(cli::InputError(std::string("a\0b", 3)).what()), "a\\x00b");
}

// selvane-cli as its own process, stopped by a signal while it waits on a stalled service:
// its temporary work folder goes with it.
TEST(Cli, ASignalDuringAFetchRemovesTheTemporaryWorkFolder) {
    namespace fs = std::filesystem;
    standin::Options o;
    o.fault = standin::Fault::Stall;
    standin::Server server(o);
    server.start();
    test::TempDir tmp;
    auto entries = [&] { return std::distance(fs::directory_iterator(tmp.path()), {}); };
    const std::string tmpdir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    ::setenv("TMPDIR", tmp.path().c_str(), 1);
    std::string program = SELVANE_CLI_PROGRAM, command = "meetings", option = "--form-guide";
    std::string url = server.formGuideUrl();
    char* argv[] = {program.data(), command.data(), option.data(), url.data(), nullptr};
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sig);
        const std::size_t requestsBefore = server.requestCount();
        const pid_t child = ::fork();
        if (child == 0) {
            ::execv(argv[0], argv);
            ::_exit(127);
        }
        // Once the request has come, the work folder exists and the fetch is waiting.
        for (int i = 0; i < 6000 && server.requestCount() == requestsBefore; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(entries(), 1);
        ::kill(child, sig);
        int status = 0;
        EXPECT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(WIFSIGNALED(status) ? WTERMSIG(status) : -1, sig);
        EXPECT_EQ(entries(), 0);
    }
    tmpdir.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", tmpdir.c_str(), 1);
}

std::string runnerFile(const test::TempDir& dir, const std::string& runners) {
    test::writeFile(dir.file("field.txt"), runners);
    return dir.file("field.txt");
}

// The same texts written as Latin-1 bytes and as UTF-8 print alike; bytes that only look like
// UTF-8 are read as Latin-1, so --json always prints a document.
TEST(Tips, NamesAreReadAsUtf8OrLatin1AndColumnsCountCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"CAF\xC3\x89", "CAF\xC3\x89"},
        {"CAF\xC9", "CAF\xC3\x89"},
    };
    for (const auto& [bytes, utf8] : cases) {
        test::TempDir dir;
        const std::string file = runnerFile(
            dir, "1\t11\t" + bytes + " ROYAL\t1\n2\t12\tB\t2\n3\t13\tC\t3\n4\t14\tD\t4\n5\t15\tE\t5\n6\t16\tF\t6\n");
        const auto doc = nlohmann::json::parse(test::runCli({"tips", file, "--json"}).out);
        EXPECT_EQ(doc["tips"][0]["runner"], " 1.  " + utf8 + " ROYAL");
        if (bytes != "CAF\xC9") continue;
        const std::string out = test::runCli({"tips", file}).out;
        EXPECT_TRUE(out.starts_with("Tips\n  Tip   Horse Name       Win   Barrier\n"
                                    "   1st   1.  CAF\xC3\x89 ROYAL   78%  1\n   2nd   2.  B            61%  2\n"))
            << out;
        EXPECT_NE(out.find("\nStatus: Tip each way best bet #  1.  CAF\xC3\x89 ROYAL\n"), std::string::npos);
        EXPECT_EQ(out.find("Working"), std::string::npos);  // only with --explain
    }
}

TEST(Tips, ExplainAndStakeShowTheWorkingTheBoxesAndTheEachWayTerms) {
    test::TempDir dir;
    const std::string file = runnerFile(dir, "1\t3121\tALPHA\t4\n2\t0x00\tBRAVO\t1\n3\t1111\tCHARLIE\t2\n"
                                             "4\t3331\tDELTA\t5\n5e\t11\tECHO\t3\n6\t21\tFOXTROT\t6\n"
                                             "7\t6\tGOLF\t9\n8\t\tHOTEL\t1\t1\n");
    const std::string out = test::runCli({"tips", file, "--explain", "--stake", "20"}).out;
    EXPECT_EQ(out.substr(std::min(out.find("\nWorking\n"), out.size())),
              "\nWorking\n"
              "  #.  Working                                                             Rank value\n"
              "  1   form 3 1 2 1 \u2192 mean 1.75 + barrier 4 = 5.75                         5.75\n"
              "  2   zeros only \u2192 the field's worst score 1000.00                        1000.00\n"
              "  3   form 1 1 1 1 \u2192 mean 1.00 + barrier 2 = 3.00                         3.00\n"
              "  4   form 3 3 3 1 \u2192 mean 2.50 + barrier 5 = 7.50                         7.50\n"
              "  5e  form 1 1 \u2192 mean 1.00 + barrier 3 = 4.00, emergency \u2192 rank 10000.00  10000.00\n"
              "  6   form 2 1 \u2192 mean 1.50 + barrier 6 = 7.50                             7.50\n"
              "  7   form 6 \u2192 mean 6.00 + barrier 9 = 15.00                              15.00\n"
              "  8   ticked \u2192 1000.00                                                    1000.00\n"
              "\n"
              "Boxes of the tips, stake $20.00\n"
              "  Bet         Combinations  Cost at 1  Flexi\n"
              "  Quinella    10            $10        200.00%\n"
              "  Exacta      20            $20        100.00%\n"
              "  Trifecta    60            $60        33.33%\n"
              "  First four  120           $120       16.67%\n"
              // Eight runners, one an emergency and one ticked: six starters pay two places.
              "Each way: 6 starters, 2 places\n");
    // A stopped tipping boxes nothing.
    const std::string two = test::runCli({"tips", runnerFile(dir, "1\t1\tA\t1\n2\t2\tB\t2\n"), "--stake", "5"}).out;
    EXPECT_TRUE(two.ends_with("\nBoxes of the tips, stake $5.00\n  none: no tips\nEach way: 2 starters, win only\n"))
        << two;
}

TEST(Csv, FieldQuotingAndRecords) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {"a b", "a b"}, {"FLEMINGTON, VIC", "\"FLEMINGTON, VIC\""}, {"say \"hi\"", "\"say \"\"hi\"\"\""},
        // Control characters as on the terminal: a record stays one line.
        {"\"", "\"\"\"\""}, {"two\r\nlines", "two\\x0d\\x0alines"}, {"a\x1b[2J,", "\"a\\x1b[2J,\""},
        {"  3.  NAME", "\"  3.  NAME\""}, {"81% ", "\"81% \""}, {"CAF\xC9", "CAF\xC3\x89"},  // Latin-1 page bytes
    };
    for (const auto& [field, want] : cases) EXPECT_EQ(text::csvField(field), want) << field;
    std::ostringstream out;
    cli::writeCsv(out, {{"a", "b,c"}, {"", "d"}});
    EXPECT_EQ(out.str(), "a,\"b,c\"\r\n,d\r\n");
}

// The pages the window shows, as their files hold them; a page without its table gives no page,
// never an earlier one from the work folder.
TEST(PageTools, PageOddsAndPageResults) {
    const nlohmann::json doc = nlohmann::json::parse(
        test::runCli({"page", "odds", test::dataFile("odds/devonport_r5/rto.html"), "--runners", "5", "--json"}).out);
    EXPECT_EQ(doc["page"], test::readFile(test::dataFile("odds/devonport_r5/realodds.html")));
    // The runner count, then the percentages row, ends the cut; each line as the table shows it.
    const std::string header =
        "#.  Name                     Best Odds  AUS TOTE  STAB Win   NSW Win   QLD Win  STAB PLC   NSW PLC   QLD PLC\n"
        "1   Secret Glory                  2.10      2.00      2.00      2.10      2.10       n/a       n/a       n/a\n"
        "2   Secret Princess               9.20      8.50      8.60      9.20      9.20       n/a       n/a       n/a\n";
    const std::pair<const char*, std::string> tables[] = {
        {"2", "realodds.html: 1164 bytes, ended at the runner count\n" + header},
        {"6", "realodds.html: 2247 bytes, ended at the percentages row\n" + header +
                  "3   Storm Venture                  scr       scr       scr       scr       scr       scr       scr       scr\n"
                  "4   Winter Echo                   4.00      3.80      4.00      3.60      3.70       n/a       n/a       n/a\n"
                  "5   Red Star                      3.70      3.70      3.60      3.50      3.60       n/a       n/a       n/a\n"
                  "    (not on the price page)\n"},
    };
    for (const auto& [runners, table] : tables)
        EXPECT_EQ(test::runCli({"page", "odds", test::dataFile("odds/devonport_r5/rto.html"), "--runners", runners}).out,
                  table);
    EXPECT_EQ(test::runCli({"page", "results", test::dataFile("results/BL02_test.html")}).out,
              test::readFile(test::dataFile("results/BL02_results.html")));
    test::TempDir dir;
    test::writeFile(dir.file("rto.html"),
                    "<table></table><table border=1><tr></tr><tr></tr><tr></tr><tr></tr>"
                    "<tr><td>#</td><td>QLD PLC</td></tr>"
                    "<tr><td>1</td><td>RED STAR</td><td>2</td><td>58</td><td>3.70</td><td>N/A</td><td>n/a</td>"
                    "<td>scr</td><td>x</td><td>1.50</td><td>n/a</td><td>n/a</td></tr>");
    EXPECT_EQ(
        test::runCli({"page", "odds", dir.file("rto.html"), "--runners", "2"}).out,
        "realodds.html: 553 bytes, ended at the end of the page\n"
        "#.  Name                     Best Odds  AUS TOTE  STAB Win   NSW Win   QLD Win  STAB PLC   NSW PLC   QLD PLC\n"
        "1   Red Star                      3.70      3.70       N/A       n/a       scr      1.50       n/a       n/a\n"
        "    (not on the price page)\n");

    const std::string page = dir.file("page.html"), work = dir.path().string();
    test::writeFile(page, "<html><body>Not Found</body></html>\r\n");
    test::writeFile(dir.file("results.html"), "an earlier race");
    test::writeFile(dir.file("realodds.html"), "an earlier race");
    EXPECT_EQ(test::runCli({"page", "odds", page, "--runners", "3", "--json", "--work", work}).out,
              "{\n  \"page\": null,\n  \"rows\": []\n}\n");
    EXPECT_EQ(test::runCli({"page", "odds", page, "--runners", "3", "--work", work}).out,
              "No realodds.html (the price page has no price table): the window would say \"Live odds is unavailable "
              "please try again later!\"\n");
    EXPECT_EQ(test::runCli({"page", "results", page, "--json", "--work", work}).out, "{\n  \"page\": \"\"\n}\n");
    EXPECT_EQ(test::runCli({"page", "results", page}).err,
              "selvane-cli page results: no result tables on the page; results.html is not written\n");
}

TEST(PageTools, ParseResultsTablesCountCharacters) {
    test::TempDir dir;
    std::string page = "<h3>RACES</h3><table><tr>\r\n";
    for (int i = 0; i < 13; ++i) page += "<th class=\"rowhdr\">R" + std::to_string(i) + "</th>\r\n";
    page += "</tr><tr><td class='location'> <a href=\"BE.html\">B\xC9NDIGO (BE)</a></td>\r\n"  // Latin-1
            "<td><a href=\"BE01.html\">1,2,3 \xC9</a></td>\r\n</tr></table><h3>TROTS</h3>\r\n";
    test::writeFile(dir.file("mtgraces.html"), page);
    EXPECT_EQ(test::runCli({"parse", "results", dir.file("mtgraces.html"), "--track", "b"}).out,
              "Meetings on the page: 1 (counted: 1)\n"
              "   1  B\xC3\x89NDIGO (BE)             BE  R1: 1,2,3 \xC3\x89\n"
              "\n"
              "link  Race #.  Track Name                Results\n"
              "BE    1        B\xC3\x89NDIGO (BE)              1,2,3 \xC3\x89\n"
              "Ticker: #R.1  [ 1,2,3 \xC3\x89 ];      \n"
              "Race result: \n");
}

// A meeting page as access.html holds it: CR LF after every line.
std::string meetingPage(const std::string& race) {
    return "<FORM METHOD=\"POST\">\r\n<SELECT NAME=\"date\" onChange=\"newdate(this);\" SIZE=\"1\">\r\n"
           "<option value=\"1\">05/12/2026\r\n<OPTION SELECTED VALUE=\"2\">06/12/2026\r\n</SELECT>\r\n"
           "<P>3. Click GO to have your data delivered to you.</P>\r\n"
           "<SELECT NAME=\"M1\">\r\n<OPTION VALUE=\"\">ASCOT\r\n</SELECT>\r\n"
           "<SELECT NAME=\"N1\" SIZE=\"1\">\r\n<OPTION VALUE=\"1\">" + race + "\r\n</SELECT>\r\n</FORM>\r\n";
}

// The last race is the float's shortest text; a page saved with other line ends reads as stored.
TEST(PageTools, ParseMeetings) {
    test::TempDir dir;
    const std::string file = dir.file("access.html");
    for (const auto& [race, lastRace] : {std::pair{"R4.6 12:00 ASCOT 1000m", "4.6"}, {"R7 12:00 ASCOT 1000m", "7"}}) {
        test::writeFile(file, meetingPage(race));
        const std::string out = test::runCli({"parse", "meetings", file, "--json"}).out;
        EXPECT_NE(out.find("\"lastRace\": " + std::string(lastRace) + ",\n"), std::string::npos) << out;
    }
    const std::string want = test::runCli({"parse", "meetings", file}).out;
    const std::string noRace = "   " + std::string(42, ' ') + "\n";  // races 1 to 6 are not on the page
    EXPECT_EQ(want, "Dates:  05/12/2026  06/12/2026 (selected)\n\n1. ASCOT  [m1]\n"
                    "   Race  Time    Track                       Length\n" +
                        noRace + noRace + noRace + noRace + noRace + noRace +
                        "   7     12:00   ASCOT                       1000m\n");
    EXPECT_EQ(test::runCli({"parse", "dates", test::dataFile("meetings/access_20261206.html")}).out,
              "0  29/11/2026\n1  30/11/2026\n2  01/12/2026\n3  02/12/2026\n4  03/12/2026\n");
    for (const char* drop : {"\r", "\n"}) {
        std::string page = meetingPage("R7 12:00 ASCOT 1000m");
        std::erase(page, *drop);
        test::writeFile(file, page);
        EXPECT_EQ(test::runCli({"parse", "meetings", file}).out, want);
    }
}

}  // namespace
}  // namespace selvane
