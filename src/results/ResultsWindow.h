#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "kit/Controls.h"
#include "kit/Ports.h"
#include "kit/Window.h"

namespace selvane {

// The results window's size as the live results command sets it, in twips.
inline constexpr std::int16_t resultsWindowWidth = 11000;
inline constexpr std::int16_t resultsWindowHeight = 5875;

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TwipsRect&) const = default;
};

// Where the load step puts the web view and the base panel, in twips.
struct ResultsLayout {
    int windowWidth = 0;
    int windowHeight = 0;
    TwipsRect webView;
    int basePanelWidth = 0;
    bool operator==(const ResultsLayout&) const = default;
};

// The web view spans the window less 50 twips, from 10 twips below the top panel, and leaves
// room for both panels and 400 twips more; the base panel is as wide as the top panel.
ResultsLayout resultsLayout(int windowWidth, int windowHeight, int topPanelWidth, int topPanelHeight,
                            int bottomPanelHeight);

// A label's font, for ui/ to apply.
struct LabelFont {
    const char* face;
    double points;
    bool bold;
};

// frmResults as a model: constructing it runs the load step (size, layout).
class ResultsWindow : public Window {
public:
    static constexpr const char* kCaption = "Live Results";
    static constexpr LabelFont kMeetingNameFont{"Tahoma", 15.75, true};
    // lblMeetingName sizes itself to its caption.
    static constexpr bool kMeetingNameAutoSize = true;
    static constexpr int kTopPanelHeight = 720;
    static constexpr int kBottomPanelHeight = 600;

    ResultsWindow();
    ResultsWindow(const ResultsWindow&) = delete;
    ResultsWindow& operator=(const ResultsWindow&) = delete;

    PictureBox picTop;
    PictureBox picBase;
    PictureBox picBottom;
    Label lblMeetingName;
    WebView WBResults;
    Button cmdClose{"Close"};

    const ResultsLayout& layout() const { return layout_; }

    // fileName: a full path. The view is offline: it loads local files only.
    void loadResultPage(const std::string& fileName);

    // cmdClose and the title bar: the window goes; ui/ ends the modal loop in onClose.
    void close();
    bool closed() const { return closed_; }
    std::function<void()> onClose;

    std::vector<Control*> controls() override;

private:
    ResultsLayout layout_;
    bool closed_ = false;
};

// Loads a results window over the wrapper page in programFolder, titles it, and shows it
// modally; returns when the user has closed it. A link clicked in the page opens in the user's
// browser through shell when it is a web address.
void showResultsWindow(ModalWindowPort& modal, ShellPort* shell, const std::filesystem::path& programFolder,
                       std::string title);

}  // namespace selvane
