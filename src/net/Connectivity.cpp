#include "net/Connectivity.h"

#include <ifaddrs.h>
#include <net/if.h>

namespace selvane {

bool isLoopbackUrl(const std::string& url) {
    std::size_t begin = url.find("://");
    begin = begin == std::string::npos ? 0 : begin + 3;
    std::string host;
    if (begin < url.size() && url[begin] == '[') {
        const std::size_t close = url.find(']', begin);
        host = url.substr(begin + 1, close == std::string::npos ? std::string::npos : close - begin - 1);
    } else {
        const std::size_t end = url.find_first_of(":/?#", begin);
        host = url.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    }
    const bool dottedDigits = !host.empty() && host.find_first_not_of("0123456789.") == std::string::npos;
    return host == "localhost" || host == "::1" || (dottedDigits && host.rfind("127.", 0) == 0);
}

bool checkInternetConnection(std::uint32_t& flags, std::string& name, const std::string& formGuideUrl) {
    flags = 0;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) == 0) {
        for (ifaddrs* a = list; a; a = a->ifa_next) {
            const unsigned f = a->ifa_flags;
            if ((f & IFF_UP) && (f & IFF_RUNNING) && !(f & IFF_LOOPBACK)) {
                flags |= kConnectionLan;
                name = a->ifa_name ? a->ifa_name : "";
                break;
            }
        }
        freeifaddrs(list);
    }
    if (!(flags & kConnectionLan) && isLoopbackUrl(formGuideUrl)) {
        flags |= kConnectionLoopback;
        name = "lo";
    }
    return flags != 0;
}

}  // namespace selvane
