#pragma once

#include <QString>
#include <QStringList>

class QDateEdit;
class QTableWidget;
class QTableWidgetItem;
class QWidget;

namespace selvane::ui {

// A cell the punter can select but not edit; a number is aligned right.
QTableWidgetItem* readOnlyItem(const QString& text, bool number = false);

// A table of whole rows, without row numbers, that the punter reads but does not edit.
QTableWidget* readOnlyTable(QWidget* parent, const char* name, const QStringList& headings);

// A day as dd/mm/yyyy, the form the main window's date box uses, with a calendar to pick from.
QDateEdit* dayEdit(QWidget* parent, const char* name);

}  // namespace selvane::ui
