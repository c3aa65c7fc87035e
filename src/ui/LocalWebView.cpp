#include "ui/LocalWebView.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace selvane::ui {

namespace {

class LocalOnly : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QString scheme = info.requestUrl().scheme();
        const bool local = scheme == u"file" || scheme == u"data" || scheme == u"about" || scheme == u"qrc";
        if (!local) info.block(true);
    }
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
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
        s->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
        s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    }
    return profile;
}

}  // namespace

QWebEngineView* makeLocalWebView(QWidget* parent) {
    auto* view = new QWebEngineView(parent);
    view->setPage(new QWebEnginePage(localProfile(), view));
    view->setContextMenuPolicy(Qt::NoContextMenu);
    return view;
}

}  // namespace selvane::ui
