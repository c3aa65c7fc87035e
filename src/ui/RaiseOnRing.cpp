#include "ui/RaiseOnRing.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <string>
#include <string_view>

#include "kit/InstanceBell.h"

namespace selvane::ui {

namespace {

// A ring that asks for a window starts "window:NAME" and a line break; the rest is the token.
constexpr std::string_view kWindowWord = "window:";

}  // namespace

std::string ringWords(const std::string& wanted, const std::string& activationToken) {
    if (wanted.empty()) return activationToken;
    return std::string(kWindowWord) + wanted + "\n" + activationToken;
}

QObject* answerRings(InstanceBell& bell, std::function<QWidget*(const std::string& wanted)> window) {
    auto* watch = new QSocketNotifier(bell.fd(), QSocketNotifier::Read);
    QObject::connect(watch, &QSocketNotifier::activated, watch, [&bell, window = std::move(window)] {
        for (const std::string& words : bell.answer()) {
            std::string wanted, token = words;
            const std::size_t end = words.find('\n');
            if (words.rfind(kWindowWord, 0) == 0 && end != std::string::npos) {
                wanted = words.substr(kWindowWord.size(), end - kWindowWord.size());
                token = words.substr(end + 1);
            }
            raiseWindow(window(wanted), QByteArray::fromStdString(token));
        }
    });
    return watch;
}

QObject* raiseOnRing(InstanceBell& bell, std::function<QWidget*()> window) {
    return answerRings(bell, [window = std::move(window)](const std::string&) { return window(); });
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
