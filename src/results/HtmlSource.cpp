#include "results/HtmlSource.h"

#include <string>

#include "pages/PageWriter.h"

namespace selvane::frmResults {

void createHTMLSource(const std::filesystem::path& programFolder, std::string_view framedPage) {
    PageWriter page(programFolder);
    page.openPage(kResultsWrapperPage);
    for (const char* line : {"<html><head><title></title>", R"(<style type="Text/css">)", "<!--",
                             ".style1 {font-size: 36px; color: #FFFFFF;}", "-->", "</style>", "</head>",
                             R"(<body bgcolor="#000000" scroll="no" leftMargin="5" topMargin="8" bottommargin="0" marginheight="0" marginwidth="0">)"})
        page.writePageLine(line);
    page.writePageLine(R"(<iframe src=")" + std::string(framedPage) + R"(")");
    for (const char* line : {R"(Scrolling="no" base Target="_blank")", R"(Align="left" width="700" Height ="300")",
                             R"(leftMargin="5" topMargin="8")", R"(marginheight="0" marginwidth="0")",
                             R"(frameborder="0">)", "</iframe>", "</body></html>"})
        page.writePageLine(line);
    page.closePage();
}

}  // namespace selvane::frmResults
