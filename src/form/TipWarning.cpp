#include "form/TipWarning.h"

#include "kit/MainWindow.h"
#include "form/TipGrid.h"

namespace selvane {

TipWarning tipWarning(int runnerCount, int tipCount, int insufficientFormCount) {
    if (runnerCount <= 0 || tipCount <= 0) return TipWarning::DataError;
    if (insufficientFormCount >= runnerCount / 3) return TipWarning::InsufficientForm;
    return TipWarning::None;
}

TipWarning tipWarning(const MainWindow& w) {
    return tipWarning(w.lstRaces.count(), w.lstTips.count(), w.insufficientFormCount);
}

std::string warningTitle(TipWarning warning) {
    switch (warning) {
        case TipWarning::InsufficientForm: return "Insufficient Form";
        case TipWarning::DataError: return "Race's Data Error";
        case TipWarning::None: break;
    }
    return {};
}

void writePlaceholderTips(MainWindow& w) {
    if (w.msfResults.cols() < 4) w.msfResults.setCols(4);
    for (std::int16_t r = 1; r <= 5; ++r) {
        const std::string label = labelNumber(r) + ordinalSuffix(r);
        w.lstTips.addRow(label, {" n/a", " 0%"});
        w.msfResults.setRowCount(r);
        w.msfResults.addItem(label + "\t n/a\t 0%\t 0");
    }
}

TipWarning reportTipOutcome(MainWindow& w) {
    const TipWarning warning = tipWarning(w);
    if (warning == TipWarning::DataError) writePlaceholderTips(w);
    return warning;
}

}  // namespace selvane
