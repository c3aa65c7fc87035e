#include "ui/Bindings.h"

#include <QApplication>
#include <QComboBox>
#include <QDebug>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>

#include <algorithm>
#include <exception>
#include <functional>
#include <vector>

#include "ui/Contrast.h"
#include "ui/Text.h"

namespace selvane::ui {

namespace {

// Runs a user's command after the widget's signal has returned: a command may refill or
// clear the very widget that sent it.
void post(QObject* context, std::function<void()> command) {
    QMetaObject::invokeMethod(
        context,
        [command = std::move(command)] {
            try {
                command();
            } catch (const std::exception& e) {
                qWarning("selvane: a command failed: %s", e.what());
            } catch (...) {
                qWarning("selvane: a command failed");
            }
        },
        Qt::QueuedConnection);
}

constexpr const char* kFocusReturn = "selvaneFocusReturn";

// A command disables every control while it runs, and Qt then drops the focus. The control
// the user was in gets it back when it is enabled again, so the arrow keys go on working in the
// list a race or a date was just chosen from.
void applyEnabled(QWidget* widget, bool enabled) {
    if (widget->isEnabled() == enabled) return;
    QWidget* window = widget->window();
    const QString held = window->property(kFocusReturn).toString();
    if (!enabled) {
        QWidget* focus = window->focusWidget();
        // Only the first: Qt hands the focus on to the next control, which is disabled next.
        QWidget* holder = held.isEmpty() ? nullptr : window->findChild<QWidget*>(held);
        if (focus && (focus == widget || widget->isAncestorOf(focus)) && (!holder || holder->isEnabled()))
            window->setProperty(kFocusReturn, widget->objectName());
        widget->setEnabled(false);
        return;
    }
    widget->setEnabled(true);
    if (held.isEmpty() || held != widget->objectName()) return;
    window->setProperty(kFocusReturn, QVariant());
    QWidget* now = window->focusWidget();
    if (!now || !now->isEnabled()) widget->setFocus(Qt::OtherFocusReason);
}

template <typename W>
void applyCommon(const Control& model, W* widget) {
    applyEnabled(widget, model.enabled());
    widget->setVisible(model.visible());
    // A focus request counts once; a disabled or hidden control cannot take the focus, and
    // the request is dropped as the command that made it ignores the failure.
    const int requests = model.focusRequests();
    if (widget->property("selvaneFocusRequests").toInt() != requests) {
        widget->setProperty("selvaneFocusRequests", requests);
        if (widget->isEnabled() && widget->isVisibleTo(widget->window())) {
            widget->window()->setProperty(kFocusReturn, QVariant());
            widget->setFocus(Qt::OtherFocusReason);
        }
    }
}

// Clicks on widgets that have no click signal (labels, picture boxes).
class ClickFilter : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void(QPoint)> onRelease)
        : QObject(parent), onRelease_(std::move(onRelease)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                const QPoint at = mouse->position().toPoint();
                post(watched, [handler = onRelease_, at] { handler(at); });
            }
        }
        return false;
    }

private:
    std::function<void(QPoint)> onRelease_;
};

void forwardClicks(QWidget* widget, std::function<void()> handler) {
    widget->installEventFilter(new ClickFilter(widget, [handler = std::move(handler)](QPoint) { handler(); }));
}

template <typename M, typename W>
void observe(M& model, W* widget, std::function<void(M&, W*)> apply) {
    QPointer<W> guarded(widget);
    model.setObserver([&model, guarded, apply] {
        if (!guarded) return;
        const QSignalBlocker block(guarded.data());
        apply(model, guarded.data());
    });
    const QSignalBlocker block(widget);
    apply(model, widget);
}

}  // namespace

QColor toQColor(Colour bgr) {
    if (bgr == kDefaultColour) return QColor();
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

void bind(Label& model, QLabel* widget) {
    widget->setTextFormat(Qt::PlainText);  // captions carry page texts, never markup
    observe<Label, QLabel>(model, widget, [](Label& m, QLabel* w) {
        w->setText(labelText(m.caption()));
        applyCommon(m, w);
    });
    forwardClicks(widget, [&model] {
        if (model.enabled() && model.onClick) model.onClick();
    });
}

void bindTicker(Label& model, QLabel* widget, const Twips& twips) {
    widget->setTextFormat(Qt::PlainText);
    observe<Label, QLabel>(model, widget, [twips](Label& m, QLabel* w) {
        w->setText(labelText(m.caption()));
        w->adjustSize();
        w->move(twips.x(m.left()), w->y());
        applyCommon(m, w);
    });
    forwardClicks(widget, [&model] {
        if (model.enabled() && model.onClick) model.onClick();
    });
}

void bind(Frame& model, QGroupBox* widget) {
    observe<Frame, QGroupBox>(model, widget, [](Frame& m, QGroupBox* w) {
        w->setTitle(fromBytes(m.caption()));
        applyCommon(m, w);
    });
}

namespace {

// Releases of any mouse button, as the button codes the models use (1 left, 2 right, 4 middle).
class MouseUpFilter : public QObject {
public:
    MouseUpFilter(QObject* parent, Button& model) : QObject(parent), model_(model) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonRelease || !model_.onMouseUp) return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        int code = 0;
        switch (mouse->button()) {
            case Qt::LeftButton: code = 1; break;
            case Qt::RightButton: code = 2; break;
            case Qt::MiddleButton: code = 4; break;
            default: return false;
        }
        post(watched, [&model = model_, code] {
            if (model.enabled()) model.mouseUp(code);
        });
        return false;
    }

private:
    Button& model_;
};

void applyProgress(ProgressBar& m, QProgressBar* w) {
    w->setRange(m.min(), std::max(m.min(), m.max()));
    w->setValue(std::clamp(m.value(), m.min(), std::max(m.min(), m.max())));
    applyCommon(m, w);
}

}  // namespace

void bind(Button& model, QPushButton* widget, QChar accessKey) {
    observe<Button, QPushButton>(model, widget, [accessKey](Button& m, QPushButton* w) {
        w->setText(withAccessKey(fromBytes(m.caption()), accessKey));
        applyCommon(m, w);
    });
    QObject::connect(widget, &QPushButton::clicked, widget, [&model, widget] {
        post(widget, [&model] {
            if (model.enabled()) model.click();
        });
    });
    widget->installEventFilter(new MouseUpFilter(widget, model));
}

void bind(TextBox& model, QLineEdit* widget) {
    observe<TextBox, QLineEdit>(model, widget, [](TextBox& m, QLineEdit* w) {
        const QString text = fromBytes(m.text());
        if (w->text() != text) w->setText(text);
        applyCommon(m, w);
    });
    QObject::connect(widget, &QLineEdit::textEdited, widget,
                     [&model](const QString& text) { model.setText(toBytes(text)); });
}

void bind(PictureBox& model, QWidget* widget, const Twips& twips) {
    observe<PictureBox, QWidget>(model, widget, [twips](PictureBox& m, QWidget* w) {
        if (m.width() > 0) w->resize(twips.x(m.width()), w->height());
        applyCommon(m, w);
    });
    forwardClicks(widget, [&model] {
        if (model.enabled() && model.onClick) model.onClick();
    });
}

void bind(ComboBox& model, QComboBox* widget) {
    observe<ComboBox, QComboBox>(model, widget, [](ComboBox& m, QComboBox* w) {
        bool same = w->count() == m.count();
        for (int i = 0; same && i < m.count(); ++i) same = w->itemText(i) == fromBytes(m.entries()[i]);
        if (!same) {
            w->clear();
            for (const std::string& e : m.entries()) w->addItem(fromBytes(e));
        }
        w->setCurrentIndex(m.selectedIndex());
        applyCommon(m, w);
    });
    // Only the user's choices: activated is not sent for changes made from code. Keys, the
    // wheel, typing an entry's first letters and the list all change the box's text this way.
    QObject::connect(widget, &QComboBox::activated, widget, [&model, widget](int index) {
        const QString chosen = widget->itemText(index);
        post(widget, [&model, widget, index, chosen] {
            // A command that ran in between may have disabled or refilled the box: then the
            // choice is void and the box shows the model's entry again.
            if (model.enabled() && index >= 0 && index < model.count() && fromBytes(model.entries()[index]) == chosen) {
                model.setSelectedIndex(index);
            } else {
                const QSignalBlocker block(widget);
                widget->setCurrentIndex(model.selectedIndex());
            }
        });
    });
}

namespace {

void applyRow(const ReportRow& row, bool checkBoxes, int columns, const QColor& base, QTreeWidgetItem* item) {
    for (int c = 0; c < columns; ++c) {
        const std::string& text = c == 0 ? row.text : (c <= static_cast<int>(row.subItems.size()) ? row.subItems[c - 1] : std::string());
        const QString shown = fromBytes(text);
        if (item->text(c) != shown) item->setText(c, shown);
        const QColor colour = toQColor(row.foreColour);
        if (colour.isValid())
            item->setForeground(c, readableOn(colour, base));
        else
            item->setData(c, Qt::ForegroundRole, QVariant());
        const QString tip = fromBytes(row.tooltip);
        if (item->toolTip(c) != tip) item->setToolTip(c, tip);
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (checkBoxes) flags |= Qt::ItemIsUserCheckable;
    if (item->flags() != flags) item->setFlags(flags);
    if (checkBoxes)
        item->setCheckState(0, row.checked ? Qt::Checked : Qt::Unchecked);
    else
        item->setData(0, Qt::CheckStateRole, QVariant());
}

// A column with less than this left at the list's edge would show as an unreadable sliver.
constexpr int kShortestEdgeColumnTwips = 600;

// The last column in view takes what is left of the list's width: it ends at the edge, where
// its texts are cut with an ellipsis, and no sliver of a further column shows. The lists that
// fit take up the whole width; columns past the edge stay a scroll away.
void layOutColumns(const ReportList& m, QTreeWidget* w, const Twips& twips) {
    const auto& columns = m.columns();
    const int n = static_cast<int>(columns.size());
    QHeaderView* header = w->header();
    const int edge = w->viewport()->width();
    std::vector<int> widths(columns.size());
    int left = 0, fitted = -1, fittedLeft = 0;
    for (int v = 0; v < header->count(); ++v) {
        const int c = header->logicalIndex(v);
        if (c < 0 || c >= n || columns[c].widthTwips == 0) continue;
        widths[c] = twips.x(columns[c].widthTwips);
        if (left < edge && (fitted < 0 || edge - left >= twips.x(kShortestEdgeColumnTwips))) {
            fitted = c;
            fittedLeft = left;
        }
        left += widths[c];
    }
    if (fitted >= 0) widths[fitted] = edge - fittedLeft;
    for (int c = 0; c < n; ++c) {
        // A width of 0 hides the column: it still carries data (the race list's link key).
        w->setColumnHidden(c, columns[c].widthTwips == 0);
        if (columns[c].widthTwips > 0 && w->columnWidth(c) != widths[c]) w->setColumnWidth(c, widths[c]);
    }
}

// Some styles (Fusion among them) draw an unticked box in a shade of the window colour, which a
// dark theme's list background swallows: there the box gets a ring between background and text.
class VisibleCheckBoxes : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const QColor base = option.palette.color(QPalette::Base), text = option.palette.color(QPalette::Text);
        if (!(index.flags() & Qt::ItemIsUserCheckable) || base.lightnessF() >= text.lightnessF()) return;
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        if (!(item.features & QStyleOptionViewItem::HasCheckIndicator)) return;
        const QWidget* view = option.widget;
        const QStyle* style = view ? view->style() : QApplication::style();
        const QRect box = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item, view);
        painter->save();
        painter->setPen(QColor::fromRgbF((base.redF() + text.redF()) / 2, (base.greenF() + text.greenF()) / 2,
                                         (base.blueF() + text.blueF()) / 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(box.adjusted(0, 0, -1, -1));
        painter->restore();
    }
};

// A cell's whole text as its tooltip, where the list cuts it, above the row's own tooltip.
class CutTextTips : public VisibleCheckBoxes {
public:
    using VisibleCheckBoxes::VisibleCheckBoxes;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip || !index.isValid())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QRect shown = view->visualRect(index).intersected(view->viewport()->rect());
        QString text = index.data(Qt::DisplayRole).toString();
        if (sizeHint(option, index).width() <= shown.width()) text.clear();
        const QString rowTip = index.data(Qt::ToolTipRole).toString();
        if (!rowTip.isEmpty()) text = text.isEmpty() ? rowTip : text + QLatin1Char('\n') + rowTip;
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(event->globalPos(), text, view->viewport(), shown);
        return true;
    }
};

// Enter on a list, and a double-click below its rows, choose the selected row as a
// double-click on it does; the viewport's size changes lay the columns out again.
class ListKeysAndSize : public QObject {
public:
    ListKeysAndSize(QTreeWidget* list, ReportList& model, std::function<void()> layOut)
        : QObject(list), list_(list), model_(model), layOut_(std::move(layOut)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Resize:
                if (watched == list_->viewport()) layOut_();
                return false;
            case QEvent::KeyPress: {
                const int key = static_cast<QKeyEvent*>(event)->key();
                if (watched != list_ || (key != Qt::Key_Return && key != Qt::Key_Enter) || !model_.onDoubleClick)
                    return false;
                choose();
                return true;
            }
            case QEvent::MouseButtonDblClick: {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                if (watched == list_->viewport() && mouse->button() == Qt::LeftButton &&
                    !list_->itemAt(mouse->position().toPoint()))
                    choose();
                return false;
            }
            default:
                return false;
        }
    }

private:
    void choose() {
        post(list_, [&model = model_] {
            const int i = model.selectedIndex();
            if (model.enabled() && i >= 0 && i < model.count() && model.onDoubleClick) model.onDoubleClick();
        });
    }

    QTreeWidget* list_;
    ReportList& model_;
    std::function<void()> layOut_;
};

}  // namespace

void bind(ReportList& model, QTreeWidget* widget, const Twips& twips) {
    widget->setRootIsDecorated(false);
    widget->setUniformRowHeights(true);
    widget->setAllColumnsShowFocus(true);
    widget->setSelectionMode(QAbstractItemView::SingleSelection);
    widget->setSelectionBehavior(QAbstractItemView::SelectRows);
    widget->header()->setStretchLastSection(false);
    widget->header()->setSectionsMovable(false);
    widget->setItemDelegate(new CutTextTips(widget));

    observe<ReportList, QTreeWidget>(model, widget, [twips](ReportList& m, QTreeWidget* w) {
        const auto& columns = m.columns();
        const int n = std::max(1, static_cast<int>(columns.size()));
        if (w->columnCount() != n) w->setColumnCount(n);
        QStringList titles;
        for (const ReportColumn& c : columns) titles << fromBytes(c.title);
        QTreeWidgetItem* header = w->headerItem();
        for (int c = 0; c < static_cast<int>(columns.size()); ++c)
            if (header->text(c) != titles[c]) header->setText(c, titles[c]);
        layOutColumns(m, w, twips);
        w->setFrameStyle(m.style().singleBorder ? (QFrame::Box | QFrame::Plain) : (QFrame::StyledPanel | QFrame::Sunken));
        w->setEditTriggers(QAbstractItemView::NoEditTriggers);

        while (w->topLevelItemCount() > m.count()) delete w->takeTopLevelItem(w->topLevelItemCount() - 1);
        while (w->topLevelItemCount() < m.count()) w->addTopLevelItem(new QTreeWidgetItem());
        const QColor base = w->palette().color(QPalette::Base);
        for (int i = 0; i < m.count(); ++i) applyRow(m.row(i), m.checkBoxes(), n, base, w->topLevelItem(i));

        if (m.selectedIndex() < 0) {
            w->clearSelection();
            w->setCurrentItem(nullptr);
        } else if (QTreeWidgetItem* item = w->topLevelItem(m.selectedIndex()); item && w->currentItem() != item) {
            w->setCurrentItem(item);
        }
        applyCommon(m, w);
    });

    auto indexOf = [widget](QTreeWidgetItem* item) { return widget->indexOfTopLevelItem(item); };
    QObject::connect(widget, &QTreeWidget::itemChanged, widget, [&model, indexOf](QTreeWidgetItem* item, int column) {
        const int i = indexOf(item);
        if (column != 0 || i < 0 || i >= model.count() || !model.checkBoxes()) return;
        const bool on = item->checkState(0) == Qt::Checked;
        if (model.row(i).checked == on) return;
        model.setChecked(i, on);
        if (model.onItemCheck) post(item->treeWidget(), [&model, i] {
                if (i < model.count() && model.onItemCheck) model.onItemCheck(i);
            });
    });
    QObject::connect(widget, &QTreeWidget::currentItemChanged, widget, [&model, indexOf](QTreeWidgetItem* current) {
        const int i = current ? indexOf(current) : -1;
        if (i < model.count() && i != model.selectedIndex()) model.setSelectedIndex(i);
    });
    QObject::connect(widget, &QTreeWidget::itemClicked, widget, [&model, widget, indexOf](QTreeWidgetItem* item) {
        const int i = indexOf(item);
        post(widget, [&model, i] {
            if (!model.enabled() || i < 0 || i >= model.count()) return;
            model.setSelectedIndex(i);
            if (model.onClick) model.onClick();
        });
    });
    // A click below the rows is still a click on the list (the runner list reruns the tips).
    QPointer<QTreeWidget> list(widget);
    widget->viewport()->installEventFilter(new ClickFilter(widget->viewport(), [&model, list](QPoint at) {
        if (!list || list->itemAt(at) || !model.enabled() || !model.onClick) return;
        model.onClick();
    }));
    const auto layOut = [&model, list, twips] {
        if (list) layOutColumns(model, list, twips);
    };
    QObject::connect(widget->header(), &QHeaderView::sectionMoved, widget, layOut);
    auto* keysAndSize = new ListKeysAndSize(widget, model, layOut);
    widget->installEventFilter(keysAndSize);
    widget->viewport()->installEventFilter(keysAndSize);
    QObject::connect(widget, &QTreeWidget::itemDoubleClicked, widget, [&model, widget, indexOf](QTreeWidgetItem* item) {
        const int i = indexOf(item);
        post(widget, [&model, i] {
            if (!model.enabled() || i < 0 || i >= model.count()) return;
            model.setSelectedIndex(i);
            if (model.onDoubleClick) model.onDoubleClick();
        });
    });
}

void bind(Grid& model, QTableWidget* widget, const Twips& twips) {
    widget->verticalHeader()->hide();
    widget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    widget->setSelectionMode(QAbstractItemView::NoSelection);
    widget->setFocusPolicy(Qt::NoFocus);
    QHeaderView* header = widget->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    widget->verticalHeader()->setDefaultSectionSize(widget->fontMetrics().height() + 5);
    widget->verticalHeader()->setMinimumSectionSize(widget->fontMetrics().height() + 2);

    observe<Grid, QTableWidget>(model, widget, [twips](Grid& m, QTableWidget* w) {
        const int rows = std::max(0, m.rowCount() - 1);
        if (w->columnCount() != m.cols()) w->setColumnCount(m.cols());
        if (w->rowCount() != rows) w->setRowCount(rows);
        for (int c = 0; c < m.cols(); ++c) {
            w->setColumnHidden(c, m.colWidth(c) == 0);
            if (m.colWidth(c) > 0) w->setColumnWidth(c, twips.x(m.colWidth(c)));
            QTableWidgetItem* title = w->horizontalHeaderItem(c);
            if (!title) {
                title = new QTableWidgetItem();
                w->setHorizontalHeaderItem(c, title);
            }
            const QString text = m.rowCount() > 0 ? fromBytes(m.cell(0, c)) : QString();
            if (title->text() != text) title->setText(text);
        }
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < m.cols(); ++c) {
                QTableWidgetItem* item = w->item(r, c);
                if (!item) {
                    item = new QTableWidgetItem();
                    w->setItem(r, c, item);
                }
                const QString text = fromBytes(m.cell(r + 1, c));
                if (item->text() != text) item->setText(text);
                const QColor back = toQColor(m.cellBackColour(r + 1, c));
                if (back.isValid()) {
                    item->setBackground(back);
                    item->setForeground(textOn(back));
                } else {
                    item->setData(Qt::BackgroundRole, QVariant());
                    item->setData(Qt::ForegroundRole, QVariant());
                }
            }
        }
        applyCommon(m, w);
    });
}

void bind(StatusBar& model, QLabel* panel1, QLabel* panel2) {
    panel1->setTextFormat(Qt::PlainText);
    panel2->setTextFormat(Qt::PlainText);
    QPointer<QLabel> p1(panel1), p2(panel2);
    auto apply = [&model, p1, p2] {
        if (!p1 || !p2) return;
        p1->setText(fromBytes(model.panel(1)));
        p2->setText(fromBytes(model.panel(2)));
        p1->setToolTip(fromBytes(model.panelTooltip(1)));
        p2->setToolTip(fromBytes(model.panelTooltip(2)));
        p1->setEnabled(model.enabled());
        p2->setEnabled(model.enabled());
    };
    model.setObserver(apply);
    apply();
}

void bind(ProgressBar& model, QProgressBar* widget) {
    observe<ProgressBar, QProgressBar>(model, widget, applyProgress);
}

void bindOncePerFrame(ProgressBar& model, QProgressBar* widget) {
    // A bar's value change repaints it at once; stepped per character that is thousands of
    // paints. The model's changes are gathered and shown together at the next frame.
    auto* frame = new QTimer(widget);
    frame->setSingleShot(true);
    frame->setInterval(16);
    QPointer<QProgressBar> guarded(widget);
    const auto apply = [&model, guarded] {
        if (!guarded) return;
        const QSignalBlocker block(guarded.data());
        applyProgress(model, guarded.data());
    };
    QObject::connect(frame, &QTimer::timeout, widget, apply);
    QPointer<QTimer> timer(frame);
    model.setObserver([timer] {
        if (timer && !timer->isActive()) timer->start();
    });
    apply();
}

void bind(Timer& model, QTimer* timer) {
    observe<Timer, QTimer>(model, timer, [](Timer& m, QTimer* t) {
        t->setInterval(m.interval());
        // Stopped while disabled: the ticker stands still during a command.
        const bool run = m.enabled() && m.interval() > 0;
        if (run && !t->isActive()) t->start();
        if (!run && t->isActive()) t->stop();
    });
    QObject::connect(timer, &QTimer::timeout, timer, [&model] {
        try {
            model.fire();
        } catch (const std::exception& e) {
            qWarning("selvane: a timer tick failed: %s", e.what());
        }
    });
}

void bind(WebView& model, QWidget* webView) {
    observe<WebView, QWidget>(model, webView, [](WebView& m, QWidget* w) {
        const QString location = fromBytes(m.location());
        const QUrl url = location.isEmpty() ? QUrl(QStringLiteral("about:blank"))
                                            : QUrl::fromUserInput(location, QString(), QUrl::AssumeLocalFile);
        const QString key = QString::number(m.navigations());
        // Navigate once per navigate() call, not on every enable/disable.
        if (w->property("selvaneNavigation").toString() != key) {
            w->setProperty("selvaneNavigation", key);
            w->setProperty("url", url);
        }
        applyCommon(m, w);
    });
}

}  // namespace selvane::ui
