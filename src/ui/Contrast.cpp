#include "ui/Contrast.h"

#include <algorithm>
#include <cmath>

namespace selvane::ui {

namespace {

constexpr double kReadable = 4.5;

double luminance(const QColor& c) {
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor textOn(const QColor& background) {
    return contrastRatio(Qt::black, background) >= contrastRatio(Qt::white, background) ? QColor(Qt::black)
                                                                                        : QColor(Qt::white);
}

QColor readableOn(const QColor& foreground, const QColor& background) {
    if (contrastRatio(foreground, background) >= kReadable) return foreground;
    // Towards white on a dark background, towards black on a light one, in small steps of lightness.
    const bool lighten = textOn(background) == QColor(Qt::white);
    QColor c = foreground.toHsl();
    for (int step = 0; step < 20 && contrastRatio(c, background) < kReadable; ++step) {
        const int l = c.lightness() + (lighten ? 12 : -12);
        c.setHsl(c.hslHue(), c.hslSaturation(), std::clamp(l, 0, 255));
    }
    return contrastRatio(c, background) >= kReadable ? c.toRgb() : textOn(background);
}

}  // namespace selvane::ui
