#pragma once

#include "ui/ModelDialog.h"

namespace selvane {
class OddsWindow;
}

namespace selvane::ui {

// frmLiveOdds on screen: the heading panel, the price list and the Close button, bound to the
// model; closing by the title bar or Escape unloads the model as Close does.
class OddsWindowView : public ModelDialog {
public:
    explicit OddsWindowView(OddsWindow& model, QWidget* parent = nullptr);
};

}  // namespace selvane::ui
