#include "ui/QtModalWindow.h"

#include <QDialog>
#include <QtGlobal>

#include <memory>

#include "odds/OddsWindow.h"
#include "results/ResultsWindow.h"
#include "ui/OddsWindowView.h"
#include "ui/WebWindows.h"

namespace selvane::ui {

void QtModalWindow::showModal(Window& window) {
    std::unique_ptr<QDialog> view;
    // The results window has a web view, so its dialog comes from the windows' library.
    if (auto* results = dynamic_cast<ResultsWindow*>(&window))
        view.reset(webWindows().resultsWindow(*results, parent));
    else if (auto* odds = dynamic_cast<OddsWindow*>(&window))
        view = std::make_unique<OddsWindowView>(*odds, parent);
    if (!view) {
        qWarning("selvane: no view for a secondary window");
        return;
    }
    view->exec();
}

}  // namespace selvane::ui
