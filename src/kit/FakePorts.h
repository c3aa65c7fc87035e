#pragma once

#include <deque>
#include <string>
#include <vector>

#include <functional>

#include "kit/Ports.h"
#include "kit/Window.h"

namespace selvane {

// In-memory ports: they record what was asked of them. Used by tests and by the CLI.
struct ShownMessage {
    std::string title;
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
    // The state the user saw the box in: every control of the watched window enabled, and
    // the normal pointer.
    bool windowEnabled = true;
    bool pointerNormal = true;
};

class FakePointer;

class FakeMessageBox : public MessageBoxPort {
public:
    MessageAnswer show(const std::string& title, const std::string& text, MessageIcon icon,
                       MessageButtons buttons) override;

    std::vector<ShownMessage> shown;
    std::deque<MessageAnswer> answers;
    Window* watchedWindow = nullptr;
    const FakePointer* pointer = nullptr;
};

class FakePointer : public PointerPort {
public:
    void setHourglass(bool on) override { history.push_back(on); hourglass = on; }
    bool hourglass = false;
    std::vector<bool> history;
};

class FakeEventPump : public EventPump {
public:
    void pumpEvents() override { ++calls; }
    long calls = 0;
};

class FakeShell : public ShellPort {
public:
    int open(const std::string& target) override { opened.push_back(target); return result; }
    std::vector<std::string> opened;
    int result = kShellOpened;
};

// Eight twips a character: near enough for the ticker's arithmetic without a font.
class FakeTextMeasure : public TextMeasurePort {
public:
    int textWidthTwips(const std::string& text) override { return static_cast<int>(text.size()) * 8 * 15; }
};

class FakeExit : public ExitPort {
public:
    void endProgram(int code) override { codes.push_back(code); }
    std::vector<int> codes;
};

// Records the windows shown; onShow runs while the window is up (the test reads it there,
// as the user would, before the command goes on and the window is gone).
class FakeModalWindow : public ModalWindowPort {
public:
    void showModal(Window& window) override {
        ++shownCount;
        if (onShow) onShow(window);
    }
    int shownCount = 0;
    std::function<void(Window&)> onShow;
};

class FakeMail : public MailPort {
public:
    bool compose(const MailMessage& message) override {
        sent.push_back(message);
        return works;
    }
    std::vector<MailMessage> sent;
    bool works = true;
};

class FakeConnectivity : public ConnectivityPort {
public:
    bool connected(std::uint32_t& f, std::string& n) override {
        ++queries;
        f = flags;
        n = name;
        return online;
    }
    bool online = true;
    std::uint32_t flags = 0x02;
    std::string name = "Test connection";
    int queries = 0;
};

struct FakePorts {
    FakeMessageBox messages;
    FakePointer pointer;
    FakeEventPump pump;
    FakeShell shell;
    FakeTextMeasure measure;
    FakeExit exit;
    FakeModalWindow modal;
    FakeMail mail;
    FakeConnectivity connectivity;
    FakePorts() { messages.pointer = &pointer; }
    FakePorts(const FakePorts&) = delete;
    FakePorts& operator=(const FakePorts&) = delete;
    // Without the connectivity fake: the machine's own query.
    Ports ports() { return Ports{&messages, &pointer, &pump, &shell, &measure, &exit, &modal, &mail, nullptr}; }
};

}  // namespace selvane
