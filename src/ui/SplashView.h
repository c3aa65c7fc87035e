#pragma once

#include <QWidget>

#include <filesystem>

class QCloseEvent;
class QKeyEvent;

namespace selvane {
class SplashWindow;
}

namespace selvane::ui {

// frmSplash on screen: the product picture from the program folder, the disclaimer, the two
// answers and the advert's progress bar, bound to the model. No web view: the splash must be
// up before the slow web engine starts.
class SplashView : public QWidget {
public:
    SplashView(SplashWindow& model, const std::filesystem::path& programFolder, QWidget* parent = nullptr);
    ~SplashView() override;

protected:
    // Closing the window, or Esc, is declining it, as "I Disagree".
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    SplashWindow& model_;
};

}  // namespace selvane::ui
