#include "results/LiveResults.h"

#include <cmath>
#include <exception>

#include "kit/BusyBracket.h"
#include "kit/Guarded.h"
#include "kit/MainWindow.h"
#include "kit/RaceMessages.h"
#include "net/PageLoader.h"
#include "net/PageStatus.h"
#include "net/PageText.h"
#include "net/WorkFiles.h"
#include "results/CheckResults.h"
#include "results/HtmlSource.h"
#include "results/ResultsFiles.h"
#include "results/ResultsPage.h"
#include "results/ResultsWindow.h"

namespace selvane {
namespace {

constexpr std::string_view kNotFinalMarks[] = {"CLOSED", "N/A", "INTERIM", "M", ":"};

// The row of a race number: rows are in race order, row k being race k + 1.
int rowOfRace(std::string_view raceNumber, int rows) {
    const double value = text::leadingNumber(raceNumber);
    if (value != std::floor(value) || value < 1 || value > rows) return -1;
    return static_cast<int>(value) - 1;
}

// A step that writes a page: one that cannot be written is the command's failure, shown as a
// failed fetch is shown; any other error skips the step.
template <class Step>
void writingStep(Context& ctx, MainWindow& w, Step&& step) {
    guarded([&] {
        try {
            step();
        } catch (const WorkFileError& e) {
            ctx.noteWriteFailure(e.what());
            reportWriteFailure(w, e.what());
        }
    });
}

// A final race: its result page from the day's folder of the results site, copied into
// results.html; a page that fails gives results.html that says so and why. Returns the page the
// wrapper is to frame.
std::string copyRacePage(Context& ctx, MainWindow& w, const ChosenRace& chosen, const LiveResultChoice& choice) {
    guarded([&] { deleteFile(ctx.workPath(kResultsPage)); });
    std::string address;
    guarded([&] {
        address =
            resultPageAddress(ctx.services.resultsSiteRoot, resultDatePath(chosen.date), choice.racePageName);
    });
    showLoading(w, address);
    const LoadedPage parsed = downloadAndParse(ctx, address, choice.racePageName);
    showWindowPage(w, ctx.ports.pump, parsed);

    std::string cause = parsed.ok ? std::string() : plainCause(parsed);
    writingStep(ctx, w, [&] {
        if (!cause.empty()) return;
        // The markup as test.html holds it, without reading it back; the file only has to exist.
        if (!fileExists(ctx.workPath("test.html"))) {
            cause = "cannot write test.html";
            return;
        }
        std::string page = parsed.markup + std::string(kSavedFileEnd);
        PageWriter writer(ctx.programFolder);
        try {
            if (writeResultsPage(writer, page) == ResultsPageEnd::NoResultTables)
                cause = "the page holds no result tables";
        } catch (const WorkFileError& e) {
            cause = e.what();
            throw;  // the command's failure, shown as a failed fetch is
        } catch (const std::exception& e) {
            // Half a result is no result.
            deleteFile(ctx.workPath(kResultsPage));
            cause = e.what();
        }
    });
    if (!cause.empty())
        writingStep(ctx, w, [&] {
            PageWriter writer(ctx.programFolder);
            writeResultFailurePage(writer, cause);
        });
    guarded([&] { deleteFile(ctx.workPath(choice.racePageName)); });
    return kResultsPage;
}

}  // namespace

bool raceIsFinal(std::string_view raceState) {
    const std::string state = text::upper(raceState);
    for (std::string_view mark : kNotFinalMarks)
        if (state.find(mark) != std::string::npos) return false;
    return true;
}

LiveResultsGate liveResultsGate(int raceListRows, const ChosenRace& chosen, int resultsRows) {
    if (raceListRows == 0) return LiveResultsGate::Nothing;
    if (!chosen.chosen()) return LiveResultsGate::NoRaceSelected;
    if (resultsRows == 0) return LiveResultsGate::NoResults;
    return LiveResultsGate::Go;
}

std::string resultsInaccessibleText(std::string_view meetingCaption) {
    return couldNotAccessText("live results data", text::trimSpaces(meetingCaption), "\r",
                              "race results has no record available.");
}

LiveResultChoice chooseLiveResult(const ChosenRace& chosen, const std::vector<ReportRow>& results) {
    LiveResultChoice c;
    const std::string raceNumber = chosen.raceNumber();
    c.raceNumber = text::paddedRaceNumber(raceNumber);
    c.trackText = chosen.trackText();
    c.resultsRow = rowOfRace(raceNumber, static_cast<int>(results.size()));
    if (c.resultsRow >= 0) {
        const std::vector<std::string>& cells = results[c.resultsRow].subItems;
        c.raceState = cells.size() >= 3 ? cells[2] : std::string();
    }
    c.final = raceIsFinal(c.raceState);
    if (!c.final) {
        c.framedPage = kBlankResultsPage;
        c.title = c.trackText + " - #R." + c.raceNumber;
        return c;
    }
    c.framedPage = kResultsPage;
    c.title = c.trackText + " - #" + c.raceNumber;
    c.racePageName = (results.empty() ? std::string() : results.front().text) + c.raceNumber + ".html";
    return c;
}

std::string resultPageAddress(std::string_view resultsSiteRoot, std::string_view datePath,
                              std::string_view racePageName) {
    return std::string(resultsSiteRoot) + std::string(datePath) + "/" + text::addressPart(racePageName);
}

std::optional<std::string> resultsLinkPage(const ReportList& lstRaceName, const ReportList& lstResults) {
    const int row = lstRaceName.selectedIndex();
    if (lstRaceName.count() == 0 || lstResults.count() == 0 || row < 0 || row >= lstRaceName.count())
        return std::nullopt;
    return lstResults.row(0).text + text::paddedRaceNumber(lstRaceName.subItem(row, 1)) + ".html";
}

void liveResults(Context& ctx, MainWindow& w, const ChosenRace& chosen) {
    switch (liveResultsGate(w.lstRaceName.count(), chosen, w.lstResults.count())) {
    case LiveResultsGate::Nothing:
        return;
    case LiveResultsGate::NoRaceSelected:
        if (ctx.ports.messages)
            ctx.ports.messages->show(kNoRaceSelectTitle, noRaceSelectText("live results"), MessageIcon::Information,
                                     MessageButtons::Ok);
        w.lstRaceName.setFocus();
        return;
    case LiveResultsGate::NoResults:
        if (ctx.ports.messages)
            ctx.ports.messages->show(kResultsInaccessibleTitle, resultsInaccessibleText("Meeting: " + chosen.meeting),
                                     MessageIcon::Critical, MessageButtons::Ok);
        return;
    case LiveResultsGate::Go:
        break;
    }

    const CommandScope command(ctx);
    BusyBracket busy(w, ctx.ports.pointer);
    startWindowCommand(w);
    const LiveResultChoice choice = chooseLiveResult(chosen, w.lstResults.rows());
    if (choice.resultsRow >= 0) guarded([&] { w.lstResults.setSelectedIndex(choice.resultsRow); });

    const std::string framed = choice.final ? copyRacePage(ctx, w, chosen, choice) : choice.framedPage;
    writingStep(ctx, w, [&] { frmResults::createHTMLSource(ctx.programFolder, framed); });
    busy.close();
    if (ctx.ports.modal) showResultsWindow(*ctx.ports.modal, ctx.ports.shell, ctx.programFolder, choice.title);
}

bool openResultsLink(MainWindow& w, ShellPort& shell, std::string_view resultsSiteRoot) {
    const std::optional<std::string> page = resultsLinkPage(w.lstRaceName, w.lstResults);
    if (!page) return false;
    shell.open(resultPageAddress(resultsSiteRoot, resultDatePath(w.cmbDateRaces.text()), *page));
    return true;
}

}  // namespace selvane
