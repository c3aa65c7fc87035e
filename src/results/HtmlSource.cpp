#include "results/HtmlSource.h"

#include <cstdio>
#include <stdexcept>

#include "net/WorkFiles.h"

namespace selvane {

std::string htmlSource(std::string_view framedPage) {
    const std::string lines[] = {
        "<html><head><title></title>",
        R"(<style type="Text/css">)",
        "<!--",
        ".style1 {font-size: 36px; color: #FFFFFF;}",
        "-->",
        "</style>",
        "</head>",
        R"(<body bgcolor="#000000" scroll="no" leftMargin="5" topMargin="8" bottommargin="0" marginheight="0" marginwidth="0">)",
        R"(<iframe src=")" + std::string(framedPage) + R"(")",
        R"(Scrolling="no" base Target="_blank")",
        R"(Align="left" width="700" Height ="300")",
        R"(leftMargin="5" topMargin="8")",
        R"(marginheight="0" marginwidth="0")",
        R"(frameborder="0">)",
        "</iframe>",
        "</body></html>",
    };
    std::string page;
    for (const std::string& line : lines) page += line + "\r\n";
    return page;
}

namespace frmResults {
void createHTMLSource(const std::filesystem::path& programFolder, std::string_view framedPage) {
    const std::string path = (programFolder / kResultsWrapperPage).string();
    if (!deleteFile(path)) throw std::runtime_error("cannot delete " + path);
    const std::string page = htmlSource(framedPage);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot open " + path);
    const bool written = std::fwrite(page.data(), 1, page.size(), f) == page.size();
    if (std::fclose(f) != 0 || !written) throw std::runtime_error("cannot write " + path);
}
}  // namespace frmResults

}  // namespace selvane
