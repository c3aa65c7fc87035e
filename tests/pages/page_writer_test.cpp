#include "pages/PageWriter.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace selvane {
namespace {

TEST(PageWriter, WritesWholePagesAndRefusesWhatItCannot) {
    test::TempDir dir;
    PageWriter w(dir.path());
    EXPECT_THROW(w.writePageLine("x"), std::runtime_error);  // no page open
    EXPECT_THROW(w.writePageHead("../outside.html", "FFFFFF"), std::runtime_error);
    w.writePageHead("realodds.html", "FFFFFF");
    w.writePageHead("realodds.html", "FFFFFF");  // starts the page afresh
    w.writePageLine("<table>");
    w.writePageFoot();
    EXPECT_EQ(test::readFile(dir.file("realodds.html")), test::kWhitePageHead + "<table>\r\n</body>\r\n</html>\r\n");

    w.writePageHead("results.html", "000000");
    w.writePageTail();  // pads the row with ten cells
    std::string want = test::kWhitePageHead + "</font></td>\r\n";
    want.replace(want.find("#FFFFFF"), 7, "#000000");
    for (int i = 0; i < 10; ++i) want += "<td width=\"8%\">&nbsp;</td>\r\n";
    EXPECT_EQ(test::readFile(dir.file("results.html")), want + "</tr>\r\n</table>\r\n</body>\r\n</html>\r\n");
    EXPECT_THROW(w.writePageFoot(), std::runtime_error);  // the tail closed the page
}

}  // namespace
}  // namespace selvane
