#include "app/MainWindowLoad.h"

#include "app/App.h"
#include "kit/Clock.h"
#include "form/TipGrid.h"

namespace selvane {

namespace {

void giveColumns(ReportList& list, std::vector<ReportColumn> columns) {
    list.setColumns(std::move(columns));
    list.setStyle(ReportListStyle{true, true, true});
    list.clear();
}

}  // namespace

void loadMainWindow(App& app) {
    MainWindow& w = app.window;
    msfClear(w);
    w.stBar.setPanel(2, "");

    giveColumns(w.lstTips, {{"Tip", 500}, {"Horse Name", 2500}, {"Win", 800}, {"Barrier", 800}});
    giveColumns(w.lstRaces, {{"#.", 700}, {"Form", 1000}, {"Horse Name", 3000}, {"Jockey", 2000}, {"Weight", 800},
                             {"Barrier", 700}});
    w.lstRaces.setCheckBoxes(true);
    // The hidden first column carries the meeting's link key.
    giveColumns(w.lstRaceName, {{"link", 0}, {"Race #.", 1000}, {"Time", 1200}, {"Track Name", 4800}, {"Length", 1200}});
    giveColumns(w.lstResults, {{"link", 1000}, {"Race #.", 1000}, {"Track Name", 4800}, {"Results", 1200}});

    w.pgBar.setMin(0);
    w.pgBar.setVisible(false);

    w.lblScrollResults.setCaption("");
    w.picBaseResults.setWidth(w.outerWidthTwips);

    w.cmdLiveOdds.setEnabled(true);
    w.cmdLiveResults.setEnabled(true);
    w.cmdResults.setEnabled(true);

    w.picBaseScroll.setVisible(true);

    w.stBar.setPanel(1, "Date: " + shortDate(Clock::instance().today()));
}

}  // namespace selvane
