#pragma once

#include <QByteArray>
#include <functional>
#include <string>

class QObject;
class QWidget;

namespace selvane {
class InstanceBell;
}

namespace selvane::ui {

// Watches the instance bell: each ring of a second start brings the window the punter has open
// (window(), or none) to the front, unminimised and active. The watch is the returned object's;
// delete it before the bell goes.
QObject* raiseOnRing(InstanceBell& bell, std::function<QWidget*()> window);
// The same, where a second start may ask for a window ("history", "review"; empty for none):
// window(wanted) opens it and returns the window to bring to the front.
QObject* answerRings(InstanceBell& bell, std::function<QWidget*(const std::string& wanted)> window);

// What a second start rings with: the window it asks for and the desktop's activation token.
std::string ringWords(const std::string& wanted, const std::string& activationToken);

// Brings a window to the front. A Wayland desktop lets a window take the focus with the
// activation token it handed the program it started: the second start's, brought by the ring.
void raiseWindow(QWidget* window, const QByteArray& activationToken);

}  // namespace selvane::ui
