// The punter's commands against the stand-in services over loopback: what they print (the
// stand-in's day is fixed by its seed), their CSV, and the failures with their exact texts.
#include <nlohmann/json.hpp>

#include <algorithm>

#include "CliRun.h"

namespace selvane {
namespace {

using Commands = test::StandinCli;
const std::string kPriceHeading =
    "#.  Name                     Best Odds  AUS TOTE  STAB Win   NSW Win   QLD Win  STAB PLC   NSW PLC   QLD PLC\n";

TEST_F(Commands, EachCommandPrintsItsTable) {
    const struct {
        std::vector<std::string> words;
        std::string part;
    } cases[] = {
        // The results rows come first, to count their fetches.
        {{"results", "Scone", "--race", "1"},
         "SC    1        SCONE (SC)                18,17,1\nSC    2        SCONE (SC)                2,4,1\n"
         "SC    3        SCONE (SC)                2:10PM\n"},
        {{"results", "scone", "--race", "1"}, "\nRace result: 18 - 17 - 1\n"},
        {{"results", "scone", "--csv"}, "link,race,track,result\r\nSC,1,SCONE (SC),\"18,17,1\"\r\n"},
        {{"meetings"},
         "\n\n1. SCONE  [mscomoqb]\n   Race  Time    Track                       Length\n"
         "   1     13:10   CITY HOTEL 3YO HCP          2000m\n   2     13:40   CLASS 3 HCP                 1000m\n"},
        {{"race", "scone", "1"},
         "\nTips\n  Tip   Horse Name            Win   Barrier\n   1st   11.  COUNTRY CHARM    45%  5\n"
         "   2nd   9.  STONY LEGEND      32%  2\n   3rd   17.  FLYING SUNRISE   30%  1\n"
         "   4th   8.  CAPTAIN SUNRISE   23%  4\n   5th   15.  IRON RAIN        11%  3\n"},
        {{"race", "SCONE", "1"}, "\nStatus: Tip each way best bet #  17.  FLYING SUNRISE\nInsufficient form: 0\n"},
        {{"odds", "scone", "5"},
         "MAIN STREET MAIDEN HCP - #R.05\n\n" + kPriceHeading +
             "1   Copper Warrior               16.20     16.20     15.10     15.80     16.00      5.00      5.20      5.00\n"},
        {{"odds", "scone", "5"},
         "\n9   High Express                  9.20       n/a      8.80      9.00      9.20      3.10      3.20      3.10\n"
         "10  Northern Moon                  scr       scr       scr       scr       scr       scr       scr       scr\n"},
        // The emergencies are runner list rows without a price.
        {{"odds", "scone", "1"}, "\n    (not on the price page)\n    (not on the price page)\n"},
        // CSV: one header record, RFC 4180 quoting, CR LF after every record.
        {{"meetings", "--csv"},
         "date,meeting,race,time,track,length\r\n06/12/2026,SCONE,1,13:10,\"CITY HOTEL 3YO HCP \",2000m\r\n"},
        {{"race", "scone", "1", "--csv"},
         "number,form,name,jockey,weight,barrier,tip,win,bestBet\r\n1,63,IRON PRINCESS,L. Tully,60.0,17,,,\r\n"},
        {{"race", "scone", "1", "--csv"},
         "\n17,767,FLYING SUNRISE,A. Norcott,54.0,1,3,30,yes\r\n18,3,SUMMER SPIRIT,K. Fenwick,54.0,20,,,\r\n"
         "19e,x282,SUMMER LEGEND,J. Rowe,54.0,7,,,\r\n"},
        {{"odds", "scone", "1", "--csv"},
         "number,name,best,AUS TOTE,STAB Win,NSW Win,QLD Win,STAB PLC,NSW PLC,QLD PLC\r\n"
         "1,Iron Princess,16.90,16.50,16.90,16.60,16.80,5.20,5.50,5.10\r\n"},
    };
    long resultsRuns = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words[0] + " " + c.part);
        const test::CliRun run = cli(c.words);
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find(c.part), std::string::npos) << run.out;
        // One fetch serves the results list and the page the window shows.
        const std::vector<std::string> log = web.server.requestLog();
        if (c.words[0] == "results") {
            EXPECT_EQ(std::count(log.begin(), log.end(), "/tote/2026/12/06/mtgraces.html"), ++resultsRuns);
        }
    }
}

TEST_F(Commands, AServiceThatFailsIsNamedWithItsCauseAndExitOne) {
    const std::string guide = web.services().formGuide + "/cgi-bin/tvf/", tote = web.services().resultsSiteRoot;
    const std::string odds = guide + "memdispodds.pl/scomoqb2?rto: the price page could not be read (";
    const struct {
        standin::Fault fault;
        std::string where;  // the fault's path, or an override's: "=path"
        std::vector<std::string> words;
        std::string err;
    } cases[] = {
        {standin::Fault::NotFound, "/cgi-bin/tvf/access.pl?20261206", {"meetings"},
         "meetings: Page could not be fetched: " + guide + "access.pl?20261206 (HTTP 404)"},
        {standin::Fault::NotFound, "/cgi-bin/tvf/access.pl", {"results", "scone"},
         "results: Page could not be fetched: " + guide + "access.pl (HTTP 404)"},
        {standin::Fault::ServerError, "/tote/", {"results", "scone"},
         "results: Page could not be fetched: " + tote + "2026/12/06/mtgraces.html (HTTP 500)"},
        {standin::Fault::NotFound, "/tote/", {"race", "scone", "1"},
         "race: Page could not be fetched: " + tote + "2026/12/06/mtgraces.html (HTTP 404)"},
        {standin::Fault::NotFound, "/cgi-bin/tvf/memdispodds.pl/", {"odds", "scone", "2"}, "odds: " + odds + "HTTP 404)"},
        {standin::Fault::None, "=/cgi-bin/tvf/memdispodds.pl/scomoqb2?rto", {"odds", "scone", "2", "--json"},
         "odds: " + odds + "the price page has no price table)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        web.server.clearOverrides();
        web.server.setFault(c.fault, c.where);
        if (c.where[0] == '=') web.server.setOverride(c.where.substr(1), "<html><body>No prices yet</body></html>");
        const test::CliRun run = cli(c.words);
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.err, "selvane-cli " + c.err + "\n");
        EXPECT_EQ(run.out, "");
    }
    Services closed = web.services();
    closed.formGuide = "http://127.0.0.1:1";
    EXPECT_EQ(cli({"meetings"}, closed).err,
              "selvane-cli meetings: Page could not be fetched: http://127.0.0.1:1/cgi-bin/tvf/access.pl (no connection)\n");
}

// A race page that cannot be fetched still prints the placeholder tips and the warning, exit 1.
TEST_F(Commands, ARaceWithoutItsPageWarnsOfTheDataError) {
    web.server.setFault(standin::Fault::NotFound, "/cgi-bin/tvf/memdeliver.pl");
    const test::CliRun run = cli({"race", "scone", "1"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "selvane-cli race: Page could not be fetched: " + web.services().formGuide +
                           "/cgi-bin/tvf/memdeliver.pl/scomoqb1.htm?tvf3 (HTTP 404)\n");
    EXPECT_NE(run.out.find("Message \"Race's Data Error\": Could not access any data for race's CITY HOTEL 3YO HCP\n"
                           "This is probably due to data error or no data available.\n\n"
                           "No bets should be made due to insufficient form data\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
}

// Link codes from the meeting page are data: "/" and "?" in them never change the path requested.
TEST_F(Commands, ACraftedLinkCodeStaysInItsPath) {
    const std::string page =
        "<FORM METHOD=\"POST\">\r\n<SELECT NAME=\"date\" onChange=\"newdate(this);\" SIZE=\"1\">\r\n"
        "<OPTION SELECTED VALUE=\"2\">06/12/2026\r\n</SELECT>\r\n<P>3. Click GO to have your data delivered to you.</P>\r\n"
        "<SELECT NAME=\"M../../../../tmp/x?\">\r\n<OPTION VALUE=\"\">ASCOT\r\n</SELECT>\r\n"
        "<SELECT NAME=\"N1\" SIZE=\"1\">\r\n<OPTION VALUE=\"1\">R3 12:00 ASCOT 1000m\r\n</SELECT>\r\n</FORM>\r\n";
    web.server.setOverride("/cgi-bin/tvf/access.pl", page);
    web.server.setOverride("/cgi-bin/tvf/access.pl?20261206", page);
    const test::CliRun run = cli({"race", "ascot", "3"});
    const std::string target = "/cgi-bin/tvf/memdeliver.pl/..%2F..%2F..%2F..%2Ftmp%2Fx%3F3.htm?tvf3";
    const std::vector<std::string> log = web.server.requestLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), target), 1);
    for (const std::string& t : log) EXPECT_EQ(t.find("/tmp"), std::string::npos) << t;
    EXPECT_EQ(run.err, "selvane-cli race: Page could not be fetched: " + web.services().formGuide + target + " (HTTP 404)\n");
}

// A race page in ISO-8859-1 shows its names as written, not as entities.
TEST_F(Commands, RaceNamesFromALatin1PageAreShownAsWritten) {
    web.server.setFault(standin::Fault::NotUtf8, "/cgi-bin/tvf/memdeliver.pl");
    const nlohmann::json field = nlohmann::json::parse(cli({"race", "scone", "1", "--json"}).out)["field"];
    ASSERT_EQ(field.size(), 20u);
    EXPECT_EQ(field[10]["name"], "COUNTRY CHARM");
    EXPECT_EQ(field[5]["name"], "NORTH\xC3\x89RN WARRIOR");  // the stand-in writes a name's first E as E-acute
}

}  // namespace
}  // namespace selvane
