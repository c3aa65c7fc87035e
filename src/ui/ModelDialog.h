#pragma once

#include <QDialog>

#include <functional>

namespace selvane {
class Window;
}

namespace selvane::ui {

// A secondary window's dialog over its model, which outlives it: closing by the title bar or
// Escape closes the model as its Close button does, the model's own close ends the dialog, and
// once the dialog goes the model calls into its widgets no more.
class ModelDialog : public QDialog {
public:
    void reject() override;

protected:
    // closed: the hook the model calls when it closes; close: the model's own close.
    ModelDialog(Window& model, std::function<void()>& closed, std::function<void()> close, QWidget* parent);
    ~ModelDialog() override;

private:
    Window& model_;
    std::function<void()>& closed_;
    std::function<void()> close_;
};

}  // namespace selvane::ui
