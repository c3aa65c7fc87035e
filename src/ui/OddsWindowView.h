#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace selvane {
class OddsWindow;
}

namespace selvane::ui {

// frmLiveOdds on screen: the heading panel, the price list and the Close button, bound to the
// model; closing by the title bar or Escape unloads the model as Close does.
class OddsWindowView : public QDialog {
public:
    explicit OddsWindowView(OddsWindow& model, QWidget* parent = nullptr);
    ~OddsWindowView() override;

    QTreeWidget* list() const { return list_; }
    QLabel* heading() const { return heading_; }
    QPushButton* closeButton() const { return close_; }

    void reject() override;

private:
    OddsWindow& model_;
    QTreeWidget* list_ = nullptr;
    QLabel* heading_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace selvane::ui
