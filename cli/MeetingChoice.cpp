#include "MeetingChoice.h"

#include "app/Commands.h"
#include "form/RaceSelection.h"
#include "meetings/MeetingCommands.h"
#include "net/PageStatus.h"
#include "net/PageText.h"
#include "net/WorkFiles.h"

namespace selvane::cli {
namespace {

std::string firstWord(const std::string& s) {
    const std::string_view t = text::trimSpaces(s);
    return std::string(t.substr(0, t.find(' ')));
}

}  // namespace

std::unique_ptr<App> downloadMeetings(Context& ctx) {
    // runCli has checked that it is a calendar date.
    const std::optional<std::string> date = ctx.args.option("--date");

    auto app = ctx.makeApp();
    // Only the service is needed: whether the machine has a network is not asked.
    ctx.ports.connectivity.flags = 0;
    ctx.ports.connectivity.name.clear();
    app->ports.connectivity = &ctx.ports.connectivity;
    wireCommands(*app);
    MainWindow& w = app->window;
    if (date) {
        // As if the date had been chosen in the date box.
        w.cmbDateRaces.addItem(*date);
        w.cmbDateRaces.setSelectedIndex(0);
    } else {
        w.cmdDownload.click();
    }
    requireWorkFilesWritten(*app);
    if (!fileExists(app->workPath("access.html"))) throw InputError(fetchFailure(w, meetingPageUrl(app->services)));
    // The meetings listed are good; the ones left out are said, not silently missing.
    for (const LeftOutMeeting& m : app->meetings.leftOut) {
        ctx.err << "selvane-cli " << ctx.name << ": " << terminalLine(leftOutText(m)) << "\n";
        ctx.warnings.push_back(leftOutText(m));
    }
    return app;
}

std::unique_ptr<App> openMeeting(Context& ctx, const std::string& track) {
    auto app = downloadMeetings(ctx);
    MainWindow& w = app->window;
    const std::string wanted = text::upper(firstWord(track));
    for (int i = 0; i < w.cmbTrackName.count(); ++i) {
        if (text::upper(w.cmbTrackName.entries()[i]) != wanted) continue;
        w.cmbTrackName.setSelectedIndex(i);
        return app;
    }
    std::string known;
    for (const std::string& e : w.cmbTrackName.entries()) known += (known.empty() ? "" : ", ") + e;
    throw InputError(track + ": no such meeting on " + w.cmbDateRaces.text() +
                     (known.empty() ? " (no meetings)" : " (meetings: " + known + ")"));
}

void selectRace(App& app, int race, const std::string& track) {
    ReportList& races = app.window.lstRaceName;
    for (int i = 0; i < races.count(); ++i) {
        if (text::leadingNumber(races.subItem(i, 1)) != race) continue;
        races.setSelectedIndex(i);
        return;
    }
    throw InputError(track + ": no race " + std::to_string(race) + " (the meeting has " +
                     std::to_string(races.count()) + ")");
}

std::unique_ptr<App> chooseRaceOfArguments(Context& ctx, std::vector<std::string> options) {
    options.push_back("--date");
    ctx.args.expect(2, 2, std::move(options));
    const std::string track = ctx.args.at(0, "TRACK");
    const int race = raceArgument(ctx.args.at(1, "RACE"));
    auto app = openMeeting(ctx, track);
    selectRace(*app, race, track);
    app->window.lstRaceName.onDoubleClick();
    requireWorkFilesWritten(*app);
    return app;
}

std::string fetchFailure(const MainWindow& w, const std::string& address) {
    const std::string prefix = std::string(kFetchFailedStatus) + ": ";
    const std::string first = firstFetchFailure(w);
    if (!first.empty()) return first;
    // Panel 2 may hold the best bet of the race shown; lblStatus still names the failure.
    const std::string& status = w.lblStatus.caption();
    return status.rfind(prefix, 0) == 0 ? status : prefix + address;
}

std::string racePageFailure(const App& app) {
    const MainWindow& w = app.window;
    const int row = w.lstRaceName.selectedIndex();
    if (row < 0) return {};
    const std::string address =
        racePageAddress(app.services.formGuide, w.lstRaceName.row(row).text, w.lstRaceName.subItem(row, 1));
    const std::string failure = firstFetchFailure(w);
    return failure.rfind(std::string(kFetchFailedStatus) + ": " + address + " ", 0) == 0 ? failure : std::string();
}

void requireWorkFilesWritten(const App& app) {
    if (!app.firstWriteFailure.empty()) throw InputError(app.firstWriteFailure);
}

void requireResultsPage(const App& app) {
    requireWorkFilesWritten(app);
    if (fileExists(app.workPath("mtgraces.html"))) return;
    const MainWindow& w = app.window;
    throw InputError(fetchFailure(w, app.services.resultsSiteRoot + w.yearPart + "/" + w.monthPart + "/" +
                                         w.dayPart + "/mtgraces.html"));
}

int raceArgument(const std::string& text) {
    const std::optional<int> n = digitsNumber(text, 2);
    if (!n || *n < 1) throw UsageError("RACE is a race number");
    return *n;
}

}  // namespace selvane::cli
