#include "ui/LocalWebView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include <functional>
#include <utility>

#include "kit/Controls.h"

namespace selvane::ui {

namespace {

QStringList& allowedFolders() {
    static QStringList folders;
    return folders;
}

// The path as the file system resolves it, so a link or ".." cannot lead out of a folder.
QString resolved(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// Sub-resources (pictures, style sheets, frames) of every page.
class LocalOnly : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (!localWebAllows(info.requestUrl())) info.block(true);
    }
};

using LinkHandler = std::function<void(const QUrl&)>;

// A link that asks for a window of its own (target="_blank", a middle click) gets this page for
// the one request: its first navigation is the link, handed on and never loaded.
class LinkCatcher : public QWebEnginePage {
public:
    LinkCatcher(QWebEngineProfile* profile, QObject* parent, LinkHandler onLink)
        : QWebEnginePage(profile, parent), onLink_(std::move(onLink)) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        if (!caught_ && url != QUrl(QStringLiteral("about:blank"))) {
            caught_ = true;
            if (onLink_) onLink_(url);
            deleteLater();
        }
        return false;
    }

private:
    LinkHandler onLink_;
    bool caught_ = false;
};

// Navigations, the frames of a page included, whatever the engine routes past the interceptor.
// A clicked link is handed on instead of followed.
class LocalPage : public QWebEnginePage {
public:
    LocalPage(QWebEngineProfile* profile, QObject* parent, LinkHandler onLink)
        : QWebEnginePage(profile, parent), onLink_(std::move(onLink)) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool) override {
        if (type != NavigationTypeLinkClicked) return localWebAllows(url);
        if (onLink_) onLink_(url);
        return false;
    }
    QWebEnginePage* createWindow(WebWindowType) override { return new LinkCatcher(profile(), this, onLink_); }

private:
    LinkHandler onLink_;
};

QWebEngineProfile* localProfile() {
    // Parented to the application so it outlives every page that uses it.
    static QPointer<QWebEngineProfile> profile;
    if (!profile) {
        profile = new QWebEngineProfile(QCoreApplication::instance());
        profile->setUrlRequestInterceptor(new LocalOnly(profile));
        profile->setHttpCacheType(QWebEngineProfile::NoCache);
        profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        QWebEngineSettings* s = profile->settings();
        s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
        s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
        s->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
        s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
        s->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
        // The frame pages ask for no scroll bars.
        s->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    }
    return profile;
}

}  // namespace

void setLocalWebFolders(const QStringList& folders) {
    QStringList& allowed = allowedFolders();
    allowed.clear();
    for (const QString& folder : folders)
        if (!folder.isEmpty()) allowed.append(resolved(folder));
}

bool localWebAllows(const QUrl& url) {
    const QString scheme = url.scheme();
    if (scheme == u"data") return true;
    if (scheme == u"about") return url.path() == u"blank";
    if (scheme != u"file" || !url.host().isEmpty()) return false;
    const QString path = resolved(url.toLocalFile());
    for (const QString& folder : allowedFolders())
        if (path.startsWith(folder + u'/')) return true;
    return false;
}

QWebEngineView* makeLocalWebView(QWidget* parent, WebView& model) {
    auto* view = new QWebEngineView(parent);
    QPointer<QWebEngineView> guard(view);
    const auto onLink = [&model, guard](const QUrl& url) {
        if (!guard) return;
        // Out of the engine's call: the opener may take its time.
        QMetaObject::invokeMethod(
            guard.data(),
            [&model, address = url.toString(QUrl::FullyEncoded).toStdString()] {
                if (model.enabled() && model.onLinkClick) model.onLinkClick(address);
            },
            Qt::QueuedConnection);
    };
    view->setPage(new LocalPage(localProfile(), view, onLink));
    view->setContextMenuPolicy(Qt::NoContextMenu);
    return view;
}

}  // namespace selvane::ui
