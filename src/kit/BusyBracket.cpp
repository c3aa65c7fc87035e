#include "kit/BusyBracket.h"

#include "kit/Guarded.h"

namespace selvane {

// Each control on its own: an observer that throws (a widget already gone) must not leave the
// controls after it disabled, nor stop the bracket half-way.
BusyBracket::BusyBracket(Window& window, PointerPort* pointer, ProgressBar* hideOnClose)
    : window_(window), pointer_(pointer), hideOnClose_(hideOnClose) {
    for (Control* c : window_.controls()) guarded([c] { c->setEnabled(false); });
    guarded([this] {
        if (pointer_) pointer_->setHourglass(true);
    });
}

BusyBracket::~BusyBracket() { close(); }

void BusyBracket::close() {
    if (!open_) return;
    open_ = false;
    if (hideOnClose_) guarded([this] { hideOnClose_->setVisible(false); });
    for (Control* c : window_.controls()) guarded([c] { c->setEnabled(true); });
    guarded([this] {
        if (pointer_) pointer_->setHourglass(false);
    });
}

}  // namespace selvane
