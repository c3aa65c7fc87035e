#include "kit/Entry.h"

#include <iostream>

#include "kit/InstanceBell.h"
#include "kit/SingleInstance.h"

namespace selvane {

int runEntry(const StartUp& steps) {
    const InstanceLock lock = InstanceLock::acquire(instanceLockFile(steps.programFolder));
    if (lock.end() == InstanceLock::End::HeldElsewhere) {
        ringInstanceBell(instanceBellFile(steps.programFolder), steps.bellWords);
        return 0;
    }
    if (lock.end() == InstanceLock::End::Failed) {
        // Running beside an instance that holds the folder would mix both programs' work files.
        (steps.errors ? *steps.errors : std::cerr) << "selvane: " << lock.failure() << "\n";
        return 1;
    }
    // Opened under the lock and closed before it is let go, so it never removes a later run's;
    // rings wait in it until the front end watches it.
    auto bell = InstanceBell::open(instanceBellFile(steps.programFolder));
    if (steps.initialise) steps.initialise();
    if (bell && steps.watchBell) steps.watchBell(*bell);
    if (steps.pumpEvents) steps.pumpEvents();
    if (steps.showFirstWindow) steps.showFirstWindow();
    return steps.runEventLoop ? steps.runEventLoop() : 0;
}

}  // namespace selvane
