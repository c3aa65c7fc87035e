#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "kit/Controls.h"
#include "kit/Window.h"

namespace selvane {

// frmParser as a model: every named control with its caption, plus the window's fields.
struct MainWindow : Window {
    MainWindow();

    static constexpr const char* kCaption = "Box Five & Each Way Selvane";
    static constexpr int kOuterWidthTwips = 12795;
    static constexpr int kOuterHeightTwips = 9570;
    // The ticker strip's width: where the ticker text re-enters from the right.
    static constexpr int kTickerStripWidthTwips = 12540;

    StatusBar stBar;
    ProgressBar pgBar;
    Frame Frame3{"Meetings Options: "};
    Label lblDate{"Date: "};
    ComboBox cmbDateRaces;
    Label lblSelectMeeting{"Place: "};
    ComboBox cmbTrackName;
    Button cmdDownload{"Download Race Meetings"};
    Button cmdPrevious{"Download Previous Race Meetings"};
    ReportList lstRaceName;
    Frame Frame1{"Race Info: "};
    Label lblMeeting{"Meeting: "};
    Label lblTrackName{"Track Name: "};
    Label lblRace{"Race Number: "};
    Label lblRaceNumber;
    Label lblRaceTime{"Time: "};
    Label lblRaceLength{"Length: "};
    ReportList lstRaces;
    ReportList lstTips;
    Grid msfResults;
    Button Command1{"NEW FORMULA"};  // hidden: re-analyses the stored race page (reanalyseStoredRace)
    Label lblNewFormula{"NEW FORMULA"};
    Button cmdLiveOdds{"Live Odds"};
    Button cmdLiveResults{"Live Results"};
    Button cmdResults{"..."};
    ReportList lstResults;
    TextBox txtResults;
    Label Label1{"Meeting Live Result: "};
    Label lblRaceResults{"Race Live Result: "};
    PictureBox picBaseResults;
    PictureBox picBaseScroll;
    Label lblScrollResults;
    Timer timerResultScroll;
    Button cmdEmail{"Email To A Friend"};
    Button cmdWeb{"Website"};
    Button cmdExit{"Exit"};
    Frame fraStatus{"Status"};
    Label lblStatus;
    Label lblTitle{"Racecourse: "};
    Frame fraSetup;
    TextBox txtURL;
    Label lblURL{"Page URL : "};
    PictureBox picHeading;
    WebView WebBrowser1;  // the advert strip

    // Window fields.
    std::string pageFilePath;
    std::string pageMarkup;
    std::string racePage;  // the race page the last race choice read, for Command1
    std::string dayPart = "  ";
    std::string monthPart = "  ";
    std::string yearPart = "    ";
    std::array<std::int16_t, 6> tipBarriers{};  // slots 1..5
    std::int16_t insufficientFormCount = 0;
    int outerWidthTwips = kOuterWidthTwips;
    int outerHeightTwips = kOuterHeightTwips;
    // Status panel 2 as a failed Live Odds or Live Results found it (the race's best bet and its
    // tooltip), and the failure shown in its place until the next of them puts it back.
    struct PanelBehindFailure {
        std::string failure;
        std::string text;
        std::string tooltip;
    } panel2BehindFailure;

    // Every control, for the busy bracket and the bindings.
    std::vector<Control*> controls() override;

    // The race detail labels: lblTrackName, lblRaceTime, lblRaceLength and lblRaceNumber.
    void setRaceLabels(std::string track, std::string time, std::string length, std::string number);
};

}  // namespace selvane
