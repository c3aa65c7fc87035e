#include "meetings/MeetingCommands.h"

#include <algorithm>

#include "kit/BusyBracket.h"
#include "form/TipGrid.h"
#include "meetings/MeetingParser.h"
#include "net/Connectivity.h"
#include "net/PageLoader.h"
#include "net/PageStatus.h"
#include "net/PageText.h"
#include "net/WorkFiles.h"

namespace selvane {
namespace {

constexpr const char* kMeetingPagePath = "/cgi-bin/tvf/access.pl";
constexpr const char* kMeetingFile = "access.html";

void clearIfFilled(ReportList& list) {
    if (list.count() > 0) list.clear();
}

// What the previous date, meeting or race left: the tip grid, status panel 2, the results and
// the ticker, and the race, runner and tip lists (each only if it has entries).
void clearRaceOutputs(MainWindow& w) {
    msfClear(w);
    w.stBar.setPanel(2, "");
    w.lstResults.clear();
    w.txtResults.setText("");
    w.lblScrollResults.setCaption("");
    clearIfFilled(w.lstRaceName);
    clearIfFilled(w.lstRaces);
    clearIfFilled(w.lstTips);
}

// The stored meeting page, or nothing when there is none.
std::string storedMeetingPage(const Context& ctx) {
    const std::string path = ctx.workPath(kMeetingFile);
    return fileExists(path) ? readWholeFile(path) : std::string();
}

bool checkOnline(const Context& ctx, ConnectionState& c) {
    c.isOnline = ctx.connected(c.connectionFlags, c.connectionName);
    return c.isOnline;
}

// Selects entry index of box, which runs its command; a box without that entry is left alone.
void selectEntry(ComboBox& box, int index) {
    if (index >= 0 && index < box.count()) box.setSelectedIndex(index);
}

// Downloads the meeting page with query (an encoded address part) into access.html, loads the
// page without it through the engine as every download does (one fetch when both are the same),
// and returns what access.html now holds (nothing when the fetch failed).
std::string fetchMeetingPage(Context& ctx, MainWindow& w, const std::string& query) {
    const std::string url = meetingPageUrl(ctx.services);
    showLoading(w, url + query);
    if (query.empty()) {
        showParsedPage(w, ctx.ports.pump, downloadAndParse(ctx, url, kMeetingFile));
    } else {
        reportLoad(w, downloadTRACK(ctx, url + query, kMeetingFile));
        showLoading(w, url);
        showParsedPage(w, ctx.ports.pump, Parse(ctx, url));
    }
    w.lblTitle.setCaption("Racecourse: ");
    return storedMeetingPage(ctx);
}

// The track box from the tables with its first meeting chosen, which runs the track command.
void showFirstMeeting(MainWindow& w, const MeetingTables& meetings) {
    fillTrackBox(w.cmbTrackName, meetings);
    selectEntry(w.cmbTrackName, 0);
    w.cmbTrackName.setFocus();
}

// After the track command, which empties panel 2: the meetings the parse left out, unless the
// command's failed fetch is there.
void reportLeftOut(MainWindow& w, const MeetingTables& meetings) {
    if (meetings.leftOut.empty() || !firstFetchFailure(w).empty()) return;
    std::string text = leftOutText(meetings.leftOut.front());
    if (meetings.leftOut.size() > 1) text += " (and " + std::to_string(meetings.leftOut.size() - 1) + " more)";
    w.stBar.setPanel(2, text);
    w.lblStatus.setCaption(text);
}

}  // namespace

std::string leftOutText(const LeftOutMeeting& meeting) {
    constexpr std::size_t kShown = 60;
    std::string race = meeting.raceText;
    if (race.size() > kShown) {
        std::size_t cut = kShown;
        // Not inside a UTF-8 character.
        while (cut > 0 && (static_cast<unsigned char>(race[cut]) & 0xC0) == 0x80) --cut;
        race = race.substr(0, cut) + "...";
    }
    const std::string name(text::trimSpaces(meeting.name));
    return "Meeting " + (name.empty() ? meeting.link : name) + " left out: its race line \"" + race +
           "\" cannot be read";
}

std::string meetingPageUrl(const Services& services) { return services.formGuide + kMeetingPagePath; }

void fillTrackBox(ComboBox& box, const MeetingTables& t) {
    box.clear();
    const int last = std::min<int>(t.meetingCounter - 1, MeetingTables::kMeetings);
    // An empty name still gets its (empty) entry, so entry k stays meeting slot k + 1.
    for (int m = 1; m <= last; ++m) {
        const std::string& name = t.meetingNames[m];
        box.addItem(name.substr(0, name.find(' ')));
    }
}

void fillDateBox(ComboBox& box, const MeetingTables& meetings) {
    box.clear();
    const float selected = meetings.selectedDateIndex;
    for (int i = 0; i <= selected && i < MeetingTables::kDates; ++i) box.addItem(meetings.meetingDates[i]);
}

void downloadRaceMeetings(Context& ctx, MainWindow& w, MeetingTables& meetings, ConnectionState& connection,
                          ChosenRace& chosen) {
    const CommandScope command(ctx);
    BusyBracket busy(w, ctx.ports.pointer, &w.pgBar);
    msfClear(w);
    w.stBar.setPanel(2, "");
    w.lstRaceName.clear();
    w.lstRaces.clear();
    w.lstTips.clear();
    w.cmbDateRaces.clear();
    w.cmbTrackName.clear();
    chosen = {};
    w.setRaceLabels("Track Name: ", "Time: ", "Length: ", " ");
    w.lblMeeting.setCaption("Meeting: ");
    w.lstResults.clear();
    w.txtResults.setText("");
    w.lblScrollResults.setCaption("");

    if (!checkOnline(ctx, connection)) {
        if (ctx.ports.messages)
            ctx.ports.messages->show(kNoConnectionTitle, kNoConnectionText, MessageIcon::Critical, MessageButtons::Ok);
        return;
    }

    parseMeetingList(fetchMeetingPage(ctx, w, ""), meetings);

    fillDateBox(w.cmbDateRaces, meetings);
    // The date command empties panel 2 and, after a failed download, fails on an empty date:
    // the download's own failure is the one to report.
    const std::string firstFailure = firstFetchFailure(w);
    selectEntry(w.cmbDateRaces, w.cmbDateRaces.count() - 1);
    if (!firstFailure.empty()) {
        w.stBar.setPanel(2, firstFailure);
        w.lblStatus.setCaption(firstFailure);
    }
    w.cmbDateRaces.setFocus();

    showFirstMeeting(w, meetings);
    reportLeftOut(w, meetings);
}

void chooseMeetingDate(Context& ctx, MainWindow& w, MeetingTables& meetings, ChosenRace& chosen) {
    const CommandScope command(ctx);
    BusyBracket busy(w, ctx.ports.pointer, &w.pgBar);
    clearRaceOutputs(w);
    w.lblMeeting.setCaption("Meeting:");
    chosen = {};
    w.setRaceLabels("Track Name:", "Time:", "Length:", "");
    if (w.cmbTrackName.count() > 0) w.cmbTrackName.clear();

    const std::string& date = w.cmbDateRaces.text();
    w.dayPart = text::fixedWidthPart(date, 0, 2);
    w.monthPart = text::fixedWidthPart(date, 3, 2);
    w.yearPart = text::fixedWidthPart(date, 6, 4);

    parseMeetingsOnly(fetchMeetingPage(ctx, w, "?" + text::addressPart(w.yearPart + w.monthPart + w.dayPart)), meetings);
    showFirstMeeting(w, meetings);
    reportLeftOut(w, meetings);
}

void downloadPreviousMeetings(Context& ctx, MainWindow& w, MeetingTables& meetings) {
    const CommandScope command(ctx);
    BusyBracket busy(w, ctx.ports.pointer, &w.pgBar);
    w.lblTitle.setCaption("Racecourse: ");
    collectDateOptions(storedMeetingPage(ctx), meetings);
    w.lstRaceName.clear();
    w.lstRaces.clear();
    w.cmbDateRaces.clear();
    for (int i = 0; i < 4; ++i) w.cmbDateRaces.addItem(meetings.meetingDates[i]);
    selectEntry(w.cmbDateRaces, 0);
    w.cmbDateRaces.setFocus();
}

void chooseTrack(MainWindow& w, const MeetingTables& t, ChosenRace& chosen) {
    const int m = w.cmbTrackName.selectedIndex() + 1;
    if (m < 1 || m > MeetingTables::kMeetings) return;

    clearRaceOutputs(w);
    const std::string& track = w.cmbTrackName.text();
    w.lblTitle.setCaption("Racecourse: " + track);
    w.lblMeeting.setCaption("Meeting: " + track);
    chosen = {};
    w.setRaceLabels("TrackName: ", "Time: ", "Length: ", "");
    w.lstRaceName.clear();

    for (int k = 1; k <= MeetingTables::kRaces && k <= t.meetingLastRace[m]; ++k) {
        const RaceRow& r = t.raceTable[m][k];
        w.lstRaceName.addRow(t.meetingLinks[m], {r.number, r.time, r.track, r.length});
    }
}

}  // namespace selvane
