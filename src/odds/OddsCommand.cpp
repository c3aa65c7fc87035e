#include "odds/OddsCommand.h"

#include <filesystem>

#include "kit/BusyBracket.h"
#include "kit/Guarded.h"
#include "kit/MainWindow.h"
#include "kit/RaceMessages.h"
#include "net/PageLoader.h"
#include "net/PageStatus.h"
#include "net/PageText.h"
#include "net/WorkFiles.h"
#include "odds/LiveOdds.h"
#include "odds/OddsWindow.h"

namespace selvane {
namespace {

constexpr const char* kRtoPage = "rto.html";

void tell(const Context& ctx, const char* title, const std::string& body, MessageIcon icon) {
    if (ctx.ports.messages) ctx.ports.messages->show(title, body, icon, MessageButtons::Ok);
}

// The price page in rto.html, read back; empty when the fetch failed. Both work files go first so
// that neither can hold an earlier race's page.
std::string fetchPricePage(Context& ctx, MainWindow& w, const std::string& address, std::string& cause) {
    const std::string rto = ctx.workPath(kRtoPage);
    guarded([&] { deleteFile(rto); });
    guarded([&] { deleteFile(ctx.workPath(kOddsPageName)); });
    showLoading(w, address);
    const LoadedPage loaded = Parse(ctx, address);
    showWindowPage(w, ctx.ports.pump, loaded);
    if (!loaded.ok) {
        // The run's line puts the cause in brackets of its own.
        cause = plainCause(loaded);
        return {};
    }
    guarded([&] { std::filesystem::rename(ctx.workPath("test.html"), rto); });
    if (!fileExists(rto)) {
        cause = "cannot move test.html to " + std::string(kRtoPage);
        return {};
    }
    // What rto.html now holds, without reading it back.
    return loaded.markup + std::string(kSavedFileEnd);
}

}  // namespace

std::string oddsAddress(std::string_view formGuide, std::string_view meetingKey, std::string_view raceNumber) {
    const std::string_view code = meetingKey.empty() ? meetingKey : meetingKey.substr(1);
    // Page texts stay inside the path: anything but letters, digits and "-_." is percent-encoded.
    return std::string(formGuide) + "/cgi-bin/tvf/memdispodds.pl/" + text::addressPart(code) +
           text::addressPart(raceNumber) + "?rto";
}

LiveOddsRun liveOdds(Context& ctx, MainWindow& w, const ChosenRace& chosen, OddsState& state) {
    LiveOddsRun run;
    if (w.lstRaceName.count() == 0) return run;
    if (!chosen.chosen()) {
        run.end = LiveOddsRun::End::NoRaceSelected;
        tell(ctx, kNoRaceSelectTitle, noRaceSelectText("live odds"), MessageIcon::Information);
        w.lstRaceName.setFocus();
        return run;
    }

    BusyBracket busy(w, ctx.ports.pointer);
    const CommandScope command(ctx);
    startWindowCommand(w);
    const std::string raceNumber = chosen.raceNumber();
    const std::string track = chosen.trackText();
    run.address = oddsAddress(ctx.services.formGuide, chosen.link, raceNumber);
    const std::string page = fetchPricePage(ctx, w, run.address, run.cause);
    if (w.lstRaces.count() > 0) state.oddsRunnerCount = w.lstRaces.count();

    OddsOutcome odds;
    guarded([&] { odds = oddsFromPage(page, state.oddsRunnerCount, ctx.programFolder); });
    if (!odds.writeFailure.empty()) {
        ctx.noteWriteFailure(odds.writeFailure);
        reportWriteFailure(w, odds.writeFailure);
    }
    if (!odds.hasPage) {
        if (run.cause.empty()) run.cause = odds.cause;
        run.end = LiveOddsRun::End::Unavailable;
        busy.close();
        tell(ctx, kOddsUnavailableTitle, kOddsUnavailableText, MessageIcon::Information);
        return run;
    }

    // A fresh window each time: one left from the last command would add its columns again.
    OddsWindow window;
    bool filled = false;
    guarded([&] { filled = fillOddsWindow(window, odds.rows, track, raceNumber); });
    run.rows = std::move(odds.rows);
    busy.close();
    if (!filled) {
        run.end = LiveOddsRun::End::Inaccessible;
        tell(ctx, kOddsInaccessibleTitle, oddsInaccessibleText(track), MessageIcon::Critical);
        return run;
    }
    run.end = LiveOddsRun::End::Shown;
    if (ctx.ports.modal) ctx.ports.modal->showModal(window);
    return run;
}

}  // namespace selvane
