#include "results/ResultsWindow.h"

#include "kit/ShellOpen.h"
#include "results/ResultsFiles.h"

namespace selvane {
namespace {

constexpr int kWebViewNarrower = 50;
constexpr int kWebViewGapBelowTop = 10;
constexpr int kWebViewHeightSpare = 400;

}  // namespace

ResultsLayout resultsLayout(int windowWidth, int windowHeight, int topPanelWidth, int topPanelHeight,
                            int bottomPanelHeight) {
    ResultsLayout l;
    l.windowWidth = windowWidth;
    l.windowHeight = windowHeight;
    l.webView.left = 0;
    l.webView.top = topPanelHeight + kWebViewGapBelowTop;
    l.webView.width = windowWidth - kWebViewNarrower;
    l.webView.height = windowHeight - bottomPanelHeight - topPanelHeight - kWebViewHeightSpare;
    l.basePanelWidth = topPanelWidth;
    return l;
}

ResultsWindow::ResultsWindow() {
    // The top panel spans the window; the others follow the load rules.
    picTop.setWidth(resultsWindowWidth);
    picBottom.setWidth(resultsWindowWidth);
    layout_ =
        resultsLayout(resultsWindowWidth, resultsWindowHeight, picTop.width(), kTopPanelHeight, kBottomPanelHeight);
    picBase.setWidth(layout_.basePanelWidth);
    cmdClose.onClick = [this] { close(); };
}

void ResultsWindow::loadResultPage(const std::string& fileName) {
    WBResults.setOffline(true);
    WBResults.navigate(fileName);
}

void ResultsWindow::close() {
    if (closed_) return;
    closed_ = true;
    if (onClose) onClose();
}

std::vector<Control*> ResultsWindow::controls() {
    return {&picTop, &picBase, &picBottom, &lblMeetingName, &WBResults, &cmdClose};
}

void showResultsWindow(ModalWindowPort& modal, ShellPort* shell, const std::filesystem::path& programFolder,
                       std::string title) {
    ResultsWindow window;
    window.WBResults.onLinkClick = [shell](const std::string& address) { openClickedLink(shell, address); };
    window.loadResultPage((programFolder / kResultsWrapperPage).string());
    window.lblMeetingName.setCaption(std::move(title));
    modal.showModal(window);
}

}  // namespace selvane
