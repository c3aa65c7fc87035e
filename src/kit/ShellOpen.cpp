#include "kit/ShellOpen.h"

namespace selvane {

void shellOpen(ShellPort* shell, std::string& target) {
    const int code = shell ? shell->open(target) : kShellNoAssociation;
    target = std::to_string(code);
}

}  // namespace selvane
