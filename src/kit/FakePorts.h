#pragma once

#include <deque>
#include <string>
#include <vector>

#include "kit/Ports.h"

namespace selvane {

// In-memory ports: they record what was asked of them. Used by tests and by the CLI.
struct ShownMessage {
    std::string title;
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
};

class FakeMessageBox : public MessageBoxPort {
public:
    MessageAnswer show(const std::string& title, const std::string& text, MessageIcon icon,
                       MessageButtons buttons) override;
    void setNextAnswer(MessageAnswer a) { answers.push_back(a); }

    std::vector<ShownMessage> shown;
    std::deque<MessageAnswer> answers;
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

struct FakePorts {
    FakeMessageBox messages;
    FakePointer pointer;
    FakeEventPump pump;
    FakeShell shell;
    FakeTextMeasure measure;
    FakeExit exit;

    Ports ports() { return Ports{&messages, &pointer, &pump, &shell, &measure, &exit}; }
};

}  // namespace selvane
