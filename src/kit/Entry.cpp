#include "kit/Entry.h"

#include <iostream>

#include "kit/SingleInstance.h"

namespace selvane {

int runEntry(const StartUp& steps) {
    const InstanceLock lock = InstanceLock::acquire(instanceLockFile(steps.programFolder));
    if (lock.end() == InstanceLock::End::HeldElsewhere) return 0;
    if (lock.end() == InstanceLock::End::Failed) {
        // Running beside an instance that holds the folder would mix both programs' work files.
        (steps.errors ? *steps.errors : std::cerr) << "selvane: " << lock.failure() << "\n";
        return 1;
    }
    if (steps.initialise) steps.initialise();
    if (steps.pumpEvents) steps.pumpEvents();
    if (steps.showFirstWindow) steps.showFirstWindow();
    return steps.runEventLoop ? steps.runEventLoop() : 0;
}

}  // namespace selvane
