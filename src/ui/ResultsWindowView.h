#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QWebEngineView;

namespace selvane {
class ResultsWindow;
}

namespace selvane::ui {

// frmResults on screen: the heading panel, the page in a local web view, the Close button,
// bound to the model; closing by the title bar or Escape closes the model as Close does.
class ResultsWindowView : public QDialog {
public:
    explicit ResultsWindowView(ResultsWindow& model, QWidget* parent = nullptr);
    ~ResultsWindowView() override;

    QWebEngineView* webView() const { return web_; }
    QLabel* heading() const { return heading_; }

    void reject() override;

private:
    ResultsWindow& model_;
    QWebEngineView* web_ = nullptr;
    QLabel* heading_ = nullptr;
};

}  // namespace selvane::ui
