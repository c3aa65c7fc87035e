#include "WorkFolder.h"

#include "Cli.h"
#include "net/WorkFiles.h"

namespace selvane::cli {

InstanceLock takeWorkFolder(const std::filesystem::path& folder, std::chrono::milliseconds wait) {
    // An empty name would put the work files wherever the program was started.
    if (folder.empty()) throw UsageError("--work takes a folder");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    // Before any fetch: a folder that takes no file would otherwise turn into "page could not
    // be fetched" or an empty date.
    if (const std::string failure = checkWritableFolder(folder); !failure.empty()) throw InputError(failure);
    InstanceLock lock = InstanceLock::acquireBy(instanceLockFile(folder), std::chrono::steady_clock::now() + wait);
    switch (lock.end()) {
    case InstanceLock::End::Taken:
        return lock;
    case InstanceLock::End::HeldElsewhere:
        throw InputError("work folder " + folder.string() + " is in use");
    case InstanceLock::End::Failed:
        break;
    }
    throw InputError(lock.failure());
}

}  // namespace selvane::cli
