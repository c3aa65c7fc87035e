#include "ui/OddsWindowView.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include "odds/OddsWindow.h"
#include "ui/Bindings.h"
#include "ui/Twips.h"

namespace selvane::ui {

namespace {

// The list's column of best prices: a punter reads it first.
constexpr int kBestColumn = 2;
const QColor kBestText(0x00, 0x50, 0x00);
const QColor kBestBack(0xFF, 0xF4, 0xC0);
const QColor kPanel(0x0B, 0x3D, 0x2E);

// Twips: the list sits in picBase with a small margin; the heading's left margin.
constexpr int kListMargin = 60;
constexpr int kHeadingLeft = 240;
constexpr double kHeadingPoints = 14;

class BestPriceDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->font.setBold(true);
        option->palette.setColor(QPalette::Text, kBestText);
        option->backgroundBrush = kBestBack;
    }
};

QWidget* panel(QWidget* parent, const char* name, const QRect& at, bool dark) {
    auto* w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(at);
    if (dark) {
        w->setAutoFillBackground(true);
        QPalette p = w->palette();
        p.setColor(QPalette::Window, kPanel);
        p.setColor(QPalette::WindowText, Qt::white);
        w->setPalette(p);
    }
    return w;
}

}  // namespace

OddsWindowView::OddsWindowView(OddsWindow& model, QWidget* parent)
    : ModelDialog(model, model.onUnload, [&model] { model.unload(); }, parent) {
    setObjectName(QStringLiteral("frmLiveOdds"));
    setWindowTitle(QString::fromUtf8(OddsWindow::kCaption));
    const Twips t = Twips::forScreenOf(parent);
    setFixedSize(t.x(OddsWindow::kInnerWidth), t.y(OddsWindow::kInnerHeight));

    const int width = OddsWindow::kInnerWidth;
    const int baseTop = OddsWindow::kTopHeight;
    const int baseHeight = OddsWindow::kBottomTop - baseTop;
    auto* picTop = panel(this, "picTop", t.rect(0, 0, width, OddsWindow::kTopHeight), true);
    auto* picBase = panel(this, "picBase", t.rect(0, baseTop, width, baseHeight), false);
    auto* picBottom =
        panel(this, "picBottom", t.rect(0, OddsWindow::kBottomTop, width, OddsWindow::kBottomHeight), true);

    auto* heading = new QLabel(picTop);
    heading->setObjectName(QStringLiteral("lblMeetingName"));
    QFont f(QString::fromLatin1(OddsWindow::kHeadingFont));
    f.setPointSizeF(kHeadingPoints);
    f.setBold(true);
    heading->setFont(f);
    heading->setGeometry(t.rect(kHeadingLeft, 0, width - 2 * kHeadingLeft, OddsWindow::kTopHeight));
    heading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* list = new QTreeWidget(picBase);
    list->setObjectName(QStringLiteral("lstOddsSort"));
    list->setGeometry(t.rect(kListMargin, kListMargin, width - 2 * kListMargin, baseHeight - 2 * kListMargin));
    list->setItemDelegateForColumn(kBestColumn, new BestPriceDelegate(list));
    list->setSortingEnabled(false);  // rows stay in runner order

    auto* close = new QPushButton(picBottom);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setGeometry(
        t.rect(OddsWindow::kCloseLeft, OddsWindow::kCloseTop, OddsWindow::kCloseWidth, OddsWindow::kCloseHeight));
    close->setDefault(true);

    bind(model.picTop, picTop, t);
    bind(model.picBase, picBase, t);
    bind(model.picBottom, picBottom, t);
    bind(model.lblMeetingName, heading);
    bind(model.lstOddsSort, list, t);
    bind(model.cmdClose, close);
}

}  // namespace selvane::ui
