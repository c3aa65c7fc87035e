#include "ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace selvane::ui {

namespace {
constexpr double kTwipsPerInch = 1440.0;
}

Twips Twips::forScreenOf(const QWidget* widget) {
    QScreen* screen = widget ? widget->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return Twips(96, 96);
    return Twips(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
}

int Twips::x(int twips) const { return static_cast<int>(std::lround(twips * dpiX_ / kTwipsPerInch)); }
int Twips::y(int twips) const { return static_cast<int>(std::lround(twips * dpiY_ / kTwipsPerInch)); }

QRect Twips::rect(int left, int top, int width, int height) const {
    // Map both edges so neighbouring controls stay flush after rounding.
    const int l = x(left), t = y(top);
    return QRect(l, t, x(left + width) - l, y(top + height) - t);
}

int Twips::twipsX(int pixels) const { return static_cast<int>(std::lround(pixels * kTwipsPerInch / dpiX_)); }
int Twips::twipsY(int pixels) const { return static_cast<int>(std::lround(pixels * kTwipsPerInch / dpiY_)); }

}  // namespace selvane::ui
