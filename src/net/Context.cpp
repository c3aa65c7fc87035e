#include "net/Context.h"

#include "net/Connectivity.h"
#include "net/WorkFiles.h"
#include "selvane/Config.h"

namespace selvane {

Services Services::compiledIn() {
    return Services{config::kFormGuideUrl, config::kResultsSiteUrl, config::kMakerSiteUrl};
}

std::string Context::workPath(std::string_view name) const {
    return workFilePath(programFolder, name).value_or(std::string());
}

bool Context::connected(std::uint32_t& flags, std::string& name) const {
    if (ports.connectivity) return ports.connectivity->connected(flags, name);
    return checkInternetConnection(flags, name, services.formGuide);
}

}  // namespace selvane
