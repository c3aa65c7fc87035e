#include "ui/RaiseOnRing.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <string>

#include "kit/InstanceBell.h"

namespace selvane::ui {

QObject* raiseOnRing(InstanceBell& bell, std::function<QWidget*()> window) {
    auto* watch = new QSocketNotifier(bell.fd(), QSocketNotifier::Read);
    QObject::connect(watch, &QSocketNotifier::activated, watch, [&bell, window = std::move(window)] {
        for (const std::string& token : bell.answer()) raiseWindow(window(), QByteArray::fromStdString(token));
    });
    return watch;
}

void raiseWindow(QWidget* window, const QByteArray& activationToken) {
    if (!window || !window->isVisible()) return;
    // Qt's Wayland plug-in (newer ones; older ones ignore it) activates with it, once.
    if (!activationToken.isEmpty() && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        qputenv("XDG_ACTIVATION_TOKEN", activationToken);
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
}

}  // namespace selvane::ui
