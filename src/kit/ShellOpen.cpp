#include "kit/ShellOpen.h"

#include "app/App.h"

namespace selvane {

void shellOpen(App& app, std::string& target) {
    const int code = app.ports.shell ? app.ports.shell->open(target) : kShellNoAssociation;
    target = std::to_string(code);
}

}  // namespace selvane
