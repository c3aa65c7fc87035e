#include "ui/ResultsWindowView.h"

#include <QLabel>
#include <QPushButton>
#include <QWebEngineView>

#include "results/ResultsWindow.h"
#include "ui/Bindings.h"
#include "ui/LocalWebView.h"
#include "ui/Twips.h"

namespace selvane::ui {

namespace {

constexpr int kCloseWidth = 1215;
constexpr int kCloseHeight = 420;
constexpr int kMargin = 120;

// The result pages are white on black; the panels around them match.
void paintBlack(QWidget* w) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, Qt::white);
    w->setPalette(p);
}

QWidget* panel(QWidget* parent, const char* name, const QRect& at) {
    auto* w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(at);
    paintBlack(w);
    return w;
}

}  // namespace

ResultsWindowView::ResultsWindowView(ResultsWindow& model, QWidget* parent)
    : ModelDialog(model, model.onClose, [&model] { model.close(); }, parent) {
    setObjectName(QStringLiteral("frmResults"));
    setWindowTitle(QString::fromUtf8(ResultsWindow::kCaption));
    paintBlack(this);
    const Twips t = Twips::forScreenOf(parent);
    const ResultsLayout& l = model.layout();
    setFixedSize(t.x(l.windowWidth), t.y(l.windowHeight));

    const int topHeight = ResultsWindow::kTopPanelHeight;
    const int bottomTop = l.windowHeight - ResultsWindow::kBottomPanelHeight;
    const int baseTop = l.webView.top + l.webView.height;
    auto* picTop = panel(this, "picTop", t.rect(0, 0, l.windowWidth, topHeight));
    auto* picBase = panel(this, "picBase", t.rect(0, baseTop, l.basePanelWidth, bottomTop - baseTop));
    auto* picBottom = panel(this, "picBottom", t.rect(0, bottomTop, l.windowWidth, ResultsWindow::kBottomPanelHeight));

    auto* heading = new QLabel(picTop);
    heading->setObjectName(QStringLiteral("lblMeetingName"));
    QFont f(QString::fromLatin1(ResultsWindow::kMeetingNameFont.face));
    f.setPointSizeF(ResultsWindow::kMeetingNameFont.points);
    f.setBold(ResultsWindow::kMeetingNameFont.bold);
    heading->setFont(f);
    heading->setContentsMargins(t.x(kMargin), 0, 0, 0);
    heading->move(0, (t.y(topHeight) - heading->fontMetrics().height()) / 2);

    auto* web = makeLocalWebView(this, model.WBResults);
    web->setObjectName(QStringLiteral("WBResults"));
    web->setGeometry(t.rect(l.webView.left, l.webView.top, l.webView.width, l.webView.height));

    auto* close = new QPushButton(picBottom);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setGeometry(t.rect(l.windowWidth - kCloseWidth - kMargin, (ResultsWindow::kBottomPanelHeight - kCloseHeight) / 2,
                              kCloseWidth, kCloseHeight));
    close->setDefault(true);

    bind(model.picTop, picTop, t);
    bind(model.picBase, picBase, t);
    bind(model.picBottom, picBottom, t);
    // Sizes itself to its caption, as the ticker does.
    bindTicker(model.lblMeetingName, heading, t);
    bind(model.WBResults, web);
    bind(model.cmdClose, close);
}

}  // namespace selvane::ui
