#include "meetings/MeetingCommands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/Commands.h"
#include "net/PageLoader.h"
#include "net/PageText.h"
#include "net/WorkFiles.h"
#include "standin/RaceDay.h"
#include "standin/Server.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

constexpr const char* kPage = "/cgi-bin/tvf/access.pl";
const standin::Date kToday{2026, 12, 6};

// The race list rows the track command shows for a generated meeting.
std::vector<std::string> expectedRows(const standin::Meeting& m) {
    std::vector<std::string> rows;
    for (const standin::Race& r : m.races)
        rows.push_back("m" + m.formCode + "|" + std::to_string(r.number) + "|" + r.startTime() + "|" + r.trackWords +
                       " |" + r.lengthText());
    return rows;
}

std::vector<std::string> firstWords(const standin::RaceDay& day) {
    std::vector<std::string> words;
    for (const standin::Meeting& m : day.meetings) words.push_back(m.name.substr(0, m.name.find(' ')));
    return words;
}

struct MeetingFlow : ::testing::Test {
    standin::Server service{standin::Options{.now = "2026-12-06T14:00", .seed = 1, .root = {}, .faultPath = {}}};
    int port = service.start();
    test::AppFixture fx{Services{service.formGuideUrl(), service.resultsSiteRoot(), service.makerSiteUrl()}};
    App& app = *fx.app;
    MainWindow& w = app.window;

    void SetUp() override {
        app.ports.connectivity = &fx.fakes.connectivity;
        wireCommands(app);
    }

    std::string pageOf(const std::string& yyyymmdd) { return service.reply(std::string(kPage) + "?" + yyyymmdd).body; }

    std::vector<std::string> raceRows() const {
        std::vector<std::string> rows;
        for (const ReportRow& r : w.lstRaceName.rows()) {
            std::string s = r.text;
            for (const std::string& sub : r.subItems) s += "|" + sub;
            rows.push_back(s);
        }
        return rows;
    }

    std::vector<Control*> disabledControls() {
        std::vector<Control*> off;
        for (Control* c : w.controls())
            if (!c->enabled()) off.push_back(c);
        return off;
    }
};

TEST_F(MeetingFlow, DownloadOnlineFetchesTwiceAndFillsTheBoxes) {
    const standin::RaceDay day = standin::generateRaceDay(kToday, 1);
    w.cmdDownload.click();

    // The page without a query once for both loads, then the selected date's page and the page
    // without a query again for the engine.
    EXPECT_EQ(service.requestLog(), (std::vector<std::string>{kPage, std::string(kPage) + "?20261206", kPage}));
    std::vector<std::string> dates;
    for (int d = -7; d <= 0; ++d) dates.push_back(standin::ddmmyyyy(standin::addDays(kToday, d)));
    EXPECT_EQ(w.cmbDateRaces.entries(), dates);
    EXPECT_EQ(w.cmbDateRaces.text(), "06/12/2026");
    EXPECT_EQ(w.dayPart + w.monthPart + w.yearPart, "06122026");
    EXPECT_EQ(w.cmbTrackName.entries(), firstWords(day));
    EXPECT_EQ(w.cmbTrackName.selectedIndex(), 0);
    EXPECT_EQ(raceRows(), expectedRows(day.meetings[0]));
    const std::string first = firstWords(day)[0];
    EXPECT_EQ(w.lblTitle.caption(), "Racecourse: " + first);
    EXPECT_EQ(w.lblMeeting.caption(), "Meeting: " + first);
    EXPECT_EQ(w.lblTrackName.caption(), "TrackName: ");
    EXPECT_EQ(w.lblRaceTime.caption(), "Time: ");
    EXPECT_EQ(w.lblRaceLength.caption(), "Length: ");
    EXPECT_EQ(w.lblRaceNumber.caption(), "");
    EXPECT_EQ(w.lblStatus.caption(), "Done");
    EXPECT_TRUE(fx.fakes.messages.shown.empty());
    EXPECT_TRUE(disabledControls().empty());
    EXPECT_FALSE(w.pgBar.visible());
    // The date command's bracket opens and closes inside the download command's.
    EXPECT_EQ(fx.fakes.pointer.history, (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(w.cmbDateRaces.focusRequests(), 1);
    EXPECT_EQ(test::readFile(app.workPath("access.html")), splitIntoLines(pageOf("20261206")));
}

TEST_F(MeetingFlow, DownloadTakesTheDatesFromTodayAndTheMeetingsFromTheDatedPage) {
    service.setOverride(std::string(kPage) + "?20261206", pageOf("20261205"));
    w.cmdDownload.click();

    EXPECT_EQ(w.cmbDateRaces.text(), "06/12/2026");
    EXPECT_EQ(w.cmbTrackName.entries(), firstWords(standin::generateRaceDay({2026, 12, 5}, 1)));
}

TEST_F(MeetingFlow, DownloadOfflineShowsOnlyTheMessage) {
    fx.fakes.connectivity.online = false;
    w.cmbDateRaces.addItem("01/01/2020");
    w.cmbTrackName.addItem("OLD");
    w.lstRaceName.addRow("old", {"1"});
    w.lstResults.addRow("old");
    w.lblMeeting.setCaption("Meeting: OLD");

    w.cmdDownload.click();

    ASSERT_EQ(fx.fakes.messages.shown.size(), 1u);
    const ShownMessage& m = fx.fakes.messages.shown[0];
    EXPECT_EQ(m.title, "No Connection");
    EXPECT_EQ(m.text,
              "There is currently no internet connection present. \r\n\n"
              "Please exit the application, check your internet connection and run the software again.");
    EXPECT_EQ(m.icon, MessageIcon::Critical);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
    EXPECT_EQ(service.requestCount(), 0u);
    EXPECT_EQ(w.cmbDateRaces.count(), 0);
    EXPECT_EQ(w.cmbTrackName.count(), 0);
    EXPECT_EQ(w.lstRaceName.count(), 0);
    EXPECT_EQ(w.lstResults.count(), 0);
    EXPECT_EQ(w.lblMeeting.caption(), "Meeting: ");
    EXPECT_EQ(w.lblTrackName.caption(), "Track Name: ");
    EXPECT_EQ(w.lblRaceNumber.caption(), " ");
    EXPECT_FALSE(app.connection.isOnline);
    EXPECT_TRUE(disabledControls().empty());
    EXPECT_EQ(fx.fakes.pointer.history, (std::vector<bool>{true, false}));
}

TEST_F(MeetingFlow, ShortDateIsPaddedWithBlanks) {
    // The query keeps its eight characters; its blanks and slashes go out percent-encoded.
    service.setOverride(std::string(kPage) + "?%20%20%20%20%2F25%2F", pageOf("20261205"));
    w.cmbDateRaces.addItem("5/3/24");
    w.cmbDateRaces.setSelectedIndex(0);

    EXPECT_EQ(w.dayPart, "5/");
    EXPECT_EQ(w.monthPart, "/2");
    EXPECT_EQ(w.yearPart, "    ");
    EXPECT_EQ(service.requestCount(), 2u);
    EXPECT_EQ(w.cmbTrackName.entries(), firstWords(standin::generateRaceDay({2026, 12, 5}, 1)));
    EXPECT_TRUE(disabledControls().empty());
}

TEST_F(MeetingFlow, DateWithoutMeetingsKeepsTheDateCaptions) {
    w.cmbDateRaces.addItem("25/12/2026");
    w.cmbDateRaces.setSelectedIndex(0);

    EXPECT_EQ(service.requestCount(), 2u);
    EXPECT_EQ(w.cmbTrackName.count(), 0);
    EXPECT_EQ(w.lstRaceName.count(), 0);
    EXPECT_EQ(w.lblMeeting.caption(), "Meeting:");
    EXPECT_EQ(w.lblRaceTime.caption(), "Time:");
    EXPECT_EQ(w.lblRaceLength.caption(), "Length:");
    EXPECT_EQ(w.lblTrackName.caption(), "Track Name:");
    EXPECT_EQ(w.lblRaceNumber.caption(), "");
    EXPECT_EQ(w.lblTitle.caption(), "Racecourse: ");
    EXPECT_TRUE(disabledControls().empty());
}

TEST_F(MeetingFlow, PreviousBeforeAnyDownloadChoosesAnEmptyDate) {
    service.setOverride(std::string(kPage) + "?%20%20%20%20%20%20%20%20", pageOf("20261205"));
    w.cmdPrevious.click();

    EXPECT_EQ(w.cmbDateRaces.entries(), (std::vector<std::string>{"", "", "", ""}));
    EXPECT_EQ(w.cmbDateRaces.selectedIndex(), 0);
    EXPECT_EQ(w.dayPart + w.monthPart + w.yearPart, "        ");
    EXPECT_EQ(service.requestCount(), 2u);
    EXPECT_EQ(w.cmbTrackName.entries(), firstWords(standin::generateRaceDay({2026, 12, 5}, 1)));
    EXPECT_TRUE(disabledControls().empty());
}

TEST_F(MeetingFlow, PreviousAfterADownloadOffersTheFirstFourDates) {
    w.cmdDownload.click();
    w.cmdPrevious.click();

    EXPECT_EQ(w.cmbDateRaces.entries(), (std::vector<std::string>{"29/11/2026", "30/11/2026", "01/12/2026", "02/12/2026"}));
    EXPECT_EQ(w.cmbDateRaces.text(), "29/11/2026");
    EXPECT_EQ(service.requestCount(), 5u);
    EXPECT_EQ(w.cmbDateRaces.focusRequests(), 2);
    const standin::RaceDay day = standin::generateRaceDay({2026, 11, 29}, 1);
    EXPECT_EQ(w.cmbTrackName.entries(), firstWords(day));
    EXPECT_EQ(raceRows(), expectedRows(day.meetings[0]));
}

TEST_F(MeetingFlow, ChoosingATrackShowsItsRacesFromTheTables) {
    const standin::RaceDay day = standin::generateRaceDay(kToday, 1);
    w.cmdDownload.click();
    ASSERT_GE(w.cmbTrackName.count(), 2);
    w.cmbTrackName.setSelectedIndex(1);

    EXPECT_EQ(service.requestCount(), 3u);
    EXPECT_EQ(raceRows(), expectedRows(day.meetings[1]));
    EXPECT_EQ(w.lblTitle.caption(), "Racecourse: " + firstWords(day)[1]);
}

TEST_F(MeetingFlow, AGapInTheRaceNumbersShowsAnEmptyRow) {
    service.setOverride(std::string(kPage) + "?20261207",
                        "<FORM><P>3. Click GO to have your data delivered to you.</P>\n"
                        "<SELECT NAME=\"MABC\"><OPTION VALUE=\"\">NORTH PARK</SELECT>\n"
                        "<SELECT NAME=\"NABC\"><OPTION VALUE=\"1\">R1 12:00 X 900m\n"
                        "<OPTION VALUE=\"3\">R3 13:00 Y Z 1000m\n</SELECT></FORM>\n");
    w.cmbDateRaces.addItem("07/12/2026");
    w.cmbDateRaces.setSelectedIndex(0);

    EXPECT_EQ(w.cmbTrackName.entries(), (std::vector<std::string>{"NORTH"}));
    EXPECT_EQ(raceRows(), (std::vector<std::string>{"mabc|1|12:00|X |900m", "mabc||||", "mabc|3|13:00|Y Z |1000m"}));
}

TEST_F(MeetingFlow, TrackCommandWithoutASelectedEntryDoesNothing) {
    w.lstRaceName.addRow("keep");
    w.lblMeeting.setCaption("Meeting: KEEP");
    chooseTrack(app.window, app.meetings);
    EXPECT_EQ(w.lstRaceName.count(), 1);
    EXPECT_EQ(w.lblMeeting.caption(), "Meeting: KEEP");
}

TEST_F(MeetingFlow, ServiceDownLeavesNoMeetings) {
    app.services.formGuide = "http://127.0.0.1:1";
    app.limits.connect = std::chrono::milliseconds(500);
    w.cmdDownload.click();
    EXPECT_FALSE(fileExists(app.workPath("access.html")));
    EXPECT_EQ(w.cmbTrackName.count(), 0);
    EXPECT_EQ(w.lstRaceName.count(), 0);
    EXPECT_TRUE(disabledControls().empty());
}

// A download that fails: the first failure of the command with its cause in panel 2 and
// lblStatus, never "Done", and a dead service asked once for the whole command.
TEST(MeetingDownload, AFailedDownloadReportsItsFirstFailure) {
    struct Case {
        const char* what;
        standin::Fault fault;
        std::string override404;  // a target answered 404
        bool closed;              // the service's port is closed
        std::vector<std::string> requests;
        std::string failure;      // after "Page could not be fetched: " + service
    };
    const std::string dated = std::string(kPage) + "?20261206";
    for (const Case& c : std::vector<Case>{
             {"stalled", standin::Fault::Stall, "", false, {kPage}, std::string(kPage) + " (timed out)"},
             {"closed", standin::Fault::None, "", true, {}, std::string(kPage) + " (no connection)"},
             {"dated page missing", standin::Fault::None, dated, false, {kPage, dated, kPage}, dated + " (HTTP 404)"},
         }) {
        SCOPED_TRACE(c.what);
        standin::Server service{standin::Options{.now = "2026-12-06T14:00", .seed = 1, .root = {}, .faultPath = {}}};
        service.start();
        service.setFault(c.fault);
        if (!c.override404.empty()) service.setOverride(c.override404, "<html>Not here</html>", 404);
        const std::string base = c.closed ? "http://127.0.0.1:1" : service.formGuideUrl();
        test::AppFixture fx{Services{base, service.resultsSiteRoot(), service.makerSiteUrl()}};
        App& app = *fx.app;
        app.ports.connectivity = &fx.fakes.connectivity;
        app.limits.total = std::chrono::milliseconds(400);
        wireCommands(app);
        std::vector<std::string> statuses;
        app.window.lblStatus.setObserver([&] { statuses.push_back(app.window.lblStatus.caption()); });

        app.window.cmdDownload.click();

        const std::string failure = "Page could not be fetched: " + base + c.failure;
        EXPECT_EQ(app.window.stBar.panel(2), failure);
        EXPECT_EQ(app.window.lblStatus.caption(), failure);
        EXPECT_EQ(service.requestLog(), c.requests);
        // The address shows while it loads; once a page failed, no "Done".
        const auto loading = std::find(statuses.begin(), statuses.end(), "Loading " + base + kPage + "...");
        const auto failed = std::find_if(statuses.begin(), statuses.end(),
                                         [](const std::string& s) { return s.rfind("Page could not", 0) == 0; });
        EXPECT_LT(loading, failed);
        EXPECT_EQ(std::count(failed, statuses.end(), "Done"), 0);
        app.window.lblStatus.setObserver(nullptr);
    }
}

TEST(MeetingCommands, TrackBoxKeepsEntriesInLineWithSlots) {
    test::AppFixture fx;
    MeetingTables& t = fx.app->meetings;
    t.meetingCounter = 4;
    t.meetingNames[1] = "RANDWICK KENSINGTON";
    t.meetingNames[3] = "ASCOT";
    fillTrackBox(fx.app->window.cmbTrackName, fx.app->meetings);
    EXPECT_EQ(fx.app->window.cmbTrackName.entries(), (std::vector<std::string>{"RANDWICK", "", "ASCOT"}));
}

}  // namespace
}  // namespace selvane
