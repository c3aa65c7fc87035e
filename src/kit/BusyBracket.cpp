#include "kit/BusyBracket.h"

#include "app/App.h"
#include "kit/Guarded.h"

namespace selvane {

// Each control on its own: an observer that throws (a widget already gone) must not leave the
// controls after it disabled, nor stop the bracket half-way.
void openBusyBracket(App& app) {
    for (Control* c : app.window.controls()) guarded([c] { c->setEnabled(false); });
    guarded([&app] {
        if (app.ports.pointer) app.ports.pointer->setHourglass(true);
    });
}

void closeBusyBracket(App& app, BusyBracket::ProgressBar onClose) {
    if (onClose == BusyBracket::ProgressBar::Hide) guarded([&app] { app.window.pgBar.setVisible(false); });
    for (Control* c : app.window.controls()) guarded([c] { c->setEnabled(true); });
    guarded([&app] {
        if (app.ports.pointer) app.ports.pointer->setHourglass(false);
    });
}

BusyBracket::BusyBracket(App& app, ProgressBar onClose) : app_(app), onClose_(onClose) { openBusyBracket(app_); }

BusyBracket::~BusyBracket() { close(); }

void BusyBracket::close() {
    if (!open_) return;
    open_ = false;
    closeBusyBracket(app_, onClose_);
}

}  // namespace selvane
