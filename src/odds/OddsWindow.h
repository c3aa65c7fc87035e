#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "kit/Controls.h"
#include "kit/Window.h"
#include "odds/OddsPrices.h"

namespace selvane {

// frmLiveOdds as a model: the heading and one list row per runner. Each command fills a fresh
// window, so a second command never adds its columns to the first one's.
class OddsWindow : public Window {
public:
    OddsWindow();

    static constexpr const char* kCaption = "Live Odds";
    static constexpr const char* kHeadingFont = "Tahoma";
    // Twips.
    static constexpr int kInnerWidth = 12630;
    static constexpr int kInnerHeight = 5340;
    static constexpr int kTopHeight = 1095;
    static constexpr int kBottomTop = 4845;
    static constexpr int kBottomHeight = 495;
    static constexpr int kCloseWidth = 1335;
    static constexpr int kCloseHeight = 375;
    static constexpr int kCloseLeft = 5648;
    static constexpr int kCloseTop = 40;  // within the bottom strip

    PictureBox picTop;
    PictureBox picBase;
    PictureBox picBottom;
    Label lblMeetingName;
    ReportList lstOddsSort;
    Button cmdClose{"Close"};

    // Rows removed, the ten columns with their widths, report view and a single border.
    void load();
    bool loaded() const { return loaded_; }
    // cmdClose: the rows and columns go; then onUnload (ui/ ends the modal window there).
    void unload();
    std::function<void()> onUnload;

    std::vector<Control*> controls() override;

private:
    bool loaded_ = false;
};

// The list's columns: headings and widths in twips.
std::vector<ReportColumn> oddsColumns();

// The heading: the trimmed track name, " - #R." and the padded race number.
std::string oddsHeading(std::string_view trackName, std::string_view raceNumber);

// Empties the window, adds one list row per odds row in order (loading the window before the
// first) and, when the list then has rows, sets the heading. False when it has no rows.
bool fillOddsWindow(OddsWindow& w, const std::vector<OddsRow>& rows, std::string_view trackName,
                    std::string_view raceNumber);

}  // namespace selvane
