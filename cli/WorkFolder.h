#pragma once

#include <chrono>
#include <filesystem>

#include "kit/SingleInstance.h"

namespace selvane::cli {

// A work folder the user named (--work DIR), ready for a command: made when missing, found
// writable, and held with the desktop program's instance lock, so that no other selvane-cli or
// selvane works in it meanwhile. While another process holds it, waits up to wait. Throws
// InputError: "cannot write to DIR: <reason>", "work folder DIR is in use", or why the lock
// could not be taken.
InstanceLock takeWorkFolder(const std::filesystem::path& folder, std::chrono::milliseconds wait);

}  // namespace selvane::cli
