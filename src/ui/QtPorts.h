#pragma once

#include <QPointer>
#include <QWidget>

#include "kit/Ports.h"
#include "ui/QtModalWindow.h"

namespace selvane::ui {

class QtMessageBox : public MessageBoxPort {
public:
    MessageAnswer show(const std::string& title, const std::string& text, MessageIcon icon,
                       MessageButtons buttons) override;
    QPointer<QWidget> parent;
};

// The hourglass is an application-wide override cursor; repeated calls do not stack.
class QtPointer : public PointerPort {
public:
    void setHourglass(bool on) override;

private:
    bool active_ = false;
};

class QtEventPump : public EventPump {
public:
    void pumpEvents() override;
};

// The desktop's URL opener. Result codes (Ports.h):
//   42 (kShellOpened)        the opener accepted the target;
//    2 (kShellNotFound)      empty target, or a local path that does not exist;
//   31 (kShellNoAssociation) the desktop has no program for it, or refused it.
class QtShell : public ShellPort {
public:
    int open(const std::string& target) override;
};

// Widths in twips of a text in a widget's font (the ticker label's).
class QtTextMeasure : public TextMeasurePort {
public:
    int textWidthTwips(const std::string& text) override;
    QPointer<QWidget> fontOf;
};

class QtExit : public ExitPort {
public:
    void endProgram(int code) override;
};

// The desktop's mail composer: xdg-email with the subject and body; when that cannot be started
// or refuses the message, a mailto: address through the desktop's URL opener.
class QtMail : public MailPort {
public:
    bool compose(const MailMessage& message) override;
    // How long xdg-email may take to hand the message on; still running after that, it is the
    // composer itself and counts as started.
    int handOverMs = 2000;
};

struct QtPorts {
    QtMessageBox messages;
    QtPointer pointer;
    QtEventPump pump;
    QtShell shell;
    QtTextMeasure measure;
    QtExit exit;
    QtModalWindow modal;
    QtMail mail;

    Ports ports() { return Ports{&messages, &pointer, &pump, &shell, &measure, &exit, &modal, &mail}; }
};

}  // namespace selvane::ui
