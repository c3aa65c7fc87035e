#include "app/ExitCleanUp.h"

#include "app/App.h"
#include "net/WorkFiles.h"

namespace selvane {

std::vector<std::string> exitCleanUp(const std::filesystem::path& programFolder) {
    std::vector<std::string> kept;
    for (const char* name : kExitWorkFiles) {
        try {
            const auto path = workFilePath(programFolder, name);
            if (!path || !fileExists(*path)) continue;
            if (!deleteFile(*path)) kept.emplace_back(name);
        } catch (...) {
            kept.emplace_back(name);
        }
    }
    return kept;
}

void exitProgram(App& app) {
    exitCleanUp(app.programFolder);
    if (app.ports.exit) app.ports.exit->endProgram(0);
}

}  // namespace selvane
