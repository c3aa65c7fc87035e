#pragma once

#include <QStringList>

class QUrl;
class QWebEngineView;
class QWidget;

namespace selvane {
class WebView;
}  // namespace selvane

namespace selvane::ui {

// The folders whose files the program's web views may show (the program folder and the
// executable's). Until they are set no file loads at all.
void setLocalWebFolders(const QStringList& folders);

// What every web view of the program may load: files under those folders, data: and
// about:blank; nothing from the network, no other file.
bool localWebAllows(const QUrl& url);

// A web view for the program's own pages, every one set up alike: no scripts, no plug-ins, no
// context menu, only what localWebAllows lets through (pages copied from outside sites can
// reach nothing). All views share one off-the-record profile. A click on a link, in the page or
// a frame of it, and whatever its target, never moves the view: the address goes to the
// model's onLinkClick, on a later turn of the event loop, while the model is enabled.
QWebEngineView* makeLocalWebView(QWidget* parent, WebView& model);

}  // namespace selvane::ui
