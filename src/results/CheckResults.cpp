#include "results/CheckResults.h"

#include <algorithm>
#include <cmath>

#include "net/PageLoader.h"
#include "net/PageStatus.h"
#include "net/PageText.h"
#include "net/WorkFiles.h"
#include "results/ResultParser.h"

namespace selvane {
std::string resultDatePath(std::string_view dateText) {
    return text::addressPart(text::fixedWidthPart(dateText, 6, 4)) + "/" +
           text::addressPart(text::fixedWidthPart(dateText, 3, 2)) + "/" +
           text::addressPart(text::fixedWidthPart(dateText, 0, 2));
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

void checkResults(Context& ctx, MainWindow& w, ResultTables& t) {
    if (w.cmbDateRaces.selectedIndex() < 0) return;
    const CommandScope command(ctx);
    t.resultRaceSlot = 1;
    t.resultMeetingIndex = 0;

    const std::string& date = w.cmbDateRaces.text();
    // The window keeps the date's parts of the day it last asked for.
    w.dayPart = text::fixedWidthPart(date, 0, 2);
    w.monthPart = text::fixedWidthPart(date, 3, 2);
    w.yearPart = text::fixedWidthPart(date, 6, 4);
    const std::string address = ctx.services.resultsSiteRoot + resultDatePath(date) + "/mtgraces.html";
    showLoading(w, address);
    // The results are read from the raw page; its markup in test.html is only ever shown.
    if (ctx.markupUnseen) {
        deleteFile(ctx.workPath("test.html"));
        showParsedPage(w, ctx.ports.pump, downloadTRACK(ctx, address, "mtgraces.html"));
    } else {
        showParsedPage(w, ctx.ports.pump, downloadAndParse(ctx, address, "mtgraces.html"));
    }
    w.lblTitle.setCaption("Racecourse: ");

    const std::string path = ctx.workPath("mtgraces.html");
    std::string page = fileExists(path) ? readWholeFile(path) : std::string();
    parseResultMeetings(t, page);

    // Without a chosen race no race's text is shown.
    const int row = w.lstRaceName.selectedIndex();
    const double raceNumber = row >= 0 ? text::leadingNumber(w.lstRaceName.subItem(row, 1)) : 0;
    fillMeetingResults(w, t, w.cmbTrackName.text(), raceNumber);
}

}  // namespace selvane
