#pragma once

#include "kit/MainWindow.h"
#include "kit/Ports.h"

namespace selvane {

// The results ticker's timer tick: the label moves 4 twips left and, once it has left the
// strip completely, enters again at the strip's right edge.
void tickResultScroll(MainWindow& w, TextMeasurePort* measure);

}  // namespace selvane
