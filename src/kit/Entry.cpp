#include "kit/Entry.h"

#include "kit/SingleInstance.h"

namespace selvane {

int runEntry(const StartUp& steps) {
    const auto lock = InstanceLock::acquire(instanceLockFile(steps.programFolder));
    if (!lock) return 0;
    if (steps.initialise) steps.initialise();
    if (steps.pumpEvents) steps.pumpEvents();
    if (steps.showFirstWindow) steps.showFirstWindow();
    return steps.runEventLoop ? steps.runEventLoop() : 0;
}

}  // namespace selvane
