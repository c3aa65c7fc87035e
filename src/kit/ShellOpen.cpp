#include "kit/ShellOpen.h"

#include "app/App.h"

namespace selvane {

void shellOpen(ShellPort* shell, std::string& target) {
    const int code = shell ? shell->open(target) : kShellNoAssociation;
    target = std::to_string(code);
}

void shellOpen(App& app, std::string& target) { shellOpen(app.ports.shell, target); }

}  // namespace selvane
