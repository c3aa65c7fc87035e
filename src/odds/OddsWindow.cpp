#include "odds/OddsWindow.h"

#include "net/PageText.h"

namespace selvane {

OddsWindow::OddsWindow() {
    cmdClose.onClick = [this] {
        unload();
        if (onUnload) onUnload();
    };
}

std::vector<ReportColumn> oddsColumns() {
    return {{"#.", 700},       {"Name", 3500},    {"Best Odds", 1000}, {"AUS TOTE", 1000}, {"STAB Win", 1000},
            {"NSW Win", 1000}, {"QLD Win", 1000}, {"STAB PLC", 1000},  {"NSW PLC", 1000},  {"QLD PLC", 1000}};
}

void OddsWindow::load() {
    lstOddsSort.clear();
    lstOddsSort.setColumns(oddsColumns());
    lstOddsSort.setStyle(ReportListStyle{.reportView = true, .singleBorder = true, .manualLabelEdit = true});
    loaded_ = true;
}

void OddsWindow::unload() {
    lstOddsSort.clear();
    lstOddsSort.setColumns({});
    lblMeetingName.setCaption({});
    loaded_ = false;
}

std::vector<Control*> OddsWindow::controls() {
    return {&picTop, &picBase, &picBottom, &lblMeetingName, &lstOddsSort, &cmdClose};
}

std::string oddsHeading(std::string_view trackName, std::string_view raceNumber) {
    return std::string(text::trimSpaces(trackName)) + " - #R." + text::paddedRaceNumber(raceNumber);
}

bool fillOddsWindow(OddsWindow& w, const std::vector<OddsRow>& rows, std::string_view trackName,
                    std::string_view raceNumber) {
    // A window left loaded by an earlier command would show that race's rows as this one's.
    if (w.loaded()) w.unload();
    for (const OddsRow& row : rows) {
        if (!w.loaded()) w.load();
        std::vector<std::string> subItems{row.name, row.best};
        subItems.insert(subItems.end(), row.prices.begin(), row.prices.end());
        w.lstOddsSort.addRow(row.number, std::move(subItems));
    }
    if (w.lstOddsSort.count() == 0) return false;
    w.lblMeetingName.setCaption(oddsHeading(trackName, raceNumber));
    return true;
}

}  // namespace selvane
