#pragma once

#include <QList>
#include <QMainWindow>

#include "ui/Twips.h"

class QLabel;

namespace selvane {
struct App;
}

namespace selvane::ui {

// frmParser on screen: one widget per control of the model, named as the control, placed in
// twips, bound both ways. The window keeps its fixed outer size of 12795 x 9570 twips; on a
// screen with less room it takes what the screen has, and its client scrolls.
class MainWindowView : public QMainWindow {
public:
    explicit MainWindowView(App& app, QWidget* parent = nullptr);
    ~MainWindowView() override;

    // The client size that gives the fixed outer size with the current window frame.
    QSize fixedClientSize() const;
    // The same, cut down to the screen's available area.
    QSize fittedClientSize() const;
    QLabel* ticker() const { return ticker_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void describeForScreenReaders();
    QSize frameMargin() const;  // what the window frame adds
    void keepFixedSize();
    void keepOnScreen();
    void fitToClient();

    App& app_;
    Twips twips_;
    QLabel* ticker_ = nullptr;
    QWidget* client_ = nullptr;
    bool fixing_ = false;
    // The window frame differs between desktops: the two lists take up what the client area
    // has over or under the laid-out height, and everything below them moves with it.
    QList<QWidget*> stretched_;
    QList<QWidget*> belowStretched_;
    int appliedExtra_ = 0;
};

}  // namespace selvane::ui
