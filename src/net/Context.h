#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "kit/Guarded.h"
#include "kit/Ports.h"
#include "net/Fetcher.h"

namespace selvane {

// Where the three outside services are. Defaults are the compiled-in build settings.
struct Services {
    std::string formGuide;        // scheme, host and port; fixed paths are appended
    std::string resultsSiteRoot;  // ends in "/"
    std::string makerSite;        // ends in "/"

    static Services compiledIn();
};

// What every command needs besides the windows and tables it works on: the work folder, the
// platform, the services and the fetch limits.
struct Context {
    Context(std::filesystem::path folder, Ports p, Services s = Services::compiledIn())
        : programFolder(std::move(folder)), ports(p), services(std::move(s)) {}

    std::filesystem::path programFolder;
    Ports ports;
    Services services;
    FetchLimits limits;
    // The running command's memory of dead services (set by CommandScope); none outside a command.
    DeadServices* deadServices = nullptr;
    // What the last command's skipped steps failed with (set by CommandScope), for tests and
    // debugging; the window shows none of it.
    SkippedSteps skippedSteps;
    // The first work file since this state was made that could not be written whole ("cannot
    // write NAME: reason"). The window shows each command's own; a front end without one fails
    // its command on this.
    std::string firstWriteFailure;
    void noteWriteFailure(const std::string& failure) {
        if (firstWriteFailure.empty()) firstWriteFailure = failure;
    }

    // No window shows the page loader's captions and the work folder goes when the command ends
    // (the CLI's own temporary folder): a page whose markup no parser reads need not go through
    // the engine at all.
    bool markupUnseen = false;

    // A work file's full path; refused names (see workFilePath) give an empty text, which
    // every file procedure treats as a failure.
    std::string workPath(std::string_view name) const;

    // The connectivity port when one is set, else the machine's own query.
    bool connected(std::uint32_t& flags, std::string& name) const;
};

// One command's fetches share one memory of dead services, so a stalled service costs the
// command one limit; its skipped steps go to ctx.skippedSteps, cleared as it starts. Made at a command's start; a command run from inside another (a box entry
// selected by code) keeps the outer command's memory.
class CommandScope {
public:
    explicit CommandScope(Context& ctx)
        : ctx_(ctx), outermost_(ctx.deadServices == nullptr), skipped_((clearIf(ctx, outermost_), ctx.skippedSteps)) {
        if (outermost_) ctx_.deadServices = &dead_;
    }
    ~CommandScope() {
        if (outermost_) ctx_.deadServices = nullptr;
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    static void clearIf(Context& ctx, bool outermost) {
        if (outermost) ctx.skippedSteps.clear();
    }
    Context& ctx_;
    DeadServices dead_;
    bool outermost_;
    SkippedStepScope skipped_;
};

}  // namespace selvane
