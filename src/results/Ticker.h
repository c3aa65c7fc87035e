#pragma once

namespace selvane {

struct App;

// The results ticker's timer tick: the label moves 4 twips left and, once it has left the
// strip completely, enters again at the strip's right edge.
void tickResultScroll(App& app);

// Hooks the tick to timerResultScroll.
void wireResultsTicker(App& app);

}  // namespace selvane
