#include "app/App.h"

#include "net/WorkFiles.h"
#include "selvane/Config.h"

namespace selvane {

Services Services::compiledIn() {
    return Services{config::kFormGuideUrl, config::kResultsSiteUrl, config::kMakerSiteUrl};
}

std::string App::workPath(std::string_view name) const {
    return workFilePath(programFolder, name).value_or(std::string());
}

}  // namespace selvane
