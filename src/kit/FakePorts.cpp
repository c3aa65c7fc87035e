#include "kit/FakePorts.h"

namespace selvane {

MessageAnswer FakeMessageBox::show(const std::string& title, const std::string& text, MessageIcon icon,
                                   MessageButtons buttons) {
    bool enabled = true;
    if (watchedWindow) {
        for (Control* c : watchedWindow->controls()) enabled = enabled && c->enabled();
    }
    shown.push_back({title, text, icon, buttons, enabled, !pointer || !pointer->hourglass});
    if (answers.empty()) return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    MessageAnswer a = answers.front();
    answers.pop_front();
    return a;
}

}  // namespace selvane
