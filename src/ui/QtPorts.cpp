#include "ui/QtPorts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "promo/TellAFriend.h"
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

namespace {

bool runXdgEmail(const MailMessage& message, int handOverMs) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty()) return false;
    QStringList arguments;
    for (const std::string& a : xdgEmailArguments(message)) arguments << fromBytes(a);
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted(handOverMs)) {
        delete process;
        return false;
    }
    if (process->waitForFinished(handOverMs)) {
        const bool ok = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
        delete process;
        return ok;
    }
    // The composer is up: destroying its QProcess would kill it, so the object goes when the
    // composer ends, and is left behind if the program ends first.
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    return true;
}

}  // namespace

bool QtMail::compose(const MailMessage& message) {
    if (runXdgEmail(message, handOverMs)) return true;
    return QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(mailtoAddress(message))));
}

}  // namespace selvane::ui
