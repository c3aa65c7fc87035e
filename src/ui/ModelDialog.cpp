#include "ui/ModelDialog.h"

#include "kit/Window.h"

namespace selvane::ui {

ModelDialog::ModelDialog(Window& model, std::function<void()>& closed, std::function<void()> close, QWidget* parent)
    : QDialog(parent), model_(model), closed_(closed), close_(std::move(close)) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    closed_ = [this] { QDialog::done(QDialog::Rejected); };
}

ModelDialog::~ModelDialog() {
    closed_ = nullptr;
    for (Control* c : model_.controls()) c->setObserver(nullptr);
}

void ModelDialog::reject() {
    close_();
    QDialog::done(QDialog::Rejected);
}

}  // namespace selvane::ui
