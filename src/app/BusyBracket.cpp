#include "app/BusyBracket.h"

#include "app/App.h"

namespace selvane {

void openBusyBracket(App& app) {
    for (Control* c : app.window.controls()) c->setEnabled(false);
    if (app.ports.pointer) app.ports.pointer->setHourglass(true);
}

void closeBusyBracket(App& app, BusyBracket::ProgressBar onClose) {
    if (onClose == BusyBracket::ProgressBar::Hide) app.window.pgBar.setVisible(false);
    for (Control* c : app.window.controls()) c->setEnabled(true);
    if (app.ports.pointer) app.ports.pointer->setHourglass(false);
}

BusyBracket::BusyBracket(App& app, ProgressBar onClose) : app_(app), onClose_(onClose) { openBusyBracket(app_); }

BusyBracket::~BusyBracket() {
    // A destructor must not throw; a failing observer must not keep the window disabled either,
    // so each half is guarded on its own.
    if (!open_) return;
    open_ = false;
    try {
        closeBusyBracket(app_, onClose_);
    } catch (...) {
        for (Control* c : app_.window.controls()) {
            try {
                c->setEnabled(true);
            } catch (...) {
            }
        }
        try {
            if (app_.ports.pointer) app_.ports.pointer->setHourglass(false);
        } catch (...) {
        }
    }
}

void BusyBracket::close() {
    if (!open_) return;
    open_ = false;
    closeBusyBracket(app_, onClose_);
}

}  // namespace selvane
