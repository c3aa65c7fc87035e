#include "results/Ticker.h"

#include "app/App.h"

namespace selvane {

namespace {
constexpr int kTickerStepTwips = 4;
}

void tickResultScroll(App& app) {
    MainWindow& w = app.window;
    // The label sizes itself to its caption, so its width is the caption's.
    const int width = app.ports.measure ? app.ports.measure->textWidthTwips(w.lblScrollResults.caption()) : 0;
    const int left = w.lblScrollResults.left() - kTickerStepTwips;
    w.lblScrollResults.setLeft(left <= -width ? w.picBaseScroll.width() : left);
}

void wireResultsTicker(App& app) {
    app.window.timerResultScroll.onTimer = [&app] { tickResultScroll(app); };
}

}  // namespace selvane
