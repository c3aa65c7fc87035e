#include "meetings/MeetingCommands.h"

#include <algorithm>

#include "app/App.h"
#include "kit/BusyBracket.h"
#include "form/TipGrid.h"
#include "meetings/MeetingParser.h"
#include "net/Connectivity.h"
#include "net/PageLoader.h"
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
std::string storedMeetingPage(const App& app) {
    const std::string path = app.workPath(kMeetingFile);
    return fileExists(path) ? readWholeFile(path) : std::string();
}

bool checkOnline(App& app) {
    ConnectionState& c = app.connection;
    c.isOnline = app.connectivityOverride
                     ? app.connectivityOverride(c.connectionFlags, c.connectionName)
                     : checkInternetConnection(c.connectionFlags, c.connectionName, app.services.formGuide);
    return c.isOnline;
}

// Selects entry index of box, which runs its command; a box without that entry is left alone.
void selectEntry(ComboBox& box, int index) {
    if (index >= 0 && index < box.count()) box.setSelectedIndex(index);
}

// Downloads the meeting page with query into access.html, loads the page without it through the
// engine as every download does, and returns what access.html now holds (nothing when the fetch
// failed).
std::string fetchMeetingPage(App& app, const std::string& query) {
    const std::string url = meetingPageUrl(app);
    downloadTRACK(app, wireAddress(url + query), kMeetingFile);
    Parse(app, wireAddress(url));
    app.window.lblTitle.setCaption("Racecourse: ");
    return storedMeetingPage(app);
}

// The track box from the tables with its first meeting chosen, which runs the track command.
void showFirstMeeting(App& app) {
    fillTrackBox(app);
    selectEntry(app.window.cmbTrackName, 0);
    app.window.cmbTrackName.setFocus();
}

}  // namespace

std::string meetingPageUrl(const App& app) { return app.services.formGuide + kMeetingPagePath; }

std::string wireAddress(std::string_view address) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(address.size());
    for (const char ch : address) {
        const auto c = static_cast<unsigned char>(ch);
        // '#' would start a fragment and '%' an escape: texts from the date box or a page are data.
        if (c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' || c == '^' || c == '`' ||
            c == '{' || c == '|' || c == '}' || c == '#' || c == '%') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string fixedWidthPart(std::string_view text, std::size_t from, std::size_t width) {
    std::string part(from < text.size() ? text.substr(from, width) : std::string_view());
    part.resize(width, ' ');
    return part;
}

void fillTrackBox(App& app) {
    MeetingTables& t = app.meetings;
    ComboBox& box = app.window.cmbTrackName;
    box.clear();
    const int last = std::min<int>(t.meetingCounter - 1, MeetingTables::kMeetings);
    // An empty name still gets its (empty) entry, so entry k stays meeting slot k + 1.
    for (int m = 1; m <= last; ++m) {
        const std::string& name = t.meetingNames[m];
        box.addItem(name.substr(0, name.find(' ')));
    }
}

void fillDateBox(App& app) {
    ComboBox& box = app.window.cmbDateRaces;
    box.clear();
    const float selected = app.meetings.selectedDateIndex;
    for (int i = 0; i <= selected && i < MeetingTables::kDates; ++i) box.addItem(app.meetings.meetingDates[i]);
}

void downloadRaceMeetings(App& app) {
    MainWindow& w = app.window;
    BusyBracket busy(app.window, app.ports.pointer, &app.window.pgBar);
    msfClear(w);
    w.stBar.setPanel(2, "");
    w.lstRaceName.clear();
    w.lstRaces.clear();
    w.lstTips.clear();
    w.cmbDateRaces.clear();
    w.cmbTrackName.clear();
    w.setRaceLabels("Track Name: ", "Time: ", "Length: ", " ");
    w.lblMeeting.setCaption("Meeting: ");
    w.lstResults.clear();
    w.txtResults.setText("");
    w.lblScrollResults.setCaption("");

    if (!checkOnline(app)) {
        if (app.ports.messages)
            app.ports.messages->show(kNoConnectionTitle, kNoConnectionText, MessageIcon::Critical, MessageButtons::Ok);
        return;
    }

    parseMeetingList(fetchMeetingPage(app, ""), app.meetings);

    fillDateBox(app);
    selectEntry(w.cmbDateRaces, w.cmbDateRaces.count() - 1);
    w.cmbDateRaces.setFocus();

    showFirstMeeting(app);
}

void chooseMeetingDate(App& app) {
    MainWindow& w = app.window;
    BusyBracket busy(app.window, app.ports.pointer, &app.window.pgBar);
    clearRaceOutputs(w);
    w.lblMeeting.setCaption("Meeting:");
    w.setRaceLabels("Track Name:", "Time:", "Length:", "");
    if (w.cmbTrackName.count() > 0) w.cmbTrackName.clear();

    const std::string& date = w.cmbDateRaces.text();
    w.dayPart = fixedWidthPart(date, 0, 2);
    w.monthPart = fixedWidthPart(date, 3, 2);
    w.yearPart = fixedWidthPart(date, 6, 4);

    parseMeetingsOnly(fetchMeetingPage(app, "?" + w.yearPart + w.monthPart + w.dayPart), app.meetings);
    showFirstMeeting(app);
}

void downloadPreviousMeetings(App& app) {
    MainWindow& w = app.window;
    BusyBracket busy(app.window, app.ports.pointer, &app.window.pgBar);
    w.lblTitle.setCaption("Racecourse: ");
    collectDateOptions(storedMeetingPage(app), app.meetings);
    w.lstRaceName.clear();
    w.lstRaces.clear();
    w.cmbDateRaces.clear();
    for (int i = 0; i < 4; ++i) w.cmbDateRaces.addItem(app.meetings.meetingDates[i]);
    selectEntry(w.cmbDateRaces, 0);
    w.cmbDateRaces.setFocus();
}

void chooseTrack(App& app) {
    MainWindow& w = app.window;
    const int m = w.cmbTrackName.selectedIndex() + 1;
    if (m < 1 || m > MeetingTables::kMeetings) return;

    clearRaceOutputs(w);
    const std::string& track = w.cmbTrackName.text();
    w.lblTitle.setCaption("Racecourse: " + track);
    w.lblMeeting.setCaption("Meeting: " + track);
    w.setRaceLabels("TrackName: ", "Time: ", "Length: ", "");
    w.lstRaceName.clear();

    const MeetingTables& t = app.meetings;
    for (int k = 1; k <= MeetingTables::kRaces && k <= t.meetingLastRace[m]; ++k) {
        const RaceRow& r = t.raceTable[m][k];
        w.lstRaceName.addRow(t.meetingLinks[m], {r.number, r.time, r.track, r.length});
    }
}

void wireMeetingCommands(App& app) {
    app.window.cmdDownload.onClick = [&app] { downloadRaceMeetings(app); };
    app.window.cmdPrevious.onClick = [&app] { downloadPreviousMeetings(app); };
    app.window.cmbDateRaces.onClick = [&app] { chooseMeetingDate(app); };
    app.window.cmbTrackName.onClick = [&app] { chooseTrack(app); };
}

}  // namespace selvane
