#include "ui/QtModalWindow.h"

#include <QDialog>
#include <QtGlobal>

#include <memory>

#include "odds/OddsWindow.h"
#include "results/ResultsWindow.h"
#include "ui/OddsWindowView.h"
#include "ui/WebWindows.h"

namespace selvane::ui {

namespace {

using ViewMaker = std::unique_ptr<QDialog> (*)(Window&, QWidget*);

template <typename Model, typename View>
std::unique_ptr<QDialog> viewOf(Window& window, QWidget* parent) {
    auto* model = dynamic_cast<Model*>(&window);
    return model ? std::make_unique<View>(*model, parent) : nullptr;
}

std::unique_ptr<QDialog> resultsView(Window& window, QWidget* parent) {
    auto* model = dynamic_cast<ResultsWindow*>(&window);
    return model ? std::unique_ptr<QDialog>(webWindows().resultsWindow(*model, parent)) : nullptr;
}

// One line per secondary window.
constexpr ViewMaker kViews[] = {
    &resultsView,
    &viewOf<OddsWindow, OddsWindowView>,
};

}  // namespace

void QtModalWindow::showModal(Window& window) {
    for (ViewMaker make : kViews) {
        if (std::unique_ptr<QDialog> view = make(window, parent)) {
            view->exec();
            return;
        }
    }
    qWarning("selvane: no view for a secondary window");
}

}  // namespace selvane::ui
