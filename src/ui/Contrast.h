#pragma once

#include <QColor>

namespace selvane::ui {

// WCAG's contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// Black or white, whichever reads better on the background.
QColor textOn(const QColor& background);

// The foreground itself where it reads on the background (4.5:1), else the same hue made lighter
// or darker until it does: a colour that means something in a light theme keeps its meaning in a
// dark one.
QColor readableOn(const QColor& foreground, const QColor& background);

}  // namespace selvane::ui
