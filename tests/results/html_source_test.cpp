// The wrapper page that frames the placeholder or the copied result tables.
#include <gtest/gtest.h>

#include "results/HtmlSource.h"
#include "support/TestSupport.h"

namespace selvane {
namespace {

std::string wrapper(const std::string& framed) {
    return "<html><head><title></title>\r\n"
           "<style type=\"Text/css\">\r\n"
           "<!--\r\n"
           ".style1 {font-size: 36px; color: #FFFFFF;}\r\n"
           "-->\r\n"
           "</style>\r\n"
           "</head>\r\n"
           "<body bgcolor=\"#000000\" scroll=\"no\" leftMargin=\"5\" topMargin=\"8\" bottommargin=\"0\" "
           "marginheight=\"0\" marginwidth=\"0\">\r\n"
           "<iframe src=\"" +
           framed +
           "\"\r\n"
           "Scrolling=\"no\" base Target=\"_blank\"\r\n"
           "Align=\"left\" width=\"700\" Height =\"300\"\r\n"
           "leftMargin=\"5\" topMargin=\"8\"\r\n"
           "marginheight=\"0\" marginwidth=\"0\"\r\n"
           "frameborder=\"0\">\r\n"
           "</iframe>\r\n"
           "</body></html>\r\n";
}

TEST(HtmlSource, WritesTheSixteenLinesOverAnEarlierWrapper) {
    test::TempDir dir;
    test::writeFile(dir.file("iFrame_results.html"), std::string(5000, 'x'));
    for (const std::string framed : {"blank_results.html", "results.html"}) {
        SCOPED_TRACE(framed);
        frmResults::createHTMLSource(dir.path(), framed);
        EXPECT_EQ(test::readFile(dir.file("iFrame_results.html")), wrapper(framed));
    }
}

}  // namespace
}  // namespace selvane
