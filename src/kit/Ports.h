#pragma once

#include <cstdint>
#include <string>

namespace selvane {

enum class MessageIcon { None, Information, Exclamation, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// The platform as the core sees it. ui/ implements these with Qt, tests with the fakes.
class MessageBoxPort {
public:
    virtual ~MessageBoxPort() = default;
    virtual MessageAnswer show(const std::string& title, const std::string& text, MessageIcon icon,
                               MessageButtons buttons) = 0;
};

class PointerPort {
public:
    virtual ~PointerPort() = default;
    virtual void setHourglass(bool on) = 0;
};

// Lets pending window events run once; the only way the core yields while it waits.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void pumpEvents() = 0;
};

// Result codes of ShellPort::open, in the numbering desktop shells have long used: above 32
// is success.
inline constexpr int kShellOpened = 42;
inline constexpr int kShellNotFound = 2;         // empty target, or a local file that is not there
inline constexpr int kShellNoAssociation = 31;   // no program would take it

class ShellPort {
public:
    virtual ~ShellPort() = default;
    virtual int open(const std::string& target) = 0;
};

class TextMeasurePort {
public:
    virtual ~TextMeasurePort() = default;
    virtual int textWidthTwips(const std::string& text) = 0;
};

// Ends the program: the event loop stops and main() returns.
class ExitPort {
public:
    virtual ~ExitPort() = default;
    virtual void endProgram(int code) = 0;
};

class Window;

// Shows a secondary window over the main window and returns when the user has closed it.
class ModalWindowPort {
public:
    virtual ~ModalWindowPort() = default;
    virtual void showModal(Window& window) = 0;
};

struct MailMessage {
    std::string recipient;  // empty: the user fills it in
    std::string subject;
    std::string body;
};

// Hands a message to the desktop's mail composer; false when no composer could be started.
class MailPort {
public:
    virtual ~MailPort() = default;
    virtual bool compose(const MailMessage& message) = 0;
};

// The machine's connection state: true when online, with the state's flags and name.
class ConnectivityPort {
public:
    virtual ~ConnectivityPort() = default;
    virtual bool connected(std::uint32_t& flags, std::string& name) = 0;
};

struct Ports {
    MessageBoxPort* messages = nullptr;
    PointerPort* pointer = nullptr;
    EventPump* pump = nullptr;
    ShellPort* shell = nullptr;
    TextMeasurePort* measure = nullptr;
    ExitPort* exit = nullptr;
    ModalWindowPort* modal = nullptr;
    MailPort* mail = nullptr;
    // Null: the machine's own connectivity query.
    ConnectivityPort* connectivity = nullptr;
};

}  // namespace selvane
