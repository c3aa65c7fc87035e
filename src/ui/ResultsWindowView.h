#pragma once

#include "ui/ModelDialog.h"

namespace selvane {
class ResultsWindow;
}

namespace selvane::ui {

// frmResults on screen: the heading panel, the page in a local web view, the Close button,
// bound to the model; closing by the title bar or Escape closes the model as Close does.
class ResultsWindowView : public ModelDialog {
public:
    explicit ResultsWindowView(ResultsWindow& model, QWidget* parent = nullptr);
};

}  // namespace selvane::ui
