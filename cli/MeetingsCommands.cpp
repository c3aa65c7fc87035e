#include "Cli.h"
#include "Csv.h"
#include "MeetingChoice.h"
#include "PunterJson.h"
#include "meetings/MeetingCommands.h"
#include "meetings/MeetingParser.h"
#include "net/PageLoader.h"
#include "net/WorkFiles.h"

namespace selvane::cli {
namespace {

using nlohmann::json;

// A saved page as downloadTRACK stores it (CR LF line ends, no empty lines), so that LF or CR
// line ends do not reach the texts; the added line end keeps a last line that has none.
std::string asStored(const std::string& page) { return splitIntoLines(page + "\n"); }

// What the date box, the track box and the tables hold after a command or a parse.
json meetingsJson(const App& app) {
    const MeetingTables& t = app.meetings;
    json dates = json::array();
    for (const std::string& d : app.window.cmbDateRaces.entries()) dates.push_back(jsonText(d));
    json meetings = json::array();
    for (int m = 1; m < t.meetingCounter && m <= MeetingTables::kMeetings; ++m) {
        json races = json::array();
        for (int k = 1; k <= MeetingTables::kRaces && k <= t.meetingLastRace[m]; ++k) {
            const RaceRow& r = t.raceTable[m][k];
            races.push_back({{"number", jsonText(r.number)},
                             {"time", jsonText(r.time)},
                             {"track", jsonText(r.track)},
                             {"length", jsonText(r.length)}});
        }
        meetings.push_back({{"slot", m},
                            {"name", jsonText(t.meetingNames[m])},
                            {"link", jsonText(t.meetingLinks[m])},
                            {"lastRace", jsonNumber(t.meetingLastRace[m])},
                            {"races", races}});
    }
    json trackBox = json::array();
    for (const std::string& e : app.window.cmbTrackName.entries()) trackBox.push_back(jsonText(e));
    return {{"dates", dates},
            {"selectedDateIndex", app.window.cmbDateRaces.selectedIndex()},
            {"meetings", meetings},
            {"trackBox", trackBox}};
}

void printMeetings(std::ostream& out, const App& app) {
    const MeetingTables& t = app.meetings;
    const ComboBox& dates = app.window.cmbDateRaces;
    out << "Dates:";
    for (int i = 0; i < dates.count(); ++i)
        out << "  " << terminalLine(dates.entries()[i]) << (i == dates.selectedIndex() ? " (selected)" : "");
    out << "\n";
    if (t.meetingCounter <= 1) {
        out << "No meetings.\n";
        return;
    }
    for (int m = 1; m < t.meetingCounter && m <= MeetingTables::kMeetings; ++m) {
        out << "\n" << m << ". " << terminalLine(t.meetingNames[m]) << "  [" << terminalLine(t.meetingLinks[m]) << "]\n";
        out << "   " << leftAligned("Race", 6) << leftAligned("Time", 8) << leftAligned("Track", 28) << "Length\n";
        for (int k = 1; k <= MeetingTables::kRaces && k <= t.meetingLastRace[m]; ++k) {
            const RaceRow& r = t.raceTable[m][k];
            out << "   " << leftAligned(r.number, 6) << leftAligned(r.time, 8) << leftAligned(r.track, 28)
                << terminalLine(r.length) << "\n";
        }
    }
}

int report(Context& ctx, const App& app) {
    return ctx.print([&] { return meetingsJson(app); }, [&](std::ostream& out) { printMeetings(out, app); });
}

int runParseMeetings(Context& ctx) {
    ctx.args.expect(1, 1, {});
    const std::string page = asStored(readInputFile(ctx.args.at(0, "FILE")));
    auto app = ctx.makeApp();
    parseMeetingList(page, app->meetings);
    fillDateBox(app->window.cmbDateRaces, app->meetings);
    if (app->window.cmbDateRaces.count() > 0) app->window.cmbDateRaces.setSelectedIndex(app->window.cmbDateRaces.count() - 1);
    fillTrackBox(app->window.cmbTrackName, app->meetings);
    return report(ctx, *app);
}

int runParseDates(Context& ctx) {
    ctx.args.expect(1, 1, {});
    const std::string page = asStored(readInputFile(ctx.args.at(0, "FILE")));
    auto app = ctx.makeApp();
    collectDateOptions(page, app->meetings);
    const auto& d = app->meetings.meetingDates;
    return ctx.print(
        [&] {
            json dates = json::array();
            for (int i = 0; i < 5; ++i) dates.push_back(jsonText(d[i]));
            return json{{"dates", dates}};
        },
        [&](std::ostream& out) {
            for (int i = 0; i < 5; ++i) out << i << "  " << terminalLine(d[i]) << "\n";
        });
}

// One record per race of every meeting.
void writeMeetingsCsv(std::ostream& out, const App& app) {
    const MeetingTables& t = app.meetings;
    std::vector<std::vector<std::string>> records{{"date", "meeting", "race", "time", "track", "length"}};
    for (int m = 1; m < t.meetingCounter && m <= MeetingTables::kMeetings; ++m)
        for (int k = 1; k <= MeetingTables::kRaces && k <= t.meetingLastRace[m]; ++k) {
            const RaceRow& r = t.raceTable[m][k];
            records.push_back({app.window.cmbDateRaces.text(), t.meetingNames[m], r.number, r.time, r.track, r.length});
        }
    writeCsv(out, records);
}

// The day's meetings as data: {date, dates, meetings: [{name, code, races: [{number, time, name, length}]}]}.
json meetingsDataJson(const App& app) {
    const MeetingTables& t = app.meetings;
    json dates = json::array();
    for (const std::string& d : app.window.cmbDateRaces.entries()) dates.push_back(isoDate(d));
    json meetings = json::array();
    for (int m = 1; m < t.meetingCounter && m <= MeetingTables::kMeetings; ++m) {
        json races = json::array();
        for (int k = 1; k <= MeetingTables::kRaces && k <= t.meetingLastRace[m]; ++k) {
            const RaceRow& r = t.raceTable[m][k];
            races.push_back({{"number", leadingWhole(r.number)},
                             {"time", isoTime(r.time)},
                             {"name", trimmedText(r.track)},
                             {"length", leadingWhole(r.length)}});
        }
        meetings.push_back({{"name", trimmedText(t.meetingNames[m])}, {"code", jsonText(t.meetingLinks[m])}, {"races", races}});
    }
    return {{"date", isoDate(app.window.cmbDateRaces.text())}, {"dates", dates}, {"meetings", meetings}};
}

int runMeetings(Context& ctx) {
    ctx.args.expect(0, 0, {"--date", "--csv"});
    const bool csv = csvWanted(ctx);
    const auto app = downloadMeetings(ctx);
    recordFetched(ctx, *app);
    if (csv) {
        writeMeetingsCsv(ctx.out, *app);
        return kOk;
    }
    return ctx.print([&] { return punterDocument(meetingsDataJson(*app), ctx.warnings); },
                     [&](std::ostream& out) { printMeetings(out, *app); });
}

const Registrar parseMeetings{Command{
    "parse meetings", "parse meetings FILE", "read a saved meeting page (as access.html holds it)",
    "Parses the page as \"Download Race Meetings\" does and prints the date box entries, the\n"
    "meetings with their races and the track box. With --json: {dates, selectedDateIndex,\n"
    "meetings: [{slot, name, link, lastRace, races: [{number, time, track, length}]}], trackBox}.\n"
    "A page saved with LF or CR line ends is read as access.html would hold it.",
    {}, runParseMeetings}};

const Registrar parseDates{Command{
    "parse dates", "parse dates FILE", "the first five dates of a saved meeting page",
    "Prints the five texts \"Download Previous Race Meetings\" collects from the page\n"
    "(empty where the page has fewer). With --json: {dates}. Line ends as for parse meetings.",
    {}, runParseDates}};

const Registrar meetingsCommand{Command{
    "meetings", "meetings [--date DD/MM/YYYY] [--csv]", "the day's meetings and their races from the form-guide service",
    "Downloads the meeting page as \"Download Race Meetings\" does (or, with --date, as choosing\n"
    "that date does) and prints the date box, the meetings with their races and the track box.\n"
    "With --json: {date, dates, meetings: [{name, code, races: [{number, time, name, length}]}],\n"
    "error, warnings} (docs/cli-json.md). --csv prints one record per race: date, meeting,\n"
    "race, time, track, length. Exit status 1 when the service cannot be reached. A meeting whose\n"
    "race line cannot be read is left out and named on stderr.",
    {"--date"}, runMeetings, {"--csv"}, true, true}};

}  // namespace
}  // namespace selvane::cli
