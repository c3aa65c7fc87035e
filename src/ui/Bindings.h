#pragma once

#include <QChar>

#include "kit/Controls.h"
#include "ui/Twips.h"

class QColor;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;
class QTreeWidget;
class QWidget;

namespace selvane::ui {

// Each bind() shows the model in the widget now and after every change of the model, and
// hands the user's actions to the model (selection, ticks, text) and to its handlers. Applying
// the model blocks the widget's signals, so nothing echoes back. Handlers run from the event
// loop, never inside the widget's own signal, and an exception from one ends only that command.
void bind(Label& model, QLabel* widget);
void bind(Frame& model, QGroupBox* widget);
// Clicks go to onClick; releases of the left, right and middle buttons to onMouseUp. With a
// letter, the caption shows that letter as its Alt access key.
void bind(Button& model, QPushButton* widget, QChar accessKey = {});
void bind(TextBox& model, QLineEdit* widget);
void bind(PictureBox& model, QWidget* widget, const Twips& twips);
void bind(ComboBox& model, QComboBox* widget);
// A row's fixed text colour is made lighter or darker where it would not read on the list's
// background; check boxes stay visible in a dark theme.
void bind(ReportList& model, QTreeWidget* widget, const Twips& twips);
// The model's row 0 is the grid's fixed header row: it shows as the table's header, so that each
// cell has its column's name. A cell on a fixed background colour takes black or white text,
// whichever reads.
void bind(Grid& model, QTableWidget* widget, const Twips& twips);
void bind(StatusBar& model, QLabel* panel1, QLabel* panel2);
void bind(ProgressBar& model, QProgressBar* widget);
// The same, with the model's changes shown at most once per frame (~16 ms), for a bar stepped
// far more often than it could repaint.
void bindOncePerFrame(ProgressBar& model, QProgressBar* widget);
void bind(Timer& model, QTimer* timer);
// A QWebEngineView, navigated through its url property: the start-up code that shares this
// file does not link the web engine.
void bind(WebView& model, QWidget* webView);
// The ticker: a label that sizes itself to its caption and sits at its model's left position.
void bindTicker(Label& model, QLabel* widget, const Twips& twips);

// BGR as the models keep it; kDefaultColour gives an invalid colour (the widget's own).
QColor toQColor(Colour bgr);

}  // namespace selvane::ui
