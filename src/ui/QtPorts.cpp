#include "ui/QtPorts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMessageBox>
#include <QUrl>

#include "ui/Text.h"
#include "ui/Twips.h"

namespace selvane::ui {

MessageAnswer QtMessageBox::show(const std::string& title, const std::string& text, MessageIcon icon,
                                 MessageButtons buttons) {
    QMessageBox box(parent);
    box.setWindowTitle(fromBytes(title));
    box.setText(fromBytes(text));
    switch (icon) {
        case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MessageIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
        case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
        case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case MessageButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    // A long command may have the hourglass up; the user needs the arrow to answer.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    QApplication::restoreOverrideCursor();
    switch (answer) {
        case QMessageBox::Cancel: return MessageAnswer::Cancel;
        case QMessageBox::Yes: return MessageAnswer::Yes;
        case QMessageBox::No: return MessageAnswer::No;
        default: return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
}

void QtPointer::setHourglass(bool on) {
    if (on == active_) return;
    active_ = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtEventPump::pumpEvents() { QCoreApplication::processEvents(); }

int QtShell::open(const std::string& target) {
    const QString text = fromBytes(target).trimmed();
    if (text.isEmpty()) return kShellNotFound;
    const QUrl url = QUrl::fromUserInput(text, QString(), QUrl::AssumeLocalFile);
    if (!url.isValid()) return kShellNotFound;
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) return kShellNotFound;
    return QDesktopServices::openUrl(url) ? kShellOpened : kShellNoAssociation;
}

int QtTextMeasure::textWidthTwips(const std::string& text) {
    const QFont font = fontOf ? fontOf->font() : QApplication::font();
    const QFontMetrics metrics(font);
    return Twips::forScreenOf(fontOf).twipsX(metrics.horizontalAdvance(fromBytes(text)));
}

void QtExit::endProgram(int code) {
    QApplication::closeAllWindows();
    QCoreApplication::exit(code);
}

}  // namespace selvane::ui
