#include "promo/WebLink.h"

#include "kit/Guarded.h"
#include "kit/ShellOpen.h"

namespace selvane {

void cmdWebMouseUp(int button, const std::string& makerSite, ShellPort* shell) {
    if (button != kLeftButton) return;
    guarded([&] {
        std::string target = makerSite;
        shellOpen(shell, target);
    });
}

}  // namespace selvane
