#include "ui/SplashView.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "kit/MainWindow.h"
#include "promo/SplashWindow.h"
#include "ui/Bindings.h"

namespace selvane::ui {

namespace {

template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

SplashView::SplashView(SplashWindow& model, const std::filesystem::path& programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint), model_(model) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QString::fromUtf8(MainWindow::kCaption));
    setFont(QFont(QString::fromLatin1(SplashWindow::kFont), 9));
    setAutoFillBackground(true);

    auto* picture = named(new QLabel(this), "picSplash");
    const QPixmap image(QString::fromStdString((programFolder / SplashWindow::kPictureFile).string()));
    picture->setPixmap(image);
    picture->setAlignment(Qt::AlignCenter);
    if (image.isNull()) picture->setMinimumSize(480, 240);  // the layout stays the same without it
    auto* label1 = named(new QLabel(this), "Label1");
    auto* label2 = named(new QLabel(this), "Label2");
    for (QLabel* l : {label1, label2}) {
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    auto* ok = named(new QPushButton(this), "cmdOK");
    auto* cancel = named(new QPushButton(this), "cmdCancel");
    ok->setDefault(true);
    for (QPushButton* b : {ok, cancel}) b->setMinimumWidth(110);
    auto* bar = named(new QProgressBar(this), "pgBar");
    bar->setTextVisible(false);
    bar->setMaximumHeight(12);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addSpacing(16);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 10);
    column->addWidget(picture);
    column->addSpacing(6);
    column->addWidget(label1);
    column->addWidget(label2);
    column->addSpacing(6);
    column->addLayout(buttons);
    // Room for the bar whether it shows or not, so the window does not jump.
    auto* barRow = new QWidget(this);
    barRow->setFixedHeight(14);
    auto* barLayout = new QHBoxLayout(barRow);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->addWidget(bar);
    column->addWidget(barRow);

    bind(model.picSplash, picture, Twips::forScreenOf(this));
    bind(model.Label1, label1);
    bind(model.Label2, label2);
    bind(model.cmdOK, ok, QLatin1Char('A'));
    bind(model.cmdCancel, cancel, QLatin1Char('D'));
    picture->setAccessibleName(QStringLiteral("Selvane"));
    picture->setAccessibleDescription(QStringLiteral("The product picture"));
    ok->setAccessibleDescription(QStringLiteral("Accepts the disclaimer and opens the program"));
    cancel->setAccessibleDescription(QStringLiteral("Declines the disclaimer and ends the program"));
    bindOncePerFrame(model.pgBar, bar);

    const int width = std::max(image.width(), 480) + 24;
    setFixedSize(width, heightForWidth(width) > 0 ? heightForWidth(width) : sizeHint().height());
}

SplashView::~SplashView() {
    // The model outlives the window: it must stop calling into these widgets.
    for (Control* c : model_.controls()) c->setObserver(nullptr);
}

void SplashView::keyPressEvent(QKeyEvent* event) {
    // Esc answers as a dialog's Esc does: no.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (model_.choice() == SplashWindow::Choice::Waiting) model_.cmdCancel.click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SplashView::closeEvent(QCloseEvent* event) {
    if (model_.choice() == SplashWindow::Choice::Waiting) model_.cmdCancel.click();
    event->accept();
}

}  // namespace selvane::ui
