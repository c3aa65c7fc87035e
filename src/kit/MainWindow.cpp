#include "kit/MainWindow.h"

namespace selvane {

MainWindow::MainWindow() {
    timerResultScroll.setInterval(150);
    lstRaces.setCheckBoxes(true);
    picBaseResults.setWidth(kOuterWidthTwips);
    picBaseScroll.setWidth(kTickerStripWidthTwips);
    // The reanalyse button and its label are a developer's tool: kept, not offered.
    Command1.setVisible(false);
    lblNewFormula.setVisible(false);
}

std::vector<Control*> MainWindow::controls() {
    return {&stBar,          &pgBar,        &Frame3,         &lblDate,         &cmbDateRaces,  &lblSelectMeeting,
            &cmbTrackName,   &cmdDownload,  &cmdPrevious,    &lstRaceName,     &Frame1,        &lblMeeting,
            &lblTrackName,   &lblRace,      &lblRaceNumber,  &lblRaceTime,     &lblRaceLength, &lstRaces,
            &lstTips,        &msfResults,   &Command1,       &lblNewFormula,   &cmdLiveOdds,   &cmdLiveResults,
            &cmdResults,     &lstResults,   &txtResults,     &Label1,          &lblRaceResults, &picBaseResults,
            &picBaseScroll,  &lblScrollResults, &timerResultScroll, &cmdEmail, &cmdWeb,        &cmdExit,
            &fraStatus,      &lblStatus,    &lblTitle,       &fraSetup,        &txtURL,        &lblURL,
            &picHeading,     &WebBrowser1};
}

void MainWindow::setRaceLabels(std::string track, std::string time, std::string length, std::string number) {
    lblTrackName.setCaption(std::move(track));
    lblRaceTime.setCaption(std::move(time));
    lblRaceLength.setCaption(std::move(length));
    lblRaceNumber.setCaption(std::move(number));
}

}  // namespace selvane
