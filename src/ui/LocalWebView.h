#pragma once

class QWebEngineView;
class QWidget;

namespace selvane::ui {

// A web view for the program's own pages: no scripts, and nothing fetched from the network
// (only file:, data:, about: and qrc: addresses load). Shares one off-the-record profile.
QWebEngineView* makeLocalWebView(QWidget* parent);

}  // namespace selvane::ui
