#include "results/Ticker.h"

namespace selvane {

namespace {
constexpr int kTickerStepTwips = 4;
}

void tickResultScroll(MainWindow& w, TextMeasurePort* measure) {
    // The label sizes itself to its caption, so its width is the caption's.
    const int width = measure ? measure->textWidthTwips(w.lblScrollResults.caption()) : 0;
    const int left = w.lblScrollResults.left() - kTickerStepTwips;
    w.lblScrollResults.setLeft(left <= -width ? w.picBaseScroll.width() : left);
}

}  // namespace selvane
