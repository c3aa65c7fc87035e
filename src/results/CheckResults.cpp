#include "results/CheckResults.h"

#include <algorithm>
#include <cmath>

#include "app/App.h"
#include "meetings/MeetingCommands.h"
#include "net/PageLoader.h"
#include "net/WorkFiles.h"
#include "results/ResultParser.h"
#include "results/TextRules.h"

namespace selvane {
namespace {

// Characters from..from+width-1 (1-based) of text, padded with spaces to width.
std::string fixedPart(std::string_view text, std::size_t from, std::size_t width) {
    std::string part = from - 1 < text.size() ? std::string(text.substr(from - 1, width)) : std::string();
    part.resize(width, ' ');
    return part;
}

}  // namespace

std::string resultDatePath(MainWindow& w, std::string_view dateText) {
    w.dayPart = fixedPart(dateText, 1, 2);
    w.monthPart = fixedPart(dateText, 4, 2);
    w.yearPart = fixedPart(dateText, 7, 4);
    return w.yearPart + "/" + w.monthPart + "/" + w.dayPart;
}

int findResultMeeting(const ResultTables& t, std::string_view trackText) {
    const int last = std::min<int>(t.resultMeetingCount, t.storedMeetings());
    for (int i = 1; i <= last; ++i) {
        std::string name = t.resultMeetingNames[i];
        if (text::containsNoCase(name, "SANDOWN")) name = text::replaceAll(name, "SANDOWN", "SANDOWN-HILLSIDE", true);
        if (text::containsNoCase(name, trackText)) return i;
    }
    return 0;
}

std::string tickerSegment(int race, const std::string& result) {
    return "#R." + std::to_string(race) + "  [ " + result + " ];      ";
}

void fillMeetingResults(MainWindow& w, const ResultTables& t, std::string_view trackText, double raceNumber) {
    const int m = findResultMeeting(t, trackText);
    w.lstResults.clear();
    w.lblScrollResults.setCaption("");
    if (m == 0) return;

    const ResultRecord& record = t.resultRecords[m];
    std::string ticker;
    for (int r = 1; r <= t.resultRaceCounts[m]; ++r) {
        w.lstResults.addRow(record.code(1), {std::to_string(r), t.resultMeetingNames[m], record.result(r)});
        ticker += tickerSegment(r, record.result(r));
    }
    w.lblScrollResults.setCaption(ticker);

    const double slot = std::nearbyint(raceNumber);
    if (slot >= 1 && slot <= ResultRecord::kSlots) {
        const std::string& chosen = record.result(static_cast<int>(slot));
        const bool formatted = chosen.find(',') != std::string::npos || chosen.find(':') != std::string::npos ||
                               text::containsNoCase(chosen, "m");
        w.txtResults.setText(formatted ? formatResultText(chosen) : chosen);
    }
    if (text::containsNoCase(w.txtResults.text(), "abnd"))
        w.txtResults.setText(text::replaceAll(w.txtResults.text(), "abnd", "race abandoned", true));
}

void checkResults(App& app) {
    MainWindow& w = app.window;
    if (w.cmbDateRaces.selectedIndex() < 0) return;
    ResultTables& t = app.results;
    t.resultRaceSlot = 1;
    t.resultMeetingIndex = 0;

    const std::string address = app.services.resultsSiteRoot + resultDatePath(w, w.cmbDateRaces.text()) + "/mtgraces.html";
    downloadTRACK(app, wireAddress(address), "mtgraces.html");
    Parse(app, wireAddress(address));
    w.lblTitle.setCaption("Racecourse: ");

    const std::string path = app.workPath("mtgraces.html");
    std::string page = fileExists(path) ? readWholeFile(path) : std::string();
    parseResultMeetings(t, page);

    // Without a chosen race no race's text is shown.
    const int row = w.lstRaceName.selectedIndex();
    const double raceNumber = row >= 0 ? text::leadingNumber(w.lstRaceName.subItem(row, 1)) : 0;
    fillMeetingResults(w, t, w.cmbTrackName.text(), raceNumber);
}

}  // namespace selvane
