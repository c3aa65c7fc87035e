#include "MeetingChoice.h"

#include "app/Commands.h"
#include "meetings/MeetingCommands.h"
#include "net/PageStatus.h"
#include "net/PageText.h"
#include "net/WorkFiles.h"

namespace selvane::cli {
namespace {

bool isDate(const std::string& s) {
    if (s.size() != 10 || s[2] != '/' || s[5] != '/') return false;
    for (std::size_t i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

std::string firstWord(const std::string& s) {
    const std::string_view t = text::trimSpaces(s);
    return std::string(t.substr(0, t.find(' ')));
}

// Records the address of the first failed fetch, as status panel 2 shows it: today's page, or the
// dated one when only that failed. A later command of the same download (the date command on the
// empty date a failed download leaves) writes its own failure there, so the panel is watched.
class FirstFailedFetch {
public:
    explicit FirstFailedFetch(StatusBar& bar) : bar_(bar) {
        bar_.setObserver([this] {
            static const std::string prefix = std::string(kFetchFailedStatus) + ": ";
            const std::string& panel = bar_.panel(2);
            if (address_.empty() && panel.rfind(prefix, 0) == 0) address_ = panel.substr(prefix.size());
        });
    }
    ~FirstFailedFetch() { bar_.setObserver(nullptr); }
    FirstFailedFetch(const FirstFailedFetch&) = delete;
    FirstFailedFetch& operator=(const FirstFailedFetch&) = delete;
    const std::string& address() const { return address_; }

private:
    StatusBar& bar_;
    std::string address_;
};

}  // namespace

std::unique_ptr<App> downloadMeetings(Context& ctx) {
    const std::optional<std::string> date = ctx.args.option("--date");
    if (date && !isDate(*date)) throw UsageError("--date takes DD/MM/YYYY");

    auto app = ctx.makeApp();
    // Only the service is needed: whether the machine has a network is not asked.
    ctx.ports.connectivity.flags = 0;
    ctx.ports.connectivity.name.clear();
    app->ports.connectivity = &ctx.ports.connectivity;
    wireCommands(*app);
    MainWindow& w = app->window;
    const FirstFailedFetch failure(w.stBar);
    if (date) {
        // As if the date had been chosen in the date box.
        w.cmbDateRaces.addItem(*date);
        w.cmbDateRaces.setSelectedIndex(0);
    } else {
        w.cmdDownload.click();
    }
    if (!fileExists(app->workPath("access.html")))
        throw InputError((failure.address().empty() ? meetingPageUrl(app->services) : failure.address()) +
                         ": the page could not be fetched from the form-guide service");
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

std::unique_ptr<App> chooseRaceOfArguments(Context& ctx) {
    ctx.args.expect(2, 2, {"--date"});
    const std::string track = ctx.args.at(0, "TRACK");
    const int race = raceArgument(ctx.args.at(1, "RACE"));
    auto app = openMeeting(ctx, track);
    selectRace(*app, race, track);
    app->window.lstRaceName.onDoubleClick();
    return app;
}

void requireResultsPage(const App& app) {
    if (fileExists(app.workPath("mtgraces.html"))) return;
    const MainWindow& w = app.window;
    throw InputError(app.services.resultsSiteRoot + w.yearPart + "/" + w.monthPart + "/" + w.dayPart +
                     "/mtgraces.html: the page could not be fetched from the tote results site");
}

int raceArgument(const std::string& text) {
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos ||
        std::stoi(text) < 1)
        throw UsageError("RACE is a race number");
    return std::stoi(text);
}

}  // namespace selvane::cli
