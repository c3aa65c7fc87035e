#include "meetings/MeetingCommands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/Commands.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

constexpr const char* kPage = "/cgi-bin/tvf/access.pl";

// The track box entries and the first meeting's race list rows a generated day gives.
std::vector<std::string> expected(const standin::RaceDay& day, std::size_t meeting = 0) {
    std::vector<std::string> out;
    for (const standin::Meeting& m : day.meetings) out.push_back(m.name.substr(0, m.name.find(' ')));
    const standin::Meeting& m = day.meetings[meeting];
    for (const standin::Race& r : m.races)
        out.push_back("m" + m.formCode + "|" + std::to_string(r.number) + "|" + r.startTime() + "|" + r.trackWords + " |" +
                      r.lengthText());
    return out;
}

struct MeetingFlow : ::testing::Test {
    test::StandinFixture web;
    test::AppFixture fx{web.services()};
    MainWindow& w = fx.app->window;

    MeetingFlow() {
        fx.app->ports.connectivity = &fx.fakes.connectivity;
        wireCommands(*fx.app);
    }
    // The track box entries, then the race list rows as link|number|time|track|length.
    std::vector<std::string> shown() const {
        std::vector<std::string> out = w.cmbTrackName.entries();
        for (const ReportRow& r : w.lstRaceName.rows()) {
            out.push_back(r.text);
            for (const std::string& sub : r.subItems) out.back() += "|" + sub;
        }
        return out;
    }
    // The download's own first failure in panel 2 and lblStatus, and never "Done" once it failed.
    void expectDownloadFails(const std::string& failure) {
        std::vector<std::string> statuses;
        w.lblStatus.setObserver([&] { statuses.push_back(w.lblStatus.caption()); });
        w.cmdDownload.click();
        w.lblStatus.setObserver(nullptr);
        const std::string message = "Page could not be fetched: " + web.services().formGuide + failure;
        EXPECT_EQ(w.stBar.panel(2) + "|" + w.lblStatus.caption(), message + "|" + message);
        EXPECT_EQ(std::count(std::find(statuses.begin(), statuses.end(), message), statuses.end(), "Done"), 0);
    }
};

TEST_F(MeetingFlow, DownloadThenATrackThenPrevious) {
    web.server.setOverride(std::string(kPage) + "?20261206", web.server.reply(std::string(kPage) + "?20261205").body);
    w.cmdDownload.click();

    // The undated page once for both loads, the selected date's page, the undated one for the engine.
    EXPECT_EQ(web.server.requestLog(), (std::vector<std::string>{kPage, std::string(kPage) + "?20261206", kPage}));
    EXPECT_EQ(w.cmbDateRaces.entries(), (std::vector<std::string>{"29/11/2026", "30/11/2026", "01/12/2026", "02/12/2026",
                                                                 "03/12/2026", "04/12/2026", "05/12/2026", "06/12/2026"}));
    EXPECT_EQ(w.cmbDateRaces.text() + "|" + w.dayPart + w.monthPart + w.yearPart, "06/12/2026|06122026");
    const standin::RaceDay dec5 = standin::generateRaceDay({2026, 12, 5}, 1);
    EXPECT_EQ(shown(), expected(dec5));
    EXPECT_EQ(w.lblTitle.caption() + "|" + w.lblMeeting.caption(), "Racecourse: " + shown()[0] + "|Meeting: " + shown()[0]);
    EXPECT_EQ(w.lblStatus.caption(), "Done");
    for (const Control* c : w.controls()) EXPECT_TRUE(c->enabled());
    // The date command's bracket opens and closes inside the download's; the date box has the focus.
    EXPECT_EQ(fx.fakes.pointer.history, (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(w.cmbDateRaces.focusRequests(), 1);

    // A track comes from the tables.
    w.cmbTrackName.setSelectedIndex(1);
    EXPECT_EQ(shown(), expected(dec5, 1));
    EXPECT_EQ(w.lblTitle.caption(), "Racecourse: " + expected(dec5)[1]);

    // Previous offers the first four dates of the stored (dated) page and chooses the first.
    w.cmdPrevious.click();
    EXPECT_EQ(w.cmbDateRaces.entries(), (std::vector<std::string>{"28/11/2026", "29/11/2026", "30/11/2026", "01/12/2026"}));
    EXPECT_EQ(w.cmbDateRaces.focusRequests(), 2);
    EXPECT_EQ(shown(), expected(standin::generateRaceDay({2026, 11, 28}, 1)));
}

TEST_F(MeetingFlow, DownloadOfflineShowsOnlyTheMessage) {
    fx.fakes.connectivity.online = false;
    w.lstRaceName.addRow("old", {"1"});
    w.cmdDownload.click();

    ASSERT_EQ(fx.fakes.messages.shown.size(), 1u);
    const ShownMessage& m = fx.fakes.messages.shown[0];
    EXPECT_EQ(m.title + "|" + m.text,
              "No Connection|There is currently no internet connection present. \r\n\n"
              "Please exit the application, check your internet connection and run the software again.");
    EXPECT_EQ(web.server.requestCount(), 0u);
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(w.lblMeeting.caption() + "|" + w.lblTrackName.caption(), "Meeting: |Track Name: ");
    EXPECT_FALSE(fx.app->connection.isOnline);
}

TEST_F(MeetingFlow, ChoosingADate) {
    w.cmbDateRaces.addItem("25/12/2026");  // no meetings that day
    w.cmbDateRaces.addItem("5/3/24");
    w.cmbDateRaces.setSelectedIndex(0);
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(w.lblMeeting.caption() + "|" + w.lblRaceTime.caption() + "|" + w.lblRaceLength.caption() + "|" +
                  w.lblTrackName.caption() + "|" + w.lblTitle.caption(),
              "Meeting:|Time:|Length:|Track Name:|Racecourse: ");

    // A short date keeps its eight characters, the blanks and slashes percent-encoded.
    web.server.setOverride(std::string(kPage) + "?%20%20%20%20%2F25%2F", web.server.reply(std::string(kPage) + "?20261205").body);
    w.cmbDateRaces.setSelectedIndex(1);
    EXPECT_EQ(w.dayPart + "|" + w.monthPart + "|" + w.yearPart, "5/|/2|    ");
    EXPECT_EQ(shown(), expected(standin::generateRaceDay({2026, 12, 5}, 1)));
}

TEST_F(MeetingFlow, AFailedDownloadReportsItsOwnFirstFailure) {
    web.server.setFault(standin::Fault::Stall);
    fx.app->limits.total = std::chrono::milliseconds(400);
    expectDownloadFails(std::string(kPage) + " (timed out)");
    web.server.setFault(standin::Fault::None);
    web.server.setOverride(std::string(kPage) + "?20261206", "<html>Not here</html>", 404);
    expectDownloadFails(std::string(kPage) + "?20261206 (HTTP 404)");  // the date command's own page
}

// The status shows the meeting left out, as it shows a failed fetch; the other meetings stay.
TEST_F(MeetingFlow, AMeetingThatCannotBeReadIsLeftOutAndSaid) {
    for (const std::string& target : {std::string(kPage), std::string(kPage) + "?20261206"}) {
        std::string page = web.server.reply(target).body;
        page.replace(page.find(">R3 "), 4, ">R99999 ");
        web.server.setOverride(target, page);
    }
    w.cmdDownload.click();
    // The track box without SCONE, then the first meeting shown: the day's second.
    std::vector<std::string> want = expected(standin::generateRaceDay({2026, 12, 6}, 1), 1);
    want.erase(want.begin());
    EXPECT_EQ(shown(), want);
    const std::string said = "Meeting SCONE left out: its race line \"R99999 14:10 BM58 HCP 2000m\" cannot be read";
    EXPECT_EQ(w.stBar.panel(2) + "|" + w.lblStatus.caption(), said + "|" + said);
}

}  // namespace
}  // namespace selvane
