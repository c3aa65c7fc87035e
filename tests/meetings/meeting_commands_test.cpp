#include "meetings/MeetingCommands.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <mutex>
#include <thread>

#include "net/PageLoader.h"
#include "net/WorkFiles.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

// A form-guide service that serves meeting pages by date and logs every request target.
// Today is 03/03/2024; every day has RANDWICK (races 1, 2, 4) and a two-word NORTH PARK.
class MeetingService {
public:
    MeetingService() {
        server_.Get("/cgi-bin/tvf/access.pl", [this](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                targets_.push_back(req.target);
            }
            const std::size_t q = req.target.find('?');
            const std::string day = q == std::string::npos ? "20240303" : httplib::detail::decode_url(req.target.substr(q + 1), false);
            res.set_content(pageFor(day), "text/html");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~MeetingService() {
        server_.stop();
        thread_.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::vector<std::string> targets() {
        std::lock_guard<std::mutex> lock(mutex_);
        return targets_;
    }

    static std::string pageFor(const std::string& day) {
        std::string s = "<HTML><HEAD><TITLE>Form guide</TITLE></HEAD><BODY>\n<FORM METHOD=\"POST\">\n";
        s += "<SELECT NAME=\"date\" onChange=\"newdate(this);\" SIZE=\"1\">\n";
        for (const char* d : {"01", "02", "03", "04", "05"})
            s += std::string(day == std::string("202403") + d ? "<OPTION SELECTED VALUE=\"" : "<OPTION VALUE=\"") +
                 "202403" + d + "\">" + d + "/03/2024\n";
        s += "</SELECT>\n";
        if (day.size() != 8 || day.rfind("202403", 0) != 0) return s + "<P>No meetings on this day.</P></FORM></BODY></HTML>\n";
        const std::string dd = day.substr(6);
        s += "<P><STRONG>3. Click GO to have your data delivered to you.</STRONG></P>\n";
        s += "<SELECT NAME=\"MRA" + dd + "\"><OPTION VALUE=\"\">RANDWICK " + dd + "</SELECT>\n";
        s += "<SELECT NAME=\"NRA" + dd + "\" SIZE=\"1\">\n<OPTION VALUE=\"1\">R1 12:30 RANDWICK 1200m\n"
             "<OPTION VALUE=\"2\">R2 13:05 RANDWICK 1400m\n<OPTION VALUE=\"4\">R4 14:15 RANDWICK 2000m\n</SELECT>\n";
        s += "<SELECT NAME=\"MNP" + dd + "\"><OPTION VALUE=\"\">NORTH PARK</SELECT>\n";
        s += "<SELECT NAME=\"NNP" + dd + "\" SIZE=\"1\">\n<OPTION VALUE=\"7\">R7 12:45 NORTH PARK 1000m\n</SELECT>\n";
        return s + "</FORM></BODY></HTML>\n";
    }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    std::mutex mutex_;
    std::vector<std::string> targets_;
};

constexpr const char* kPage = "/cgi-bin/tvf/access.pl";

struct MeetingFlow : ::testing::Test {
    MeetingService service;
    test::AppFixture fx{Services{service.url(), service.url() + "/tote/", service.url() + "/maker/"}};
    App& app = *fx.app;
    MainWindow& w = app.window;
    bool online = true;

    void SetUp() override {
        app.connectivityOverride = [this](std::uint32_t& flags, std::string& name) {
            flags = online ? 1 : 0;
            name = online ? "test" : "";
            return online;
        };
        wireMeetingCommands(app);
    }

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
    w.cmdDownload.click();

    EXPECT_EQ(service.targets(), (std::vector<std::string>{kPage, kPage, std::string(kPage) + "?20240303", kPage}));
    EXPECT_EQ(w.cmbDateRaces.entries(), (std::vector<std::string>{"01/03/2024", "02/03/2024", "03/03/2024"}));
    EXPECT_EQ(w.cmbDateRaces.text(), "03/03/2024");
    EXPECT_EQ(w.cmbTrackName.entries(), (std::vector<std::string>{"RANDWICK", "NORTH"}));
    EXPECT_EQ(w.cmbTrackName.text(), "RANDWICK");
    EXPECT_EQ(raceRows(), (std::vector<std::string>{"mra03|1|12:30|RANDWICK |1200m", "mra03|2|13:05|RANDWICK |1400m",
                                                    "mra03||||", "mra03|4|14:15|RANDWICK |2000m"}));
    EXPECT_EQ(w.lblTitle.caption(), "Racecourse: RANDWICK");
    EXPECT_EQ(w.lblMeeting.caption(), "Meeting: RANDWICK");
    EXPECT_EQ(w.lblTrackName.caption(), "TrackName: ");
    EXPECT_EQ(w.lblRaceTime.caption(), "Time: ");
    EXPECT_EQ(w.lblRaceLength.caption(), "Length: ");
    EXPECT_EQ(w.lblRaceNumber.caption(), "");
    EXPECT_EQ(w.lblStatus.caption(), "Done");
    EXPECT_EQ(w.dayPart + w.monthPart + w.yearPart, "03032024");
    EXPECT_TRUE(fx.fakes.messages.shown.empty());
    EXPECT_TRUE(disabledControls().empty());
    EXPECT_FALSE(w.pgBar.visible());
    // The date command's bracket opens and closes inside the download command's.
    EXPECT_EQ(fx.fakes.pointer.history, (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(test::readFile(app.workPath("access.html")), splitIntoLines(MeetingService::pageFor("20240303")));
}

TEST_F(MeetingFlow, DownloadOfflineShowsOnlyTheMessage) {
    online = false;
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
    EXPECT_TRUE(service.targets().empty());
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
    w.cmbDateRaces.addItem("5/3/24");
    w.cmbDateRaces.setSelectedIndex(0);

    EXPECT_EQ(w.dayPart, "5/");
    EXPECT_EQ(w.monthPart, "/2");
    EXPECT_EQ(w.yearPart, "    ");
    ASSERT_EQ(service.targets().size(), 2u);
    EXPECT_EQ(service.targets()[0], std::string(kPage) + "?%20%20%20%20/25/");
    EXPECT_EQ(service.targets()[1], kPage);
    // That page has no meetings: the date command's own captions stay, without trailing blanks.
    EXPECT_EQ(w.cmbTrackName.count(), 0);
    EXPECT_EQ(w.lblMeeting.caption(), "Meeting:");
    EXPECT_EQ(w.lblRaceTime.caption(), "Time:");
    EXPECT_EQ(w.lblRaceLength.caption(), "Length:");
    EXPECT_EQ(w.lblTrackName.caption(), "Track Name:");
    EXPECT_EQ(w.lblRaceNumber.caption(), "");
    EXPECT_EQ(w.lblTitle.caption(), "Racecourse: ");
    EXPECT_TRUE(disabledControls().empty());
}

TEST_F(MeetingFlow, PreviousBeforeAnyDownloadChoosesAnEmptyDate) {
    w.cmdPrevious.click();

    EXPECT_EQ(w.cmbDateRaces.entries(), (std::vector<std::string>{"", "", "", ""}));
    EXPECT_EQ(w.cmbDateRaces.selectedIndex(), 0);
    EXPECT_EQ(service.targets(), (std::vector<std::string>{std::string(kPage) + "?%20%20%20%20%20%20%20%20", kPage}));
    EXPECT_EQ(w.cmbTrackName.count(), 0);
    EXPECT_TRUE(disabledControls().empty());
}

TEST_F(MeetingFlow, PreviousAfterADownloadOffersTheFirstFourDates) {
    w.cmdDownload.click();
    w.cmdPrevious.click();

    EXPECT_EQ(w.cmbDateRaces.entries(), (std::vector<std::string>{"01/03/2024", "02/03/2024", "03/03/2024", "04/03/2024"}));
    EXPECT_EQ(w.cmbDateRaces.text(), "01/03/2024");
    EXPECT_EQ(service.targets().back(), kPage);
    EXPECT_EQ(service.targets()[service.targets().size() - 2], std::string(kPage) + "?20240301");
    EXPECT_EQ(w.cmbTrackName.entries(), (std::vector<std::string>{"RANDWICK", "NORTH"}));
    EXPECT_EQ(w.lstRaceName.row(0).text, "mra01");
}

TEST_F(MeetingFlow, ChoosingATrackShowsItsRacesFromTheTables) {
    w.cmdDownload.click();
    const std::size_t fetches = service.targets().size();
    w.cmbTrackName.setSelectedIndex(1);

    EXPECT_EQ(service.targets().size(), fetches);
    EXPECT_EQ(raceRows(), (std::vector<std::string>{"mnp03||||", "mnp03||||", "mnp03||||", "mnp03||||", "mnp03||||",
                                                    "mnp03||||", "mnp03|7|12:45|NORTH PARK |1000m"}));
    EXPECT_EQ(w.lblTitle.caption(), "Racecourse: NORTH");
    EXPECT_EQ(w.lblMeeting.caption(), "Meeting: NORTH");
}

TEST_F(MeetingFlow, TrackCommandWithoutASelectedEntryDoesNothing) {
    w.lstRaceName.addRow("keep");
    w.lblMeeting.setCaption("Meeting: KEEP");
    chooseTrack(app);
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

TEST(MeetingCommands, TrackBoxKeepsEntriesInLineWithSlots) {
    test::AppFixture fx;
    MeetingTables& t = fx.app->meetings;
    t.meetingCounter = 4;
    t.meetingNames[1] = "RANDWICK KENSINGTON";
    t.meetingNames[3] = "ASCOT";
    fillTrackBox(*fx.app);
    EXPECT_EQ(fx.app->window.cmbTrackName.entries(), (std::vector<std::string>{"RANDWICK", "", "ASCOT"}));
}

TEST(MeetingCommands, FixedWidthParts) {
    struct Case {
        std::string date, day, month, year;
    };
    for (const Case& c : std::vector<Case>{{"15/03/2007", "15", "03", "2007"},
                                           {"15/03/2007 extra", "15", "03", "2007"},
                                           {"1/3/2007", "1/", "/2", "07  "},
                                           {"", "  ", "  ", "    "},
                                           {"9", "9 ", "  ", "    "}}) {
        EXPECT_EQ(fixedWidthPart(c.date, 0, 2) + "|" + fixedWidthPart(c.date, 3, 2) + "|" + fixedWidthPart(c.date, 6, 4),
                  c.day + "|" + c.month + "|" + c.year)
            << c.date;
    }
}

}  // namespace
}  // namespace selvane
