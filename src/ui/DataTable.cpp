#include "ui/DataTable.h"

#include <QDateEdit>
#include <QHeaderView>
#include <QTableWidget>

namespace selvane::ui {

QTableWidgetItem* readOnlyItem(const QString& text, bool number) {
    auto* i = new QTableWidgetItem(text);
    i->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (number) i->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return i;
}

QTableWidget* readOnlyTable(QWidget* parent, const char* name, const QStringList& headings) {
    auto* t = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setHorizontalHeaderLabels(headings);
    t->verticalHeader()->hide();
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 8);
    return t;
}

QDateEdit* dayEdit(QWidget* parent, const char* name) {
    auto* d = new QDateEdit(parent);
    d->setObjectName(QString::fromLatin1(name));
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    return d;
}

}  // namespace selvane::ui
