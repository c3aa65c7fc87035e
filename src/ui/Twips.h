#pragma once

#include <QRect>

class QWidget;

namespace selvane::ui {

// Positions and sizes are kept in twips (1440 to the inch) and mapped through the screen's
// logical DPI, so the window keeps its proportions at any font scaling.
class Twips {
public:
    Twips(double dpiX, double dpiY) : dpiX_(dpiX), dpiY_(dpiY) {}
    static Twips forScreenOf(const QWidget* widget);

    int x(int twips) const;
    int y(int twips) const;
    QRect rect(int left, int top, int width, int height) const;
    int twipsX(int pixels) const;
    int twipsY(int pixels) const;
    double dpiX() const { return dpiX_; }

private:
    double dpiX_, dpiY_;
};

}  // namespace selvane::ui
