#pragma once

#include <QPointer>
#include <QWidget>

#include "kit/Ports.h"

namespace selvane::ui {

// Builds the dialog that shows a secondary window's model and runs it modally over parent.
class QtModalWindow : public ModalWindowPort {
public:
    void showModal(Window& window) override;
    QPointer<QWidget> parent;
};

}  // namespace selvane::ui
