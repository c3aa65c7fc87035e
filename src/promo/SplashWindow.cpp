#include "promo/SplashWindow.h"

namespace selvane {

SplashWindow::SplashWindow(ExitPort* exit) : exit_(exit) {
    pgBar.setVisible(false);
    cmdOK.onClick = [this] { agree(); };
    cmdCancel.onClick = [this] { decline(); };
}

void SplashWindow::agree() {
    if (splashBusy || choice_ != Choice::Waiting) return;
    choice_ = Choice::Agreed;
    if (onAgreed) onAgreed();
}

void SplashWindow::decline() {
    if (choice_ == Choice::Agreed) return;
    choice_ = Choice::Declined;
    if (exit_) exit_->endProgram(0);
}

void SplashWindow::progressStart(std::int16_t count) {
    pgBar.setMin(0);
    pgBar.setMax(count);
    pgBar.setValue(0);
    pgBar.setVisible(true);
}

void SplashWindow::progressStep() {
    pgBar.setValue(pgBar.value() + 1);
    if (pgBar.value() == pgBar.max()) pgBar.setVisible(false);
}

std::vector<Control*> SplashWindow::controls() { return {&picSplash, &Label1, &Label2, &cmdOK, &cmdCancel, &pgBar}; }

}  // namespace selvane
